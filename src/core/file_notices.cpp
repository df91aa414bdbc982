#include "core/file_notices.h"

#include <filesystem>
#include <system_error>

#include "core/DM_1.h"
#include "db/fb.h"

namespace {

enum class Trouble { Missing, NoEngine, NotWritable, InUse, Other };

Trouble troubleOf(const std::string& path, const std::exception& e) {
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) return Trouble::Missing;
    if (!tolvane::db::missingEngine().empty()) return Trouble::NoEngine;
    const auto* dbError = dynamic_cast<const tolvane::db::Error*>(&e);
    if (dbError == nullptr) return Trouble::Other;
    if (dbError->fileInUse()) return Trouble::InUse;
    if (dbError->sqlcode() == -551) return Trouble::NotWritable;
    return Trouble::Other;
}

std::string fileName(DatabaseFile file) { return file == DatabaseFile::Memo ? kMemoFileName : kCatchFileName; }

std::string headline(DatabaseFile file, Trouble trouble) {
    const std::string what =
        (file == DatabaseFile::Memo ? "備忘録のデータベース " : "釣果記録のデータベース ") + fileName(file);
    switch (trouble) {
    case Trouble::Missing: return what + " が見つかりません";
    case Trouble::NoEngine: return what + " を開けません：Firebird 3 のデータベースエンジンが見つかりません";
    case Trouble::NotWritable: return what + " に書き込みできません";
    case Trouble::InUse: return what + " は別に起動しているプログラムが使用中です";
    case Trouble::Other: break;
    }
    return what + " を開けません";
}

}  // namespace

std::string DatabaseFileHeadline(DatabaseFile file, const std::string& path, const std::exception& e) {
    return headline(file, troubleOf(path, e));
}

std::string DatabaseFileNotice(DatabaseFile file, const std::string& path, const std::exception& e) {
    const std::string name = "/" + fileName(file);
    // The directory as joined: "//KELDMARK.FDB" (from the root) gives "/".
    std::string dir = path;
    if (dir.size() >= name.size() && dir.compare(dir.size() - name.size(), name.size(), name) == 0)
        dir.resize(dir.size() - name.size());
    if (dir.empty() && !path.empty()) dir = "/";
    const Trouble trouble = troubleOf(path, e);
    if (trouble == Trouble::NoEngine) return headline(file, trouble) + "\r探した場所：" + tolvane::db::missingEngine();
    return headline(file, trouble) + "\r" + (trouble == Trouble::Missing ? "探した場所：" : "場所：") + dir;
}
