// Errors, connections and transactions of the database layer.
#include "db/fb.h"

#include <cstring>
#include <limits>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

#include "db/fb_detail.h"

namespace tolvane::db {

Error::Error(const std::string& message, long sqlcode)
    : std::runtime_error(message), sqlcode_(sqlcode) {}

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

void throwStatus(const ISC_STATUS* status) {
    const long sqlcode = isc_sqlcode(status);
    std::string message;
    char line[1024];
    const ISC_STATUS* p = status;
    while (fb_interpret(line, sizeof line, &p) > 0) {
        if (!message.empty()) message += '\n';
        message += line;
    }
    if (message.empty()) message = "Unknown database error";
    throw Error(messageToUtf8(message), sqlcode);
}

}  // namespace detail

using detail::DbState;
using detail::throwStatus;

// ---------------------------------------------------------------- Connection

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
    if (isc_attach_database(status, 0, databaseName.c_str(), &h, static_cast<short>(dpb.size()),
                            dpb.data())) {
        throwStatus(status);   // stays closed; the next use tries again
    }
    st.db = h;
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
