// Firebird client layer over fbclient's ISC API, SQL dialect 1. No Qt here.
//
// Text crosses this boundary as UTF-8 on the program side and as Shift-JIS
// (CP932) bytes on the database side; every conversion happens inside this
// layer. A connection attaches on first use; each connection has exactly one
// transaction, ended only by commit-retaining and rollback-retaining.
//
// A query is used as every window uses it:
//     q.close(); q.sqlClear(); q.sqlAdd("select ..."); q.sqlAdd(" where X = :parX");
//     q.paramByName("parX").setInteger(5);   // parameters not set are sent as NULL
//     q.open();                              // or q.execQuery() for other statements
//     while (!q.eof()) { q.fieldByName("X").asString(); q.next(); }
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tolvane::db {

// An error reported by the server or the client library, carrying the
// server's own message text (all status lines joined by newlines).
class Error : public std::runtime_error {
public:
    Error(const std::string& message, long sqlcode = 0, std::vector<long> codes = {});
    long sqlcode() const { return sqlcode_; }
    // The engine's error codes of the status vector, in order.
    const std::vector<long>& codes() const { return codes_; }
    // The file is held open by another process (another copy of the program,
    // or isql): the engine refuses a second process its file lock.
    bool fileInUse() const;

private:
    long sqlcode_;
    std::vector<long> codes_;
};

// A text that Shift-JIS (CP932) cannot hold, or bytes that are not valid.
// An Error too, so a guarded write that catches Error also catches a value
// that cannot be stored; its message names the character.
class EncodingError : public Error {
public:
    explicit EncodingError(const std::string& message) : Error(message, 0) {}
};

class Transaction;
class Query;

// One database file. Closed at creation; attaches on the first use of a query
// bound to it, after calling beforeConnect (which sets databaseName). A failed
// attach leaves it closed; the next use tries again. Detaches on destruction.
class Connection {
public:
    Connection();
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    std::string databaseName;                        // file path, set by the hook
    std::function<void(Connection&)> beforeConnect;  // runs just before each attach
    std::string userName = "kvo";
    std::string password = "9517";
    // When set, a failed attach throws an Error with the text this gives
    // (the engine's sqlcode and codes kept); otherwise the engine's own text.
    std::function<std::string(const Connection&, const Error&)> attachErrorText;

    bool connected() const;
    void ensureConnected();   // attach now if not attached (runs the hook)
    void* handle();           // isc_db_handle* for the layer's own use

private:
    friend class Transaction;
    friend class Query;
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// The one transaction of a connection: started by the first statement,
// never ended except by commit-retaining and rollback-retaining. Both do
// nothing while no statement has started it (e.g. after a failed attach), so
// the roll-back of a guarded write never raises a second error. Work left
// uncommitted when the transaction object is destroyed is rolled back.
class Transaction {
public:
    explicit Transaction(Connection& db);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    Connection& connection() { return db_; }
    bool active() const;
    void ensureStarted();   // attach the connection and start if needed
    void commitRetaining();
    void rollbackRetaining();
    void* handle();         // isc_tr_handle* for the layer's own use

private:
    Connection& db_;
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// A statement parameter, set by name. An unset parameter is sent as NULL.
class Param {
public:
    void setInteger(std::int32_t v);
    void setDouble(double v);
    void setString(std::string_view utf8);      // converted to Shift-JIS
    void setBlob(std::string_view bytes);       // binary blob, bytes as given
    void setTextBlob(std::string_view utf8);    // text blob, converted to Shift-JIS
    void clear();                               // back to NULL
    bool isSet() const;
    const std::string& name() const { return name_; }

private:
    friend class Query;
    enum class Kind { Null, Integer, Double, String, Blob, TextBlob };
    std::string name_;
    Kind kind_ = Kind::Null;
    std::int64_t i_ = 0;
    double d_ = 0;
    std::string bytes_;   // Shift-JIS text or raw blob bytes
};

// A column of the current row. Blob columns are read lazily, on first access.
class Field {
public:
    const std::string& name() const { return name_; }
    bool isNull() const;
    std::string asString() const;     // UTF-8; NULL gives ""; decimals as float text
    std::int32_t asInteger() const;   // NULL gives 0; text is parsed (Error if not a number)
    double asFloat() const;           // NULL gives 0; decimal/numeric columns as float
    std::string asBytes() const;      // blob or text bytes as stored (no conversion)
    // As asBytes, but a blob's bytes are handed over as read, not copied from
    // the row's kept copy: the next asking reads the blob again.
    std::string takeBytes() const;
    bool isBlob() const;

private:
    friend class Query;
    Query* query_ = nullptr;
    int index_ = 0;
    std::string name_;
};

// Opaque position of a row that survives close and reopen of the same statement.
struct Bookmark {
    std::int64_t row = -1;         // position when taken
    std::string key;               // the row's identity (its values), to find it again
    bool valid() const { return row >= 0; }
};

// Told when the query's cursor moves or its row set changes (a grid follows it).
class QueryObserver {
public:
    virtual ~QueryObserver() = default;
    virtual void queryOpened(Query&) {}
    virtual void queryClosed(Query&) {}
    virtual void cursorMoved(Query&) {}
};

// One statement object, bound once to one connection and its transaction.
class Query {
public:
    Query(Connection& db, Transaction& tr);
    ~Query();
    Query(const Query&) = delete;
    Query& operator=(const Query&) = delete;

    // Statement text, in pieces (each piece a line). `:parNAME` names outside
    // '...' and "..." literals and comments become positional.
    void close();
    void sqlClear();
    void sqlAdd(std::string_view piece);
    std::string sqlText() const;
    // "parX" or ":parX", case-insensitive; Error when the text has no such name.
    Param& paramByName(std::string_view name);

    void open();        // a select: fetch every row to the client (an open query is reopened)
    void execQuery();   // any other statement; a select is opened as by open()
    // Rows inserted, updated or deleted by the last execQuery().
    long rowsAffected() const;
    bool active() const;

    // Cursor over the fetched rows.
    void first();
    void last();
    void next();
    void prior();
    void moveBy(int n);                 // clamped at the ends
    bool bof() const;
    bool eof() const;
    int recordCount() const;
    int recNo() const;                  // 0-based position of the current row, -1 when empty
    void setRecNo(int row);             // clamped

    // Fields of the open statement; a Field stays valid until the next open.
    // Looking a field up while the query is closed, or by a name the
    // statement lacks, throws Error. With no current row (an empty result)
    // every field reads as NULL.
    int fieldCount() const;
    Field& fields(int index);
    Field& fieldByName(std::string_view name);   // case-insensitive

    // A bookmark names its row by the row's values: the first column (the key
    // in every browsing statement) and the other non-blob columns. After the
    // statement is reopened, gotoBookmark goes to the row with the same values
    // (nearest the old position if several), else to the row with the same
    // first column (its other values changed meanwhile). When no row has that
    // first column any more the row is gone: the cursor goes to the old
    // position, clamped to the rows there are now, and false is returned.
    Bookmark getBookmark() const;   // invalid (row -1) when there is no current row
    bool gotoBookmark(const Bookmark& b);
    void freeBookmark(Bookmark& b) { b = Bookmark{}; }

    void addObserver(QueryObserver* o);
    void removeObserver(QueryObserver* o);

    Connection& connection() { return db_; }
    Transaction& transaction() { return tr_; }

private:
    friend class Field;
    Connection& db_;
    Transaction& tr_;
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// Text of a dialect-1 string literal for a statement assembled by
// concatenation: the value between double quotes, an embedded double quote
// doubled, so the value is stored as typed.
std::string quoted(std::string_view utf8);

// The new-key rule: run `selectMax` (e.g. "select max(CODE) from FISH_MEMO")
// and return its value plus one, or 1 when it is NULL.
std::int32_t nextKey(Query& q, std::string_view selectMax);

// From this call on, SIGINT and SIGTERM only write the signal's number as one
// byte to a pipe, once deliverTerminationSignals() has started the thread
// that waits for them; the returned reading end (non-blocking, closed on
// exec) becomes readable then, and the program ends itself on its own
// thread. Both signals are blocked in the calling thread and in every thread
// started after it, so call it first thing in main(), before any other
// thread exists. The client library's handling of both (its engine shut down
// under the program, or, now and then, nothing at all) never runs, and its
// shutdown on a signal is refused. Later calls return the same descriptor.
int catchTerminationSignals();

// Starts the thread that waits for the caught signals (once; a signal that
// came before is delivered then). The program starts it once the environment
// is settled and the toolkit has set the locale: from then on a thread runs.
void deliverTerminationSignals();

// For a child process between fork and exec: no signal blocked, as a program
// expects to start.
void unblockSignalsInChild();

// Shuts the client library's embedded engine down now, without the wait the
// library's own handler at process exit makes: for the very end of the
// program, once every connection is detached. Nothing attaches after it.
void shutdownEngine();

// Everything of the process's environment the engine and the program's file
// names depend on, settled at once: the lock directory
// (useOwnLockDirectory), the engine (useFirebird3Engine), ':' paths
// (useColonPaths) and the file names' charset (useUtf8FileNames). Each of
// them changes the environment or the C library's locale, which is safe only
// while no other thread runs: call it first thing in main(), before the
// toolkit's application object (which starts threads) and before any attach.
void settleEnvironment();

// The engine converts a file name from the charset of the C library's
// LC_CTYPE to UTF-8 and back before it opens the file, and fails on any byte
// that charset cannot hold (under C, POSIX or a locale that was never
// generated, every byte above 0x7F). The program takes file names as UTF-8,
// as its toolkit does. This sets the locale of the environment, as the
// toolkit does at its start; where its charset is not UTF-8, LC_CTYPE
// becomes C.UTF-8 in the environment (the other categories keep what the
// user chose: a value of LC_ALL moves to each of them), so the toolkit's own
// setlocale(LC_ALL, "") later comes to the same, and a name passes unchanged
// whatever the locale. True when LC_CTYPE was changed.
bool useUtf8FileNames();

// The program's files are the Firebird 3 engine's (on-disk structure 12),
// which a later engine does not open. Firebird 4's client library, the one
// Debian 13 has, looks for its engine below a root of its own, where none
// is installed, and then tries a server on localhost. So when FIREBIRD is
// unset, it is set to the Firebird 3 engine's root beside the client library
// (LIBDIR/firebird/3.0, holding plugins/libEngine12.so), which either client
// library then loads. A FIREBIRD the user set is kept. Returns the root in
// use, or nothing when no Firebird 3 engine is installed; missingEngine()
// then names the file looked for.
std::string useFirebird3Engine();
const std::string& missingEngine();

// A path with ':' is attached through a descriptor of the file, by its bare
// number, which the engine joins to ISC_PATH: set to /proc/self/fd here,
// once. Bare names of the program's own are attached as ./NAME, so ISC_PATH
// means nothing else to it.
void useColonPaths();

// The engine keeps lock files in one directory for every process that uses
// it, /tmp/firebird unless FIREBIRD_LOCK names another; a /tmp/firebird made
// by another user makes every attach fail. When FIREBIRD_LOCK is unset, it is
// set to ${XDG_RUNTIME_DIR:-${TMPDIR:-/tmp}}/tolvane-fblock-UID (made, mode
// 0700), or to a fresh directory beside it when that name belongs to another
// user or is not a plain directory. Processes with different lock
// directories never share a file: the engine's lock on the file itself
// refuses a second process. Call it first thing in main(), before any other
// thread exists (it changes the environment). Returns the directory in use.
std::string useOwnLockDirectory();

// Shift-JIS (CP932) conversion used at the boundary.
std::string toShiftJis(std::string_view utf8);     // throws EncodingError
std::string fromShiftJis(std::string_view sjis);   // throws EncodingError

}  // namespace tolvane::db
