#include "support/test_databases.h"

#include "db/fb.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <mutex>
#include <stdexcept>
#include <system_error>

#include <unistd.h>

namespace fs = std::filesystem;

namespace tolvane::test {

namespace {

fs::path templateDir() {
    static std::once_flag once;
    static fs::path dir;
    std::call_once(once, [] {
        prepareFirebirdEnvironment();
        const fs::path built(TOLVANE_TEST_TEMPLATE_DIR);
        if (fs::exists(built / "SORVENDA.FDB") && fs::exists(built / "KELDMARK.FDB")) {
            dir = built;
            return;
        }
        dir = makeTempDir("tolvane-template-");
        const std::string cmd = "bash '" + (sourceDir() / "scripts/create-databases.sh").string() +
                                "' '" + dir.string() + "' >/dev/null";
        if (std::system(cmd.c_str()) != 0)
            throw std::runtime_error("creating the template databases failed: " + cmd);
        // Removed when the test process ends.
        std::atexit([] {
            std::error_code ec;
            fs::remove_all(dir, ec);
        });
    });
    return dir;
}

void copyIn(const fs::path& dir, const char* name) {
    if (!fs::exists(dir / name))
        fs::copy_file(templateDir() / name, dir / name);
}

}  // namespace

fs::path sourceDir() { return fs::path(TOLVANE_SOURCE_DIR); }

void prepareFirebirdEnvironment() {
    static bool done = false;
    if (done) return;   // the environment changes only before the first thread
    done = true;
    if (std::getenv("FIREBIRD_LOCK") == nullptr) {
        const fs::path lock = fs::temp_directory_path() / ("tolvane-fblock-" + std::to_string(getuid()));
        fs::create_directories(lock);
        setenv("FIREBIRD_LOCK", lock.c_str(), 1);
    }
    // The isql-fb the tests start is Firebird 3's, as the program's engine.
    setenv("FIREBIRD_VERSION", "3.0", 1);
    db::settleEnvironment();
}

FileHolder::FileHolder(const std::string& file) {
    const fs::path ready = makeTempDir("tolvane-holder-") / "ready";
    int pipeFds[2];
    if (pipe(pipeFds) != 0) throw std::system_error(errno, std::generic_category(), "pipe");
    pid_ = fork();
    if (pid_ == 0) {
        dup2(pipeFds[0], 0);
        close(pipeFds[0]);
        close(pipeFds[1]);
        const int devnull = open("/dev/null", O_WRONLY);
        dup2(devnull, 1);
        execlp("isql-fb", "isql-fb", "-q", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(pipeFds[0]);
    input_ = pipeFds[1];
    // Attached, then it says so by a file, then waits for the end of its input.
    const std::string script = "CONNECT '" + file + "' USER 'kvo' PASSWORD '9517';\nSHELL touch '" +
                               ready.string() + "';\n";
    if (write(input_, script.data(), script.size()) != static_cast<ssize_t>(script.size()))
        throw std::runtime_error("isql-fb took no input");
    for (int i = 0; i < 300 && !fs::exists(ready); ++i) usleep(20000);
    if (!fs::exists(ready)) throw std::runtime_error("isql-fb did not attach " + file);
    fs::remove_all(ready.parent_path());
}

FileHolder::~FileHolder() {
    if (input_ >= 0) close(input_);
    if (pid_ > 0) waitpid(pid_, nullptr, 0);
}

fs::path makeTempDir(const std::string& prefix) {
    std::string pattern = (fs::temp_directory_path() / (prefix + "XXXXXX")).string();
    if (mkdtemp(pattern.data()) == nullptr)
        throw std::system_error(errno, std::generic_category(), "mkdtemp");
    return fs::path(pattern);
}

TempDatabases::TempDatabases(Files files) : dir_(makeTempDir()) {
    if (files == Files::Both || files == Files::CatchOnly) addCatchFile();
    if (files == Files::Both || files == Files::MemoOnly) addMemoFile();
}

TempDatabases::~TempDatabases() {
    std::error_code ec;
    fs::remove_all(dir_, ec);
}

std::string TempDatabases::catchFile() const { return (dir_ / "SORVENDA.FDB").string(); }
std::string TempDatabases::memoFile() const { return (dir_ / "KELDMARK.FDB").string(); }
void TempDatabases::addCatchFile() { copyIn(dir_, "SORVENDA.FDB"); }
void TempDatabases::addMemoFile() { copyIn(dir_, "KELDMARK.FDB"); }

ScopedCurrentDir::ScopedCurrentDir(const fs::path& dir) : previous_(fs::current_path()) {
    fs::current_path(dir);
}

ScopedCurrentDir::~ScopedCurrentDir() {
    std::error_code ec;
    fs::current_path(previous_, ec);
}

}  // namespace tolvane::test
