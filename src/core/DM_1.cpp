#include "core/DM_1.h"

#include <cerrno>
#include <string>
#include <system_error>

#include <unistd.h>

#include "core/file_notices.h"

TDM1* DM1 = nullptr;

namespace {

// The process's current directory, as the system reports it.
std::string currentDirectory() {
    std::string buf(256, '\0');
    for (;;) {
        if (getcwd(buf.data(), buf.size())) return std::string(buf.c_str());
        if (errno != ERANGE) throw std::system_error(errno, std::generic_category(), "getcwd");
        buf.resize(buf.size() * 2);
    }
}

// Every failure to attach a file reads as a Japanese line naming the file
// and what is wrong with it, the engine's own text below.
decltype(tolvane::db::Connection::attachErrorText) headedBy(DatabaseFile file) {
    return [file](const tolvane::db::Connection& c, const tolvane::db::Error& e) {
        return DatabaseFileHeadline(file, c.databaseName, e) + "\n" + e.what();
    };
}

}  // namespace

TDM1::TDM1() : IBTr1(IBDB1), IBTr2(IBDB2) {
    IBDB1.beforeConnect = [this](tolvane::db::Connection& c) { IBDB1BeforeConnect(c); };
    IBDB2.beforeConnect = [this](tolvane::db::Connection& c) { IBDB2BeforeConnect(c); };
    IBDB1.attachErrorText = headedBy(DatabaseFile::Memo);
    IBDB2.attachErrorText = headedBy(DatabaseFile::Catch);
}

// Plain concatenation: a current directory of "/" gives "//KELDMARK.FDB".
void TDM1::IBDB1BeforeConnect(tolvane::db::Connection& sender) {
    sender.databaseName = currentDirectory() + "/" + kMemoFileName;
}

void TDM1::IBDB2BeforeConnect(tolvane::db::Connection& sender) {
    sender.databaseName = currentDirectory() + "/" + kCatchFileName;
}

void createDataModule() {
    if (!DM1) DM1 = new TDM1();
}

void freeDataModule() {
    delete DM1;
    DM1 = nullptr;
}
