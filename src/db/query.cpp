// Queries: statement text with named parameters, execution in SQL dialect 1,
// rows fetched to the client, cursor, fields read on demand, bookmarks.
#include <algorithm>
#include <charconv>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cmath>
#include <cstring>
#include <limits>
#include <optional>
#include <unordered_map>

#include "db/fb.h"
#include "db/fb_detail.h"

namespace tolvane::db {

using detail::clearUpperVectorState;
using detail::DbState;
using detail::throwStatus;

namespace {

constexpr unsigned short kDialect = 1;

// ------------------------------------------------------------ small helpers

char upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

std::string upperAscii(std::string_view s) {
    std::string u(s);
    for (char& c : u) c = upper(c);
    return u;
}

bool isIdentStart(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

bool isIdentChar(char c) { return isIdentStart(c) || (c >= '0' && c <= '9') || c == '$'; }

std::string formatFloat(double d) {
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, d, std::chars_format::general, 15);
    return std::string(buf, r.ptr);
}

std::string_view trimSpaces(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

std::int32_t parseInteger(std::string_view text) {
    std::string_view s = trimSpaces(text);
    std::string_view digits = s;
    if (!digits.empty() && digits.front() == '+') digits.remove_prefix(1);
    std::int64_t v = 0;
    auto r = std::from_chars(digits.data(), digits.data() + digits.size(), v);
    if (digits.empty() || r.ec != std::errc() || r.ptr != digits.data() + digits.size() ||
        v < std::numeric_limits<std::int32_t>::min() || v > std::numeric_limits<std::int32_t>::max())
        throw Error("'" + std::string(text) + "' is not a valid integer value");
    return static_cast<std::int32_t>(v);
}

double parseFloat(std::string_view text) {
    std::string_view s = trimSpaces(text);
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    double v = 0;
    auto r = std::from_chars(s.data(), s.data() + s.size(), v);
    if (s.empty() || r.ec != std::errc() || r.ptr != s.data() + s.size())
        throw Error("'" + std::string(text) + "' is not a valid floating point value");
    return v;
}

std::int32_t roundToInt32(double d) {
    const double r = std::nearbyint(d);
    if (!(r >= std::numeric_limits<std::int32_t>::min() && r <= std::numeric_limits<std::int32_t>::max()))
        throw Error(formatFloat(d) + " is not a valid integer value");
    return static_cast<std::int32_t>(r);
}

double powerOfTen(int scale) { return std::pow(10.0, scale); }

// ---------------------------------------------------------------- XSQLDA

struct SqldaDeleter {
    void operator()(XSQLDA* p) const { std::free(p); }
};
using SqldaPtr = std::unique_ptr<XSQLDA, SqldaDeleter>;

SqldaPtr allocSqlda(int n) {
    if (n < 1) n = 1;
    auto* p = static_cast<XSQLDA*>(std::calloc(1, XSQLDA_LENGTH(n)));
    if (!p) throw std::bad_alloc();
    p->version = SQLDA_VERSION1;
    p->sqln = static_cast<ISC_SHORT>(n);
    return SqldaPtr(p);
}

// ---------------------------------------------------------------- rewriting

// The statement with every `:name` outside literals and comments replaced by
// `?`, and the name at each `?` (empty for a `?` written as such).
struct ParsedSql {
    std::string text;
    std::vector<std::string> positions;
};

ParsedSql rewriteParams(std::string_view sql) {
    ParsedSql p;
    p.text.reserve(sql.size());
    const size_t n = sql.size();
    size_t i = 0;
    while (i < n) {
        const char c = sql[i];
        if (c == '\'' || c == '"') {
            size_t j = i + 1;
            while (j < n) {
                if (sql[j] == c) {
                    if (j + 1 < n && sql[j + 1] == c) { j += 2; continue; }
                    break;
                }
                ++j;
            }
            const size_t end = std::min(j + 1, n);
            p.text.append(sql.substr(i, end - i));
            i = end;
        } else if (c == '/' && i + 1 < n && sql[i + 1] == '*') {
            const size_t j = sql.find("*/", i + 2);
            const size_t end = j == std::string_view::npos ? n : j + 2;
            p.text.append(sql.substr(i, end - i));
            i = end;
        } else if (c == '-' && i + 1 < n && sql[i + 1] == '-') {
            const size_t j = sql.find('\n', i);
            const size_t end = j == std::string_view::npos ? n : j;
            p.text.append(sql.substr(i, end - i));
            i = end;
        } else if (c == ':' && i + 1 < n && isIdentStart(sql[i + 1])) {
            size_t j = i + 1;
            while (j < n && isIdentChar(sql[j])) ++j;
            p.positions.emplace_back(sql.substr(i + 1, j - i - 1));
            p.text += '?';
            i = j;
        } else if (c == '?') {
            p.positions.emplace_back();
            p.text += '?';
            ++i;
        } else {
            p.text += c;
            ++i;
        }
    }
    return p;
}

// ---------------------------------------------------------------- rows

struct Column {
    std::string name;      // alias as the server describes it
    std::string sqlName;   // column name in its table
    short type = 0;        // sqltype without the null flag
    short scale = 0;
    short len = 0;
    size_t dataOff = 0;
    size_t indOff = 0;
};

// All rows of a result, each a copy of the fetch buffer, in chunks so that
// growing never moves what was fetched.
class RowStore {
public:
    void reset(size_t rowSize) {
        chunks_.clear();
        count_ = 0;
        rowSize_ = rowSize;
        perChunk_ = std::max<size_t>(1, (1u << 20) / std::max<size_t>(rowSize, 1));
    }
    char* append() {
        if (count_ == chunks_.size() * perChunk_)
            chunks_.emplace_back(new char[perChunk_ * rowSize_]);
        char* p = chunks_.back().get() + (count_ % perChunk_) * rowSize_;
        ++count_;
        return p;
    }
    const char* row(size_t i) const { return chunks_[i / perChunk_].get() + (i % perChunk_) * rowSize_; }
    size_t size() const { return count_; }
    void clear() { reset(rowSize_); }

private:
    std::vector<std::unique_ptr<char[]>> chunks_;
    size_t rowSize_ = 0;
    size_t perChunk_ = 1;
    size_t count_ = 0;
};

// Described type of an input position, kept because binding changes the XSQLVAR.
struct Slot {
    short type = 0;
    short subtype = 0;
    short len = 0;
    short scale = 0;
};

}  // namespace

// ----------------------------------------------------------------- Query::Impl

struct Query::Impl final : detail::HandleHolder {
    Query& q;
    std::shared_ptr<DbState> state;

    // Text and parameters.
    std::vector<std::string> lines;
    bool parsed = false;
    ParsedSql parsedSql;
    std::vector<std::unique_ptr<Param>> params;
    std::vector<int> positionParam;   // input position -> index in params, -1 = none

    // Prepared statement.
    isc_stmt_handle stmt = 0;
    std::string preparedText;   // rewritten text the handle holds
    int stmtType = 0;
    SqldaPtr out;
    SqldaPtr in;
    std::vector<Slot> slots;
    std::vector<Column> cols;
    size_t rowSize = 0;
    std::unique_ptr<std::max_align_t[]> fetchBuf;

    // Result.
    bool active = false;
    RowStore rows;
    int pos = -1;
    bool bof = true;
    bool eof = true;
    std::vector<std::unique_ptr<Field>> fields;
    std::unordered_map<std::string, int> fieldIndex;   // upper-case name -> index

    // Blobs of the current row, read on first access.
    int cacheRow = -1;
    std::vector<std::optional<std::string>> blobCache;

    std::vector<QueryObserver*> observers;

    Impl(Query& query, std::shared_ptr<DbState> s) : q(query), state(std::move(s)) {
        state->holders.push_back(this);
    }

    ~Impl() {
        if (!state->gone && stmt && state->db) {
            ISC_STATUS_ARRAY status;
            isc_dsql_free_statement(status, &stmt, DSQL_drop);
        }
        state->removeHolder(this);
    }

    void connectionClosing() override {
        stmt = 0;   // freed with the attachment
        preparedText.clear();
    }

    // ---- text and parameters

    std::string text() const {
        std::string t;
        for (size_t i = 0; i < lines.size(); ++i) {
            if (i) t += '\n';
            t += lines[i];
        }
        return t;
    }

    void ensureParsed() {
        if (parsed) return;
        parsedSql = rewriteParams(text());
        // Parameters of the new text; a value set for a name the text still has is kept.
        std::vector<std::unique_ptr<Param>> old = std::move(params);
        params.clear();
        positionParam.assign(parsedSql.positions.size(), -1);
        std::unordered_map<std::string, int> byName;
        for (size_t i = 0; i < parsedSql.positions.size(); ++i) {
            const std::string& name = parsedSql.positions[i];
            if (name.empty()) continue;
            const std::string key = upperAscii(name);
            auto it = byName.find(key);
            if (it == byName.end()) {
                std::unique_ptr<Param> p;
                for (auto& o : old)
                    if (o && upperAscii(o->name_) == key) { p = std::move(o); break; }
                if (!p) {
                    p = std::make_unique<Param>();
                    p->name_ = name;
                }
                it = byName.emplace(key, static_cast<int>(params.size())).first;
                params.push_back(std::move(p));
            }
            positionParam[i] = it->second;
        }
        parsed = true;
    }

    // ---- prepare

    void freeStatement() {
        if (stmt && state->db) {
            ISC_STATUS_ARRAY status;
            isc_dsql_free_statement(status, &stmt, DSQL_drop);
        }
        stmt = 0;
        preparedText.clear();
    }

    void prepare() {
        ensureParsed();
        if (stmt && preparedText == parsedSql.text) return;
        const std::string sjis = toShiftJis(parsedSql.text);
        ISC_STATUS_ARRAY status;
        auto* tr = static_cast<isc_tr_handle*>(q.tr_.handle());
        if (stmt) {
            preparedText.clear();
        } else if (isc_dsql_allocate_statement(status, &state->db, &stmt)) {
            stmt = 0;
            throwStatus(status);
        }
        out = allocSqlda(1);
        const unsigned short len = sjis.size() < 65536 ? static_cast<unsigned short>(sjis.size()) : 0;
        if (isc_dsql_prepare(status, tr, &stmt, len, sjis.c_str(), kDialect, out.get())) {
            ISC_STATUS_ARRAY s2;
            isc_dsql_free_statement(s2, &stmt, DSQL_drop);
            stmt = 0;
            throwStatus(status);
        }
        try {
            describe();
        } catch (...) {
            freeStatement();
            throw;
        }
        preparedText = parsedSql.text;
    }

    void describe() {
        ISC_STATUS_ARRAY status;
        if (out->sqld > out->sqln) {
            out = allocSqlda(out->sqld);
            if (isc_dsql_describe(status, &stmt, SQLDA_VERSION1, out.get())) throwStatus(status);
        }
        in = allocSqlda(1);
        if (isc_dsql_describe_bind(status, &stmt, SQLDA_VERSION1, in.get())) throwStatus(status);
        if (in->sqld > in->sqln) {
            in = allocSqlda(in->sqld);
            if (isc_dsql_describe_bind(status, &stmt, SQLDA_VERSION1, in.get())) throwStatus(status);
        }
        if (static_cast<size_t>(in->sqld) != parsedSql.positions.size())
            throw Error("The statement has " + std::to_string(in->sqld) + " parameters, the text " +
                        std::to_string(parsedSql.positions.size()));
        slots.resize(in->sqld);
        for (int i = 0; i < in->sqld; ++i) {
            const XSQLVAR& v = in->sqlvar[i];
            slots[i] = Slot{static_cast<short>(v.sqltype & ~1), v.sqlsubtype, v.sqllen, v.sqlscale};
        }

        char item = isc_info_sql_stmt_type;
        char buf[16] = {};
        if (isc_dsql_sql_info(status, &stmt, 1, &item, sizeof buf, buf)) throwStatus(status);
        stmtType = 0;
        if (buf[0] == isc_info_sql_stmt_type) {
            const short l = static_cast<short>(isc_vax_integer(buf + 1, 2));
            stmtType = static_cast<int>(isc_vax_integer(buf + 3, l));
        }

        // Output: one buffer laid out once; every fetch fills it, and a row is its copy.
        cols.clear();
        size_t off = 0;
        auto align = [&off](size_t a) { off = (off + a - 1) / a * a; };
        for (int i = 0; i < out->sqld; ++i) {
            XSQLVAR& v = out->sqlvar[i];
            Column c;
            c.name.assign(v.aliasname, v.aliasname_length);
            c.sqlName.assign(v.sqlname, v.sqlname_length);
            c.type = static_cast<short>(v.sqltype & ~1);
            c.scale = v.sqlscale;
            c.len = v.sqllen;
            size_t size = static_cast<size_t>(v.sqllen);
            size_t a = 8;
            if (c.type == SQL_VARYING) { size += 2; a = 2; }
            else if (c.type == SQL_TEXT) a = 1;
            else a = std::clamp<size_t>(size, 1, 8);
            align(a);
            c.dataOff = off;
            off += std::max<size_t>(size, 1);
            align(2);
            c.indOff = off;
            off += 2;
            cols.push_back(std::move(c));
        }
        align(8);
        rowSize = std::max<size_t>(off, 8);
        fetchBuf.reset(new std::max_align_t[(rowSize + sizeof(std::max_align_t) - 1) / sizeof(std::max_align_t)]);
        char* base = reinterpret_cast<char*>(fetchBuf.get());
        for (int i = 0; i < out->sqld; ++i) {
            XSQLVAR& v = out->sqlvar[i];
            v.sqltype = static_cast<ISC_SHORT>(v.sqltype | 1);   // always report NULL
            v.sqldata = base + cols[i].dataOff;
            v.sqlind = reinterpret_cast<ISC_SHORT*>(base + cols[i].indOff);
        }
    }

    // ---- parameters to the input buffer

    ISC_QUAD createBlob(const std::string& bytes, short subtype) {
        ISC_STATUS_ARRAY status;
        isc_blob_handle bh = 0;
        ISC_QUAD id{};
        auto* tr = static_cast<isc_tr_handle*>(q.tr_.handle());
        const char bpb[] = {isc_bpb_version1, isc_bpb_source_type, 1, static_cast<char>(subtype),
                            isc_bpb_target_type, 1, static_cast<char>(subtype)};
        const bool text = subtype == isc_blob_text;
        if (isc_create_blob2(status, &state->db, tr, &bh, &id, text ? sizeof bpb : 0,
                             text ? bpb : nullptr))
            throwStatus(status);
        size_t done = 0;
        constexpr size_t kSegment = 65000;
        while (done < bytes.size()) {
            const size_t n = std::min(kSegment, bytes.size() - done);
            if (isc_put_segment(status, &bh, static_cast<unsigned short>(n), bytes.data() + done)) {
                ISC_STATUS_ARRAY s2;
                isc_cancel_blob(s2, &bh);
                throwStatus(status);
            }
            done += n;
        }
        if (isc_close_blob(status, &bh)) throwStatus(status);
        return id;
    }

    // Buffers the XSQLVARs point into during one execution.
    std::vector<std::string> inData;
    std::vector<ISC_SHORT> inInd;

    void bind() {
        const int n = in->sqld;
        inData.assign(n, std::string());
        inInd.assign(n, 0);
        for (int i = 0; i < n; ++i) {
            XSQLVAR& v = in->sqlvar[i];
            const Slot& s = slots[i];
            const Param* p = positionParam[i] >= 0 ? params[positionParam[i]].get() : nullptr;
            std::string& data = inData[i];
            v.sqlind = &inInd[i];
            v.sqlscale = 0;
            v.sqlsubtype = 0;
            const Param::Kind kind = p ? p->kind_ : Param::Kind::Null;
            if (kind == Param::Kind::Null) {
                v.sqltype = static_cast<ISC_SHORT>(s.type | 1);
                v.sqllen = s.len;
                v.sqlscale = s.scale;
                v.sqlsubtype = s.subtype;
                data.assign(static_cast<size_t>(std::max<short>(s.len, 0)) + 8, '\0');
                inInd[i] = -1;
            } else if (s.type == SQL_BLOB) {
                std::string bytes;
                if (kind == Param::Kind::Integer) bytes = std::to_string(p->i_);
                else if (kind == Param::Kind::Double) bytes = formatFloat(p->d_);
                else bytes = p->bytes_;
                const ISC_QUAD id = createBlob(bytes, s.subtype);
                data.assign(reinterpret_cast<const char*>(&id), sizeof id);
                v.sqltype = SQL_BLOB | 1;
                v.sqllen = sizeof(ISC_QUAD);
                v.sqlsubtype = s.subtype;
            } else if (kind == Param::Kind::Integer) {
                const ISC_LONG x = static_cast<ISC_LONG>(p->i_);
                data.assign(reinterpret_cast<const char*>(&x), sizeof x);
                v.sqltype = SQL_LONG | 1;
                v.sqllen = sizeof x;
            } else if (kind == Param::Kind::Double) {
                const double x = p->d_;
                data.assign(reinterpret_cast<const char*>(&x), sizeof x);
                v.sqltype = SQL_DOUBLE | 1;
                v.sqllen = sizeof x;
            } else {
                const std::string& bytes = p->bytes_;
                if (bytes.size() > 32765)
                    throw Error("The value of parameter " + p->name_ + " is longer than 32765 bytes");
                const unsigned short l = static_cast<unsigned short>(bytes.size());
                data.resize(2 + bytes.size());
                std::memcpy(data.data(), &l, 2);
                std::memcpy(data.data() + 2, bytes.data(), bytes.size());
                v.sqltype = SQL_VARYING | 1;
                v.sqllen = static_cast<ISC_SHORT>(bytes.size());
                // The character set of the place it goes to, so nothing is transliterated.
                v.sqlsubtype = (s.type == SQL_TEXT || s.type == SQL_VARYING) ? s.subtype : 0;
            }
            v.sqldata = data.data();
        }
    }

    // ---- execution

    bool returnsRows() const {
        return stmtType == isc_info_sql_stmt_select || stmtType == isc_info_sql_stmt_select_for_upd;
    }

    void run() {
        clearUpperVectorState();
        q.tr_.ensureStarted();   // attaches on first use
        prepare();
        bind();
        ISC_STATUS_ARRAY status;
        auto* tr = static_cast<isc_tr_handle*>(q.tr_.handle());
        XSQLDA* inDa = in->sqld > 0 ? in.get() : nullptr;
        if (returnsRows()) {
            if (isc_dsql_execute(status, tr, &stmt, SQLDA_VERSION1, inDa)) throwStatus(status);
            rows.reset(rowSize);
            ISC_STATUS r;
            const char* buf = reinterpret_cast<const char*>(fetchBuf.get());
            while ((r = isc_dsql_fetch(status, &stmt, SQLDA_VERSION1, out.get())) == 0)
                std::memcpy(rows.append(), buf, rowSize);
            if (r != 100) {
                ISC_STATUS_ARRAY s2;
                isc_dsql_free_statement(s2, &stmt, DSQL_close);
                rows.clear();
                throwStatus(status);
            }
            if (isc_dsql_free_statement(status, &stmt, DSQL_close)) throwStatus(status);
            becomeActive();
        } else if (out->sqld > 0) {
            // execute procedure with output values: one row.
            if (isc_dsql_execute2(status, tr, &stmt, SQLDA_VERSION1, inDa, out.get())) throwStatus(status);
            rows.reset(rowSize);
            std::memcpy(rows.append(), fetchBuf.get(), rowSize);
            becomeActive();
        } else {
            if (isc_dsql_execute(status, tr, &stmt, SQLDA_VERSION1, inDa)) throwStatus(status);
            affected = countAffected();
        }
    }

    // Sum of the rows inserted, updated and deleted by the statement just run.
    long countAffected() {
        ISC_STATUS_ARRAY status;
        char item = isc_info_sql_records;
        char buf[64] = {};
        if (isc_dsql_sql_info(status, &stmt, 1, &item, sizeof buf, buf)) return 0;
        if (buf[0] != isc_info_sql_records) return 0;
        long total = 0;
        const char* p = buf + 3;
        const char* end = buf + sizeof buf;
        while (p < end && *p != isc_info_end) {
            const char kind = *p++;
            const short len = static_cast<short>(isc_vax_integer(p, 2));
            p += 2;
            const long n = static_cast<long>(isc_vax_integer(p, len));
            p += len;
            if (kind == isc_info_req_insert_count || kind == isc_info_req_update_count ||
                kind == isc_info_req_delete_count)
                total += n;
        }
        return total;
    }
    long affected = 0;

    void becomeActive() {
        fields.clear();
        fieldIndex.clear();
        for (size_t i = 0; i < cols.size(); ++i) {
            auto f = std::make_unique<Field>();
            f->query_ = &q;
            f->index_ = static_cast<int>(i);
            f->name_ = cols[i].name;
            fieldIndex.emplace(upperAscii(cols[i].name), static_cast<int>(i));
            fields.push_back(std::move(f));
        }
        for (size_t i = 0; i < cols.size(); ++i)   // a column asked for by its own name
            fieldIndex.emplace(upperAscii(cols[i].sqlName), static_cast<int>(i));
        active = true;
        pos = rows.size() ? 0 : -1;
        bof = true;
        eof = rows.size() == 0;
        dropBlobCache();
        notify(&QueryObserver::queryOpened);
    }

    void dropBlobCache() {
        cacheRow = -1;
        blobCache.assign(cols.size(), std::nullopt);
    }

    void notify(void (QueryObserver::*fn)(Query&)) {
        const std::vector<QueryObserver*> copy = observers;
        for (QueryObserver* o : copy)
            if (std::find(observers.begin(), observers.end(), o) != observers.end()) (o->*fn)(q);
    }

    // ---- reading the current row

    const char* currentRow() const {
        if (!active || pos < 0 || static_cast<size_t>(pos) >= rows.size()) return nullptr;
        return rows.row(static_cast<size_t>(pos));
    }

    static bool nullIn(const char* row, const Column& c) {
        ISC_SHORT ind;
        std::memcpy(&ind, row + c.indOff, sizeof ind);
        return ind < 0;
    }

    static std::string_view textIn(const char* row, const Column& c) {
        if (c.type == SQL_VARYING) {
            unsigned short l;
            std::memcpy(&l, row + c.dataOff, 2);
            return std::string_view(row + c.dataOff + 2, l);
        }
        return std::string_view(row + c.dataOff, static_cast<size_t>(c.len));
    }

    template <typename T>
    static T numberIn(const char* row, const Column& c) {
        T v;
        std::memcpy(&v, row + c.dataOff, sizeof v);
        return v;
    }

    static bool isInteger(short t) { return t == SQL_SHORT || t == SQL_LONG || t == SQL_INT64; }

    static std::int64_t integerIn(const char* row, const Column& c) {
        switch (c.type) {
        case SQL_SHORT: return numberIn<ISC_SHORT>(row, c);
        case SQL_LONG: return numberIn<ISC_LONG>(row, c);
        default: return numberIn<ISC_INT64>(row, c);
        }
    }

    std::string readBlob(ISC_QUAD id) {
        clearUpperVectorState();
        ISC_STATUS_ARRAY status;
        isc_blob_handle bh = 0;
        auto* tr = static_cast<isc_tr_handle*>(q.tr_.handle());
        if (isc_open_blob2(status, &state->db, tr, &bh, &id, 0, nullptr)) throwStatus(status);
        // The blob's length first, so its bytes go straight into one string of
        // that length; a length the server does not give is found by growing.
        std::string data;
        char item = isc_info_blob_total_length;
        char info[32] = {};
        if (isc_blob_info(status, &bh, 1, &item, sizeof info, info) == 0 &&
            info[0] == isc_info_blob_total_length) {
            const short l = static_cast<short>(isc_vax_integer(info + 1, 2));
            const ISC_LONG total = isc_vax_integer(info + 3, l);
            if (total > 0) data.resize(static_cast<size_t>(total));
        }
        size_t n = 0;
        char spare[1024];   // past the announced length: only the end should come
        for (;;) {
            const bool within = n < data.size();
            char* at = within ? data.data() + n : spare;
            const auto room = static_cast<unsigned short>(
                within ? std::min<size_t>(data.size() - n, 65535) : sizeof spare);
            unsigned short got = 0;
            const ISC_STATUS r = isc_get_segment(status, &bh, &got, room, at);
            if (within) {
                n += got;
            } else {
                data.resize(n);
                data.append(spare, got);
                n = data.size();
            }
            if (r == 0 || status[1] == isc_segment) continue;
            if (status[1] == isc_segstr_eof) break;
            ISC_STATUS_ARRAY s2;
            isc_close_blob(s2, &bh);
            throwStatus(status);
        }
        data.resize(n);
        if (isc_close_blob(status, &bh)) throwStatus(status);
        return data;
    }

    const std::string& blobOfCurrent(int index) {
        if (cacheRow != pos) {
            blobCache.assign(cols.size(), std::nullopt);
            cacheRow = pos;
        }
        std::optional<std::string>& slot = blobCache[static_cast<size_t>(index)];
        if (!slot) slot = readBlob(numberIn<ISC_QUAD>(currentRow(), cols[static_cast<size_t>(index)]));
        return *slot;
    }

    // A blob's bytes of the current row moved out of the kept copy (read now
    // when there is none); other fields as bytesOf gives them.
    std::string takeBytesOf(int index) {
        const char* row = currentRow();
        const Column& c = cols[static_cast<size_t>(index)];
        if (!row || nullIn(row, c) || c.type != SQL_BLOB) return bytesOf(index);
        std::optional<std::string>* slot =
            cacheRow == pos ? &blobCache[static_cast<size_t>(index)] : nullptr;
        if (!slot || !*slot) return readBlob(numberIn<ISC_QUAD>(row, c));
        std::string bytes = std::move(**slot);
        slot->reset();
        return bytes;
    }

    // Raw value of a field as the program sees it: text and blobs as stored bytes.
    std::string bytesOf(int index) {
        const char* row = currentRow();
        const Column& c = cols[static_cast<size_t>(index)];
        if (!row || nullIn(row, c)) return std::string();
        if (c.type == SQL_BLOB) return blobOfCurrent(index);
        if (c.type == SQL_TEXT || c.type == SQL_VARYING) return std::string(textIn(row, c));
        return stringOf(index);
    }

    std::string stringOf(int index) {
        const char* row = currentRow();
        const Column& c = cols[static_cast<size_t>(index)];
        if (!row || nullIn(row, c)) return std::string();
        switch (c.type) {
        case SQL_TEXT:
        case SQL_VARYING: return fromShiftJis(textIn(row, c));
        case SQL_BLOB: return fromShiftJis(blobOfCurrent(index));
        case SQL_SHORT:
        case SQL_LONG:
        case SQL_INT64:
            if (c.scale == 0) return std::to_string(integerIn(row, c));
            return formatFloat(static_cast<double>(integerIn(row, c)) * powerOfTen(c.scale));
        case SQL_FLOAT: return formatFloat(numberIn<float>(row, c));
        case SQL_DOUBLE:
        case SQL_D_FLOAT: return formatFloat(numberIn<double>(row, c));
        case SQL_TIMESTAMP: {
            ISC_TIMESTAMP ts = numberIn<ISC_TIMESTAMP>(row, c);
            struct tm t {};
            isc_decode_timestamp(&ts, &t);
            char buf[48];
            if (t.tm_hour || t.tm_min || t.tm_sec)
                std::snprintf(buf, sizeof buf, "%04d/%02d/%02d %02d:%02d:%02d", t.tm_year + 1900,
                              t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec);
            else
                std::snprintf(buf, sizeof buf, "%04d/%02d/%02d", t.tm_year + 1900, t.tm_mon + 1, t.tm_mday);
            return buf;
        }
        case SQL_TYPE_DATE: {
            ISC_DATE d = numberIn<ISC_DATE>(row, c);
            struct tm t {};
            isc_decode_sql_date(&d, &t);
            char buf[32];
            std::snprintf(buf, sizeof buf, "%04d/%02d/%02d", t.tm_year + 1900, t.tm_mon + 1, t.tm_mday);
            return buf;
        }
        case SQL_TYPE_TIME: {
            ISC_TIME tt = numberIn<ISC_TIME>(row, c);
            struct tm t {};
            isc_decode_sql_time(&tt, &t);
            char buf[32];
            std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", t.tm_hour, t.tm_min, t.tm_sec);
            return buf;
        }
#ifdef SQL_BOOLEAN
        case SQL_BOOLEAN: return numberIn<unsigned char>(row, c) ? "True" : "False";
#endif
        default: throw Error("Column " + c.name + " has a type this program does not read");
        }
    }

    std::int32_t integerOf(int index) {
        const char* row = currentRow();
        const Column& c = cols[static_cast<size_t>(index)];
        if (!row || nullIn(row, c)) return 0;
        if (isInteger(c.type)) {
            const std::int64_t v = integerIn(row, c);
            if (c.scale == 0) {
                if (v < std::numeric_limits<std::int32_t>::min() || v > std::numeric_limits<std::int32_t>::max())
                    throw Error(std::to_string(v) + " is not a valid integer value");
                return static_cast<std::int32_t>(v);
            }
            return roundToInt32(static_cast<double>(v) * powerOfTen(c.scale));
        }
        switch (c.type) {
        case SQL_FLOAT: return roundToInt32(numberIn<float>(row, c));
        case SQL_DOUBLE:
        case SQL_D_FLOAT: return roundToInt32(numberIn<double>(row, c));
#ifdef SQL_BOOLEAN
        case SQL_BOOLEAN: return numberIn<unsigned char>(row, c) ? 1 : 0;
#endif
        default: return parseInteger(stringOf(index));
        }
    }

    double floatOf(int index) {
        const char* row = currentRow();
        const Column& c = cols[static_cast<size_t>(index)];
        if (!row || nullIn(row, c)) return 0;
        if (isInteger(c.type)) return static_cast<double>(integerIn(row, c)) * powerOfTen(c.scale);
        switch (c.type) {
        case SQL_FLOAT: return numberIn<float>(row, c);
        case SQL_DOUBLE:
        case SQL_D_FLOAT: return numberIn<double>(row, c);
        default: return parseFloat(stringOf(index));
        }
    }

    // ---- bookmarks

    // The values of the non-blob columns of a row; the first column apart.
    void keyOf(size_t rowIndex, std::string& first, std::string& rest) const {
        first.clear();
        rest.clear();
        const char* row = rows.row(rowIndex);
        for (size_t i = 0; i < cols.size(); ++i) {
            const Column& c = cols[i];
            std::string& k = i == 0 ? first : rest;
            if (c.type == SQL_BLOB || c.type == SQL_ARRAY) {
                if (i == 0) k += 'B';
                continue;
            }
            if (nullIn(row, c)) {
                k += 'N';
                continue;
            }
            k += 'V';
            std::string_view v = (c.type == SQL_VARYING || c.type == SQL_TEXT)
                                     ? textIn(row, c)
                                     : std::string_view(row + c.dataOff, static_cast<size_t>(c.len));
            const std::uint32_t l = static_cast<std::uint32_t>(v.size());
            k.append(reinterpret_cast<const char*>(&l), sizeof l);
            k.append(v);
        }
    }

    void moveTo(int target, bool hitStart, bool hitEnd) {
        const int n = static_cast<int>(rows.size());
        if (!active) return;
        if (n == 0) {
            pos = -1;
            bof = eof = true;
        } else {
            pos = std::clamp(target, 0, n - 1);
            bof = hitStart;
            eof = hitEnd;
        }
        // The blobs read on the row left go with it.
        if (pos != cacheRow) dropBlobCache();
        notify(&QueryObserver::cursorMoved);
    }
};

// ----------------------------------------------------------------- Param

void Param::setInteger(std::int32_t v) {
    kind_ = Kind::Integer;
    i_ = v;
    bytes_.clear();
}

void Param::setDouble(double v) {
    kind_ = Kind::Double;
    d_ = v;
    bytes_.clear();
}

void Param::setString(std::string_view utf8) {
    bytes_ = toShiftJis(utf8);
    kind_ = Kind::String;
}

void Param::setBlob(std::string_view bytes) {
    bytes_.assign(bytes);
    kind_ = Kind::Blob;
}

void Param::setTextBlob(std::string_view utf8) {
    bytes_ = toShiftJis(utf8);
    kind_ = Kind::TextBlob;
}

void Param::clear() {
    kind_ = Kind::Null;
    bytes_.clear();
    bytes_.shrink_to_fit();
}

bool Param::isSet() const { return kind_ != Kind::Null; }

// ----------------------------------------------------------------- Field

bool Field::isNull() const {
    const auto& impl = *query_->impl_;
    const char* row = impl.currentRow();
    if (!row || index_ >= static_cast<int>(impl.cols.size())) return true;
    return Query::Impl::nullIn(row, impl.cols[static_cast<size_t>(index_)]);
}

bool Field::isBlob() const {
    const auto& impl = *query_->impl_;
    return index_ < static_cast<int>(impl.cols.size()) && impl.cols[static_cast<size_t>(index_)].type == SQL_BLOB;
}

std::string Field::asString() const {
    if (isNull()) return std::string();
    return query_->impl_->stringOf(index_);
}

std::int32_t Field::asInteger() const {
    if (isNull()) return 0;
    return query_->impl_->integerOf(index_);
}

double Field::asFloat() const {
    if (isNull()) return 0;
    return query_->impl_->floatOf(index_);
}

std::string Field::asBytes() const {
    if (isNull()) return std::string();
    return query_->impl_->bytesOf(index_);
}

std::string Field::takeBytes() const {
    if (isNull()) return std::string();
    return query_->impl_->takeBytesOf(index_);
}

// ----------------------------------------------------------------- Query

Query::Query(Connection& db, Transaction& tr)
    : db_(db), tr_(tr), impl_(std::make_unique<Impl>(*this, db.impl_->state)) {}

Query::~Query() = default;

void Query::close() {
    Impl& d = *impl_;
    if (!d.active) return;
    d.active = false;
    d.rows.clear();
    d.pos = -1;
    d.bof = d.eof = true;
    d.dropBlobCache();
    d.notify(&QueryObserver::queryClosed);
}

void Query::sqlClear() {
    Impl& d = *impl_;
    d.lines.clear();
    d.params.clear();   // no value survives into the next statement
    d.positionParam.clear();
    d.parsed = false;
}

void Query::sqlAdd(std::string_view piece) {
    impl_->lines.emplace_back(piece);
    impl_->parsed = false;
}

std::string Query::sqlText() const { return impl_->text(); }

Param& Query::paramByName(std::string_view name) {
    Impl& d = *impl_;
    if (!name.empty() && name.front() == ':') name.remove_prefix(1);
    d.ensureParsed();
    const std::string key = upperAscii(name);
    for (auto& p : d.params)
        if (upperAscii(p->name_) == key) return *p;
    throw Error("Parameter \"" + std::string(name) + "\" is not in the statement");
}

void Query::open() {
    close();
    impl_->run();
}

void Query::execQuery() {
    close();
    impl_->affected = 0;
    impl_->run();
}

long Query::rowsAffected() const { return impl_->affected; }

bool Query::active() const { return impl_->active; }

void Query::first() { impl_->moveTo(0, true, impl_->rows.size() == 0); }

void Query::last() {
    const int n = static_cast<int>(impl_->rows.size());
    impl_->moveTo(n - 1, n == 0, true);
}

void Query::next() {
    Impl& d = *impl_;
    const int n = static_cast<int>(d.rows.size());
    if (d.pos + 1 < n) d.moveTo(d.pos + 1, false, false);
    else d.moveTo(d.pos, n == 0, true);
}

void Query::prior() {
    Impl& d = *impl_;
    const int n = static_cast<int>(d.rows.size());
    if (d.pos > 0) d.moveTo(d.pos - 1, false, false);
    else d.moveTo(d.pos, true, n == 0);
}

void Query::moveBy(int n) {
    Impl& d = *impl_;
    const int count = static_cast<int>(d.rows.size());
    const long long target = static_cast<long long>(d.pos) + n;
    if (target < 0) d.moveTo(0, true, count == 0);
    else if (target > count - 1) d.moveTo(count - 1, count == 0, true);
    else d.moveTo(static_cast<int>(target), false, false);
}

bool Query::bof() const { return !impl_->active || impl_->bof; }
bool Query::eof() const { return !impl_->active || impl_->eof; }

int Query::recordCount() const { return impl_->active ? static_cast<int>(impl_->rows.size()) : 0; }

int Query::recNo() const { return impl_->active ? impl_->pos : -1; }

void Query::setRecNo(int row) {
    const int n = static_cast<int>(impl_->rows.size());
    impl_->moveTo(row, n == 0, n == 0);
}

int Query::fieldCount() const { return impl_->active ? static_cast<int>(impl_->fields.size()) : 0; }

Field& Query::fields(int index) {
    Impl& d = *impl_;
    if (!d.active) throw Error("The query is not open");
    if (index < 0 || index >= static_cast<int>(d.fields.size()))
        throw Error("Field index " + std::to_string(index) + " out of range");
    return *d.fields[static_cast<size_t>(index)];
}

Field& Query::fieldByName(std::string_view name) {
    Impl& d = *impl_;
    if (!d.active) throw Error("The query is not open");
    auto it = d.fieldIndex.find(upperAscii(name));
    if (it == d.fieldIndex.end()) throw Error("Field '" + std::string(name) + "' not found");
    return *d.fields[static_cast<size_t>(it->second)];
}

Bookmark Query::getBookmark() const {
    const Impl& d = *impl_;
    Bookmark b;
    if (!d.currentRow()) return b;
    b.row = d.pos;
    std::string first, rest;
    d.keyOf(static_cast<size_t>(d.pos), first, rest);
    const std::uint32_t l = static_cast<std::uint32_t>(first.size());
    b.key.assign(reinterpret_cast<const char*>(&l), sizeof l);
    b.key += first;
    b.key += rest;
    return b;
}

bool Query::gotoBookmark(const Bookmark& b) {
    Impl& d = *impl_;
    if (!b.valid() || !d.active) return false;
    const int n = static_cast<int>(d.rows.size());
    if (n == 0) {
        d.moveTo(-1, true, true);
        return false;
    }
    std::string wantFirst, wantRest;
    if (b.key.size() >= 4) {
        std::uint32_t l;
        std::memcpy(&l, b.key.data(), 4);
        if (4 + static_cast<size_t>(l) <= b.key.size()) {
            wantFirst = b.key.substr(4, l);
            wantRest = b.key.substr(4 + l);
        }
    }
    // Exact row nearest the old position, else same first column nearest it.
    int exact = -1, sameKey = -1;
    long long exactDist = 0, keyDist = 0;
    std::string first, rest;
    for (int i = 0; i < n; ++i) {
        d.keyOf(static_cast<size_t>(i), first, rest);
        if (first != wantFirst) continue;
        const long long dist = std::llabs(static_cast<long long>(i) - b.row);
        if (sameKey < 0 || dist < keyDist) { sameKey = i; keyDist = dist; }
        if (rest == wantRest && (exact < 0 || dist < exactDist)) { exact = i; exactDist = dist; }
    }
    const int target = exact >= 0 ? exact : sameKey;
    if (target >= 0) {
        d.moveTo(target, false, false);
        return true;
    }
    d.moveTo(static_cast<int>(std::min<long long>(b.row, n - 1)), false, false);
    return false;
}

void Query::addObserver(QueryObserver* o) {
    if (o && std::find(impl_->observers.begin(), impl_->observers.end(), o) == impl_->observers.end())
        impl_->observers.push_back(o);
}

void Query::removeObserver(QueryObserver* o) {
    auto& v = impl_->observers;
    v.erase(std::remove(v.begin(), v.end(), o), v.end());
}

}  // namespace tolvane::db
