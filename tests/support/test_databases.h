// Fresh database files for tests: every test gets its own temporary directory
// holding copies of a pair of files created once per test process by
// scripts/create-databases.sh from schema/.
#pragma once

#include <filesystem>
#include <string>

namespace tolvane::test {

// Which of the two files a fresh directory receives.
enum class Files { Both, CatchOnly, MemoOnly, None };

class TempDatabases {
public:
    explicit TempDatabases(Files files = Files::Both);
    ~TempDatabases();
    TempDatabases(const TempDatabases&) = delete;
    TempDatabases& operator=(const TempDatabases&) = delete;

    const std::filesystem::path& dir() const { return dir_; }
    std::string catchFile() const;   // dir/SORVENDA.FDB
    std::string memoFile() const;    // dir/KELDMARK.FDB

    // Copies one of the template files into this directory (if absent).
    void addCatchFile();
    void addMemoFile();

private:
    std::filesystem::path dir_;
};

// Makes `dir` the process's current directory for the scope's lifetime.
class ScopedCurrentDir {
public:
    explicit ScopedCurrentDir(const std::filesystem::path& dir);
    ~ScopedCurrentDir();
    ScopedCurrentDir(const ScopedCurrentDir&) = delete;
    ScopedCurrentDir& operator=(const ScopedCurrentDir&) = delete;

private:
    std::filesystem::path previous_;
};

// Another process (isql-fb) attached to `file` for the holder's lifetime:
// the engine's lock on the file refuses this process while it lasts.
class FileHolder {
public:
    explicit FileHolder(const std::string& file);
    ~FileHolder();
    FileHolder(const FileHolder&) = delete;
    FileHolder& operator=(const FileHolder&) = delete;

private:
    int pid_ = -1;
    int input_ = -1;
};

// A new empty directory under the system's temporary directory.
std::filesystem::path makeTempDir(const std::string& prefix = "tolvane-test-");

// Points FIREBIRD_LOCK at a directory of this user's own unless it is set,
// then settles the environment as the program does: first thing in a test
// main, before any thread starts.
void prepareFirebirdEnvironment();

// The checkout's top directory (scripts/, schema/).
std::filesystem::path sourceDir();

}  // namespace tolvane::test
