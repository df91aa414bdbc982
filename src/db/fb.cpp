// Errors, connections and transactions of the database layer.
#include "db/fb.h"

#include <cerrno>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>

#include <fcntl.h>
#include <link.h>
#include <langinfo.h>
#include <sys/stat.h>
#include <unistd.h>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

#include "db/fb_detail.h"

// Exported by every client library, declared by the later ones' headers only.
extern "C" void gds__prefix(char* path, const char* file);

namespace tolvane::db {

Error::Error(const std::string& message, long sqlcode, std::vector<long> codes)
    : std::runtime_error(message), sqlcode_(sqlcode), codes_(std::move(codes)) {}

bool Error::fileInUse() const {
    return std::find(codes_.begin(), codes_.end(), isc_already_opened) != codes_.end();
}

namespace detail {

namespace {

bool validUtf8(const std::string& s) {
    size_t i = 0;
    while (i < s.size()) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        int len = c < 0x80 ? 1 : (c & 0xE0) == 0xC0 ? 2 : (c & 0xF0) == 0xE0 ? 3 : (c & 0xF8) == 0xF0 ? 4 : 0;
        if (len == 0 || i + len > s.size()) return false;
        for (int k = 1; k < len; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
        i += len;
    }
    return true;
}

}  // namespace

std::string messageToUtf8(const std::string& raw) {
    if (validUtf8(raw)) return raw;
    try {
        return fromShiftJis(raw);
    } catch (const EncodingError&) {
    }
    std::string s;
    for (unsigned char c : raw) s += c < 0x80 ? static_cast<char>(c) : '?';
    return s;
}

#if defined(__x86_64__) || defined(__i386__)
namespace {
__attribute__((target("avx"))) void zeroUpper() { _mm256_zeroupper(); }
}  // namespace

void clearUpperVectorState() {
    static const bool avx = __builtin_cpu_supports("avx");
    if (avx) zeroUpper();
}
#else
void clearUpperVectorState() {}
#endif

namespace {

std::vector<long> statusCodes(const ISC_STATUS* status) {
    std::vector<long> codes;
    for (const ISC_STATUS* p = status; *p != isc_arg_end;) {
        if (*p == isc_arg_gds) codes.push_back(static_cast<long>(p[1]));
        p += *p == isc_arg_cstring ? 3 : 2;
    }
    return codes;
}

}  // namespace

Error statusError(const ISC_STATUS* status) {
    const long sqlcode = isc_sqlcode(status);
    std::string message;
    char line[1024];
    const ISC_STATUS* p = status;
    while (fb_interpret(line, sizeof line, &p) > 0) {
        if (!message.empty()) message += '\n';
        message += line;
    }
    if (message.empty()) message = "Unknown database error";
    return Error(messageToUtf8(message), sqlcode, statusCodes(status));
}

void throwStatus(const ISC_STATUS* status) { throw statusError(status); }

}  // namespace detail

using detail::DbState;
using detail::statusError;
using detail::throwStatus;

// ---------------------------------------------------------------- Connection

namespace {

// The engine reads whatever stands before a ':' in a file name as a host name,
// wherever the ':' is, and expands every path through its symbolic links
// (/proc/self/cwd included), so no spelling of a path through a directory
// like "a:b" reaches it as a local file. A bare file name, though, is joined
// to the directory in ISC_PATH as it stands, unexpanded, and ISC_PATH is
// /proc/self/fd from the start of the process (useColonPaths()). Such a path
// is therefore attached by the number of a descriptor of the file itself:
// the engine opens /proc/self/fd/N, which the kernel resolves, and never
// parses the path. The descriptor stays open while the file is attached, so
// no two attached files get the same name in the engine. Nothing in the
// environment changes here: other threads may be reading it. Any other path
// goes to the engine as it stands, a bare name as ./NAME (ISC_PATH is not
// its directory).
class LocalRoute {
public:
    explicit LocalRoute(const std::string& path) : name_(path) {
        if (path.find('/') == std::string::npos && !path.empty()) name_ = "./" + path;
        if (path.find(':') == std::string::npos) return;
        const char* iscPath = std::getenv("ISC_PATH");
        if (iscPath == nullptr || std::strcmp(iscPath, kFdDirectory) != 0) return;
        fd_ = ::open(path.c_str(), O_PATH | O_CLOEXEC);
        if (fd_ < 0) {
            openErrno_ = errno;
            return;
        }
        name_ = std::to_string(fd_);
        standIn_ = std::string(kFdDirectory) + "/" + name_;
        original_ = path;
    }
    ~LocalRoute() {
        if (fd_ >= 0) ::close(fd_);
    }
    LocalRoute(const LocalRoute&) = delete;
    LocalRoute& operator=(const LocalRoute&) = delete;

    const std::string& name() const { return name_; }

    // A ':' path that cannot be opened here: the engine's own error for it,
    // in the engine's words, naming the path the user knows.
    std::optional<Error> openFailure() const {
        if (openErrno_ == 0) return std::nullopt;
        static const char op[] = "open";
        const ISC_STATUS status[] = {isc_arg_gds, isc_io_error,
                                     isc_arg_string, reinterpret_cast<ISC_STATUS>(op),
                                     isc_arg_string, reinterpret_cast<ISC_STATUS>(name_.c_str()),
                                     isc_arg_gds, isc_io_open_err,
                                     isc_arg_unix, openErrno_,
                                     isc_arg_end};
        return statusError(status);
    }

    // The engine's text names the file by the path the user knows.
    Error restore(const Error& e) const {
        if (standIn_.empty()) return e;
        std::string text = e.what();
        // The engine names the file by the bare name or by the joined one.
        for (const std::string& said : {standIn_, "\"" + name_ + "\""}) {
            const std::string meant = said[0] == '"' ? "\"" + original_ + "\"" : original_;
            for (auto at = text.find(said); at != std::string::npos; at = text.find(said, at + meant.size()))
                text.replace(at, said.size(), meant);
        }
        return Error(text, e.sqlcode(), e.codes());
    }
    // Attached: the caller keeps the descriptor (-1 when none was needed).
    int release() {
        const int fd = fd_;
        fd_ = -1;
        return fd;
    }

    static constexpr const char* kFdDirectory = "/proc/self/fd";

private:
    std::string name_;
    std::string standIn_;
    std::string original_;
    int fd_ = -1;
    int openErrno_ = 0;
};

}  // namespace

Connection::Connection() : impl_(std::make_unique<Impl>()) {}

Connection::~Connection() {
    DbState& st = *impl_->state;
    // Statements first, then the transaction, then the attachment.
    for (detail::HandleHolder* h : std::vector<detail::HandleHolder*>(st.holders))
        h->connectionClosing();
    ISC_STATUS_ARRAY status;
    for (isc_tr_handle* tr : st.transactions) {
        if (*tr) {
            if (isc_rollback_transaction(status, tr)) *tr = 0;
        }
    }
    if (st.db) {
        isc_detach_database(status, &st.db);
        st.db = 0;
    }
    if (st.routeFd >= 0) ::close(st.routeFd);
    st.routeFd = -1;
    st.gone = true;
}

bool Connection::connected() const { return impl_->state->db != 0; }

void Connection::ensureConnected() {
    DbState& st = *impl_->state;
    if (st.db) return;
    if (beforeConnect) beforeConnect(*this);

    // Exactly two parameters: user name and password. No character set, no role.
    std::string dpb;
    dpb += static_cast<char>(isc_dpb_version1);
    auto add = [&dpb](char tag, const std::string& value) {
        dpb += tag;
        dpb += static_cast<char>(std::min<size_t>(value.size(), 255));
        dpb.append(value, 0, std::min<size_t>(value.size(), 255));
    };
    add(isc_dpb_user_name, userName);
    add(isc_dpb_password, password);

    ISC_STATUS_ARRAY status;
    isc_db_handle h = 0;
    LocalRoute route(databaseName);
    if (auto e = route.openFailure()) {
        if (attachErrorText) throw Error(attachErrorText(*this, *e), e->sqlcode(), e->codes());
        throw *e;
    }
    if (isc_attach_database(status, 0, route.name().c_str(), &h, static_cast<short>(dpb.size()),
                            dpb.data())) {
        // Stays closed; the next use tries again.
        Error e = route.restore(statusError(status));
        if (attachErrorText) throw Error(attachErrorText(*this, e), e.sqlcode(), e.codes());
        throw e;
    }
    st.db = h;
    st.routeFd = route.release();
}

void* Connection::handle() { return &impl_->state->db; }

// --------------------------------------------------------------- Transaction

struct Transaction::Impl {
    std::shared_ptr<DbState> state;
    isc_tr_handle tr = 0;
};

Transaction::Transaction(Connection& db) : db_(db), impl_(std::make_unique<Impl>()) {
    impl_->state = db.impl_->state;
    impl_->state->transactions.push_back(&impl_->tr);
}

Transaction::~Transaction() {
    DbState& st = *impl_->state;
    if (!st.gone && impl_->tr) {
        // Every write is committed at once; what is left here was never confirmed.
        ISC_STATUS_ARRAY status;
        isc_rollback_transaction(status, &impl_->tr);
    }
    st.removeTransaction(&impl_->tr);
}

bool Transaction::active() const { return impl_->tr != 0; }

void Transaction::ensureStarted() {
    db_.ensureConnected();
    if (impl_->tr) return;
    ISC_STATUS_ARRAY status;
    isc_db_handle* dbh = &impl_->state->db;
    // No parameter block: the server's default (concurrency, wait, read-write).
    if (isc_start_transaction(status, &impl_->tr, 1, dbh, 0, nullptr)) {
        impl_->tr = 0;
        throwStatus(status);
    }
}

void Transaction::commitRetaining() {
    if (!impl_->tr) return;
    ISC_STATUS_ARRAY status;
    if (isc_commit_retaining(status, &impl_->tr)) throwStatus(status);
}

void Transaction::rollbackRetaining() {
    if (!impl_->tr) return;
    ISC_STATUS_ARRAY status;
    if (isc_rollback_retaining(status, &impl_->tr)) throwStatus(status);
}

void* Transaction::handle() { return &impl_->tr; }

// ------------------------------------------------------------------- helpers

namespace {

bool utf8Codeset() {
    const char* charset = nl_langinfo(CODESET);
    return charset != nullptr && std::strcmp(charset, "UTF-8") == 0;
}

// The categories LC_ALL stands for, but the character type.
constexpr const char* kOtherCategories[] = {
    "LC_COLLATE", "LC_MESSAGES", "LC_MONETARY", "LC_NUMERIC", "LC_TIME", "LC_PAPER",
    "LC_NAME", "LC_ADDRESS", "LC_TELEPHONE", "LC_MEASUREMENT", "LC_IDENTIFICATION"};

}  // namespace

bool useUtf8FileNames() {
    // What the toolkit will do at its start.
    const char* chosen = std::setlocale(LC_ALL, "");
    if (chosen != nullptr && utf8Codeset()) return false;
    if (chosen == nullptr) {
        // A locale that was never generated: every category was C, and stays
        // so but for its charset.
        ::setenv("LC_ALL", "C.UTF-8", 1);
    } else {
        // Every category keeps what the user chose; only the character type
        // changes. LC_ALL would override LC_CTYPE, so its value moves to the
        // other categories.
        if (const char* all = std::getenv("LC_ALL"); all != nullptr && *all != '\0') {
            const std::string value = all;
            for (const char* category : kOtherCategories) ::setenv(category, value.c_str(), 1);
            ::unsetenv("LC_ALL");
        }
        ::setenv("LC_CTYPE", "C.UTF-8", 1);
    }
    if (std::setlocale(LC_ALL, "") == nullptr || !utf8Codeset()) {
        ::setenv("LC_ALL", "C.UTF-8", 1);
        std::setlocale(LC_ALL, "");
    }
    return true;
}

namespace {

std::string& missingEngineText() {
    static std::string text;
    return text;
}

// The directory the client library was loaded from.
std::string clientLibraryDirectory() {
    std::string found;
    dl_iterate_phdr(
        [](dl_phdr_info* info, size_t, void* data) {
            const std::string name = info->dlpi_name != nullptr ? info->dlpi_name : "";
            const auto slash = name.rfind('/');
            if (slash == std::string::npos || name.compare(slash, 13, "/libfbclient.") != 0) return 0;
            char* real = ::realpath(name.substr(0, slash).c_str(), nullptr);
            *static_cast<std::string*>(data) = real != nullptr ? real : name.substr(0, slash);
            std::free(real);
            return 1;
        },
        &found);
    return found;
}

bool isFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

}  // namespace

std::string useFirebird3Engine() {
    missingEngineText().clear();
    if (const char* set = std::getenv("FIREBIRD"); set != nullptr && *set != '\0') return set;
    std::vector<std::string> roots;
    if (const std::string dir = clientLibraryDirectory(); !dir.empty()) roots.push_back(dir + "/firebird/3.0");
    for (const char* dir : {"/usr/lib/x86_64-linux-gnu", "/usr/lib/aarch64-linux-gnu", "/usr/lib"})
        roots.push_back(std::string(dir) + "/firebird/3.0");
    for (const std::string& root : roots) {
        if (isFile(root + "/plugins/libEngine12.so")) {
            ::setenv("FIREBIRD", root.c_str(), 1);
            return root;
        }
    }
    missingEngineText() = roots.front() + "/plugins/libEngine12.so";
    return {};
}

const std::string& missingEngine() { return missingEngineText(); }

void useColonPaths() { ::setenv("ISC_PATH", "/proc/self/fd", 1); }

void settleEnvironment() {
    useOwnLockDirectory();
    useFirebird3Engine();
    // The client library settles an environment of its own at its first use
    // (Firebird 4's sets ICU_TIMEZONE_FILES_DIR as it reads its root), which
    // the first attach would do beside the toolkit's threads: done now.
    char root[4096];
    gds__prefix(root, "");
    useColonPaths();
    useUtf8FileNames();
}

namespace {

// A directory of this user's own: made now, or there already, not a link.
bool ownDirectory(const std::string& dir) {
    if (::mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST) return false;
    struct stat st {};
    return ::lstat(dir.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::geteuid();
}

}  // namespace

std::string useOwnLockDirectory() {
    if (const char* set = std::getenv("FIREBIRD_LOCK"); set != nullptr && *set != '\0') return set;
    auto env = [](const char* name) -> std::string {
        const char* v = std::getenv(name);
        return v != nullptr && *v == '/' ? v : "";
    };
    std::string base = env("XDG_RUNTIME_DIR");
    if (base.empty()) base = env("TMPDIR");
    if (base.empty()) base = "/tmp";
    std::string dir = base + "/tolvane-fblock-" + std::to_string(::geteuid());
    if (!ownDirectory(dir)) {
        // The name is taken: a fresh directory of our own beside it.
        std::string pattern = dir + "-XXXXXX";
        if (::mkdtemp(pattern.data()) != nullptr) dir = pattern;
        else dir.clear();   // nowhere to go: the engine's default
    }
    if (!dir.empty()) ::setenv("FIREBIRD_LOCK", dir.c_str(), 1);
    return dir;
}

void shutdownEngine() { fb_shutdown(0, fb_shutrsn_app_stopped); }

std::string quoted(std::string_view utf8) {
    std::string s;
    s.reserve(utf8.size() + 2);
    s += '"';
    for (char c : utf8) {
        if (c == '"') s += '"';
        s += c;
    }
    s += '"';
    return s;
}

std::int32_t nextKey(Query& q, std::string_view selectMax) {
    q.close();
    q.sqlClear();
    q.sqlAdd(selectMax);
    q.open();
    Field& f = q.fields(0);
    if (f.isNull()) return 1;
    const std::int32_t largest = f.asInteger();
    // Wrapping round to a negative key would break the order of the records.
    if (largest == std::numeric_limits<std::int32_t>::max())
        throw Error("No new key: the largest key " + std::to_string(largest) +
                    " is the largest number a key can hold");
    return largest + 1;
}

}  // namespace tolvane::db
