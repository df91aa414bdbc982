// Database layer benchmark on a generated catch database of 10,000 records,
// 1,000 of them with four photos of about 300 KB:
//   (a) open "select * from FISH_DATA order by CODENO" and go to the last row,
//       beside the same select fetched by a bare ISC-API loop, with the ratio
//       and the peak memory of the process;
//   (b) 100 moves of +-1 and +-10, reading one photo blob at each;
//   (c) one full 57-column insert with commit-retaining;
//   (d) select max(CODENO);
//   (e) the totals of one fish: one bare per-slot sum statement beside the
//       grouped statement of a per-year click, a per-month click and the
//       year-by-month table.
//
//   tolvane_bench_db [--regenerate] [DIR]
// DIR holds the generated SORVENDA.FDB (made once, in a child process, so the
// figures of this process are not those of the generation).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include <ibase.h>
#include <sys/wait.h>
#include <unistd.h>

#include "db/fb.h"
#ifdef TOLVANE_BENCH_TOTALS
#include "totals/figures.h"
#endif

namespace fs = std::filesystem;
using namespace tolvane;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kRecords = 10000;
constexpr int kPhotoFirst = 4501;   // records 4501..5500 carry four photos each
constexpr int kPhotoLast = 5500;
constexpr const char* kSelect = "select * from FISH_DATA order by CODENO";

double msSince(Clock::time_point t0) {
    return std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Resident-set figures of this process from /proc/self/status, in MB.
double statusMb(const char* key) {
    std::ifstream in("/proc/self/status");
    std::string line;
    const size_t keyLen = std::strlen(key);
    while (std::getline(in, line))
        if (line.compare(0, keyLen, key) == 0) return std::atof(line.c_str() + keyLen + 1) / 1024.0;
    return -1;
}

// Starts a new high-water mark at the current resident size.
void resetPeakRss() {
    std::ofstream out("/proc/self/clear_refs");
    out << "5";
}

void prepareFirebirdEnvironment() {
    if (std::getenv("FIREBIRD_LOCK") == nullptr) {
        const fs::path lock = fs::temp_directory_path() / ("tolvane-fblock-" + std::to_string(getuid()));
        fs::create_directories(lock);
        setenv("FIREBIRD_LOCK", lock.c_str(), 1);
    }
}

// ------------------------------------------------------------- generation

const char* const kColumns[57] = {
    "CODENO", "DAY_DATA", "TENNKI", "FUNE", "BASYO", "SHIO", "KIJYUNN", "KYUUREKI", "OLD_SHIO",
    "MAX1", "MAX2", "MAX1_HIGHT", "MAX2_HIGHT", "MIN1", "MIN2", "MIN1_LOW", "MIN2_LOW",
    "FISH1", "FISH1_MAX", "FISH1_MIN", "FISH1_KAZU", "FISH2", "FISH2_MAX", "FISH2_MIN", "FISH2_KAZU",
    "FISH3", "FISH3_MAX", "FISH3_MIN", "FISH3_KAZU", "SHIKAKE", "BIKOU", "SHIO_ZU", "CHIZU",
    "PHOTO1", "PHOTO2", "PHOTO3", "PHOTO4",
    "NEW_1_S", "NEW_1_E", "NEW_2_S", "NEW_2_E", "NEW_3_S", "NEW_3_E", "NEW_4_S", "NEW_4_E",
    "NEW_5_S", "NEW_5_E", "NEW_6_S", "NEW_6_E",
    "TIME1_L", "TIME1_T", "TIME1_W", "TIME1_H", "TIME2_L", "TIME2_T", "TIME2_W", "TIME2_H"};

std::string insertStatement() {
    std::string cols, pars;
    for (int i = 0; i < 57; ++i) {
        cols += std::string(i ? "," : "") + kColumns[i];
        pars += std::string(i ? "," : "") + ":par" + kColumns[i];
    }
    return "insert into FISH_DATA (" + cols + ") values (" + pars + ")";
}

// Random bytes from which each photo takes its own slice.
const std::string& photoPool() {
    static const std::string pool = [] {
        std::string p(4 << 20, '\0');
        std::mt19937_64 rng(2024);
        for (size_t i = 0; i + 8 <= p.size(); i += 8) {
            const auto x = rng();
            std::memcpy(&p[i], &x, 8);
        }
        return p;
    }();
    return pool;
}

std::string_view photo(int n) {
    const size_t size = 280 * 1024 + static_cast<size_t>(n * 7919) % (40 * 1024);
    const size_t off = static_cast<size_t>(n) * 104729 % (photoPool().size() - size);
    return std::string_view(photoPool()).substr(off, size);
}

// Sets the 57 parameters of one whole record, as the catch entry window does.
void setRecord(db::Query& q, int code, bool photos, bool pictures) {
    char day[16];
    std::snprintf(day, sizeof day, "%04d/%02d/%02d", 2000 + code % 25, 1 + code % 12, 1 + code % 28);
    const char* places[] = {"城ヶ島", "剱崎", "観音崎", "真鶴", "初島"};
    const char* fish[] = {"アジ", "メバル", "カサゴ", "シロギス", "マダイ"};
    q.paramByName("parCODENO").setInteger(code);
    q.paramByName("parDAY_DATA").setString(day);
    q.paramByName("parTENNKI").setString("晴れ");
    q.paramByName("parFUNE").setString("第三浜丸");
    q.paramByName("parBASYO").setString(places[code % 5]);
    q.paramByName("parSHIO").setString("大潮");
    q.paramByName("parKIJYUNN").setString("油壺");
    q.paramByName("parKYUUREKI").setString("3/15");
    q.paramByName("parOLD_SHIO").setString("");
    q.paramByName("parMAX1").setString("05:07");
    q.paramByName("parMAX2").setString("17:40");
    q.paramByName("parMAX1_HIGHT").setInteger(152);
    q.paramByName("parMAX2_HIGHT").setInteger(148);
    q.paramByName("parMIN1").setString("11:20");
    q.paramByName("parMIN2").setString("23:51");
    q.paramByName("parMIN1_LOW").setInteger(12);
    q.paramByName("parMIN2_LOW").setInteger(30);
    q.paramByName("parFISH1").setString(fish[code % 5]);
    q.paramByName("parFISH1_MAX").setInteger(32);
    q.paramByName("parFISH1_MIN").setInteger(18);
    q.paramByName("parFISH1_KAZU").setInteger(code % 40);
    q.paramByName("parFISH2").setString(fish[(code + 1) % 5]);
    q.paramByName("parFISH2_MAX").setInteger(25);
    q.paramByName("parFISH2_MIN").setInteger(20);
    q.paramByName("parFISH2_KAZU").setInteger(3);
    q.paramByName("parFISH3").setString("");
    q.paramByName("parSHIKAKE").setTextBlob("胴突き仕掛け　ハリス２号\r\nオモリ３０号");
    q.paramByName("parBIKOU").setTextBlob("朝マヅメに連発。\r\n潮止まりで食いが落ちた。");
    if (pictures) {
        q.paramByName("parSHIO_ZU").setBlob(photo(code * 8 + 1).substr(0, 60 * 1024));
        q.paramByName("parCHIZU").setBlob(photo(code * 8 + 2).substr(0, 60 * 1024));
    }
    if (photos)
        for (int k = 1; k <= 4; ++k)
            q.paramByName("parPHOTO" + std::to_string(k)).setBlob(photo(code * 4 + k));
    for (int k = 7; k < 57; ++k)
        if (std::strncmp(kColumns[k] + 0, "NEW_", 4) == 0 || std::strncmp(kColumns[k], "TIME", 4) == 0)
            q.paramByName(std::string("par") + kColumns[k]).setInteger(k);
}

void generate(const fs::path& dir) {
    const fs::path file = dir / "SORVENDA.FDB";
    const fs::path work = dir / "work";
    fs::remove_all(work);
    fs::create_directories(work);
    const std::string cmd = "bash '" + (fs::path(TOLVANE_SOURCE_DIR) / "scripts/create-databases.sh").string() +
                            "' '" + work.string() + "' >/dev/null";
    if (std::system(cmd.c_str()) != 0) {
        std::fprintf(stderr, "creating the database failed: %s\n", cmd.c_str());
        std::exit(1);
    }
    const auto t0 = Clock::now();
    {
        db::Connection conn;
        db::Transaction tr(conn);
        conn.databaseName = (work / "SORVENDA.FDB").string();
        db::Query q(conn, tr);
        const std::string sql = insertStatement();
        for (int code = 1; code <= kRecords; ++code) {
            q.close();
            q.sqlClear();
            q.sqlAdd(sql);
            setRecord(q, code, code >= kPhotoFirst && code <= kPhotoLast, false);
            q.execQuery();
        }
        tr.commitRetaining();
    }
    fs::rename(work / "SORVENDA.FDB", file);
    fs::remove_all(work);
    std::printf("generated %s: %d records, %d with four photos, in %.1f s (%.0f MB)\n", file.c_str(),
                kRecords, kPhotoLast - kPhotoFirst + 1, msSince(t0) / 1000.0,
                static_cast<double>(fs::file_size(file)) / (1 << 20));
}

// ------------------------------------------------------------- the bare loop

// The same select through the ISC API alone: prepare, execute, fetch every
// row into one buffer, nothing kept.
int bareFetch(isc_db_handle* db, isc_tr_handle* tr) {
    ISC_STATUS_ARRAY st;
    isc_stmt_handle stmt = 0;
    auto check = [&st](ISC_STATUS r) {
        if (r) {
            isc_print_status(st);
            std::exit(1);
        }
    };
    check(isc_dsql_allocate_statement(st, db, &stmt));
    XSQLDA* da = static_cast<XSQLDA*>(std::calloc(1, XSQLDA_LENGTH(80)));
    da->version = SQLDA_VERSION1;
    da->sqln = 80;
    check(isc_dsql_prepare(st, tr, &stmt, 0, kSelect, 1, da));
    std::vector<char> buf;
    size_t size = 0;
    for (int i = 0; i < da->sqld; ++i) size += ((da->sqlvar[i].sqllen + 2 + 7) / 8) * 8 + 8;
    buf.resize(size);
    size_t off = 0;
    for (int i = 0; i < da->sqld; ++i) {
        XSQLVAR& v = da->sqlvar[i];
        v.sqltype |= 1;
        v.sqldata = buf.data() + off;
        off += ((v.sqllen + 2 + 7) / 8) * 8;
        v.sqlind = reinterpret_cast<short*>(buf.data() + off);
        off += 8;
    }
    check(isc_dsql_execute(st, tr, &stmt, 1, nullptr));
    int rows = 0;
    ISC_STATUS r;
    while ((r = isc_dsql_fetch(st, &stmt, 1, da)) == 0) ++rows;
    if (r != 100) check(r);
    check(isc_dsql_free_statement(st, &stmt, DSQL_drop));
    std::free(da);
    return rows;
}

void openQuery(db::Query& q, const std::string& sql) {
    q.close();
    q.sqlClear();
    q.sqlAdd(sql);
    q.open();
}

}  // namespace

int main(int argc, char** argv) {
    prepareFirebirdEnvironment();
    bool regenerate = false;
    fs::path dir = TOLVANE_BENCH_DATA_DIR;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--regenerate") == 0) regenerate = true;
        else dir = argv[i];
    }
    fs::create_directories(dir);
    const fs::path file = dir / "SORVENDA.FDB";
    if (regenerate) fs::remove(file);
    if (!fs::exists(file)) {
        std::fflush(stdout);
        const pid_t pid = fork();
        if (pid == 0) {
            generate(dir);
            std::fflush(stdout);
            _exit(0);
        }
        int status = 0;
        waitpid(pid, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            std::fprintf(stderr, "generating the benchmark database failed\n");
            return 1;
        }
    }

    db::Connection conn;
    db::Transaction tr(conn);
    conn.databaseName = file.string();
    db::Query q(conn, tr);
    tr.ensureStarted();
    auto* dbh = static_cast<isc_db_handle*>(conn.handle());
    auto* trh = static_cast<isc_tr_handle*>(tr.handle());
    std::printf("database %s (%.0f MB)\n", file.c_str(), static_cast<double>(fs::file_size(file)) / (1 << 20));
    std::printf("RSS after attach: %.1f MB\n", statusMb("VmRSS:"));

    // (a) ---------------------------------------------------------------
    resetPeakRss();
    constexpr int kRuns = 7;
    std::vector<double> ours, bare;
    int rows = 0, lastCode = 0;
    bareFetch(dbh, trh);   // warm the page cache for both
    for (int run = 0; run < kRuns; ++run) {
        auto t0 = Clock::now();
        rows = bareFetch(dbh, trh);
        bare.push_back(msSince(t0));
        t0 = Clock::now();
        openQuery(q, kSelect);
        q.last();
        lastCode = q.fieldByName("CODENO").asInteger();
        ours.push_back(msSince(t0));
    }
    const double peakA = statusMb("VmHWM:");
    std::printf("\n(a) open \"%s\" and go to the last row (%d rows, last CODENO %d), median of %d:\n", kSelect,
                q.recordCount(), lastCode, kRuns);
    std::printf("    tolvane::db::Query  %8.2f ms\n", median(ours));
    std::printf("    bare ISC fetch loop %8.2f ms  (%d rows)\n", median(bare), rows);
    std::printf("    ratio               %8.2fx   (target <= 1.5x)\n", median(ours) / median(bare));
    std::printf("    peak RSS of the process %.1f MB (target <= 64 MB)\n", peakA);

    // (b) ---------------------------------------------------------------
    q.setRecNo(kPhotoFirst - 1 + 500);   // inside the records with photos
    const int pattern[] = {1, 10, -1, -10, 10, 1, -10, -1};
    size_t bytes = 0;
    auto t0 = Clock::now();
    for (int i = 0; i < 100; ++i) {
        q.moveBy(pattern[i % 8]);
        bytes += q.fieldByName("PHOTO1").asBytes().size();
    }
    const double moves = msSince(t0);
    std::printf("\n(b) 100 moves of +-1 and +-10 reading PHOTO1 at each: %.2f ms in all, %.3f ms a move "
                "(%.1f MB read)\n", moves, moves / 100, static_cast<double>(bytes) / (1 << 20));
    std::printf("    peak RSS of the process %.1f MB\n", statusMb("VmHWM:"));

    // (c) ---------------------------------------------------------------
    auto insertOnce = [&](int code, bool photos, bool pictures) {
        const auto t = Clock::now();
        q.close();
        q.sqlClear();
        q.sqlAdd(insertStatement());
        setRecord(q, code, photos, pictures);
        q.execQuery();
        tr.commitRetaining();
        return msSince(t);
    };
    std::vector<double> plain, withPictures;
    for (int i = 0; i < 15; ++i) plain.push_back(insertOnce(kRecords + 1 + i, false, false));
    for (int i = 0; i < 15; ++i) withPictures.push_back(insertOnce(kRecords + 101 + i, true, true));
    openQuery(q, "delete from FISH_DATA where CODENO > " + std::to_string(kRecords));
    tr.commitRetaining();
    std::printf("\n(c) one 57-column insert + commit-retaining, median of 15 (target <= 5 ms):\n");
    std::printf("    texts, numbers, two text blobs, no pictures  %6.2f ms\n", median(plain));
    std::printf("    the same with tide chart, map (60 KB each) and four photos (~300 KB each)  %6.2f ms\n",
                median(withPictures));

    // (d) ---------------------------------------------------------------
    std::vector<double> maxes;
    int key = 0;
    for (int i = 0; i < 21; ++i) {
        t0 = Clock::now();
        key = db::nextKey(q, "select max(CODENO) from FISH_DATA");
        maxes.push_back(msSince(t0));
    }
    std::printf("\n(d) select max(CODENO) (new key %d), median of 21: %.3f ms\n", key, median(maxes));
#ifdef TOLVANE_BENCH_TOTALS
    // (e) ---------------------------------------------------------------
    {
        constexpr int kTotalRuns = 11;
        std::vector<double> bareSum, perYear, perMonth, yearMonth;
        std::int64_t check = 0;
        for (int i = 0; i < kTotalRuns; ++i) {
            t0 = Clock::now();
            q.close();
            q.sqlClear();
            q.sqlAdd("select sum(FISH1_KAZU) from FISH_DATA where DAY_DATA like :parNenn_Do and FISH1 = "
                     ":parFishName");
            q.paramByName("parNenn_Do").setString("2019______");
            q.paramByName("parFishName").setString("アジ");
            q.open();
            check = q.fields(0).asInteger();
            bareSum.push_back(msSince(t0));
            t0 = Clock::now();
            totals::groupedFigures(q, QStringLiteral("アジ"), 1, 4);
            perYear.push_back(msSince(t0));
            t0 = Clock::now();
            totals::groupedFigures(q, QStringLiteral("アジ"), 6, 2);
            perMonth.push_back(msSince(t0));
            t0 = Clock::now();
            totals::groupedFigures(q, QStringLiteral("アジ"), 1, 7);
            yearMonth.push_back(msSince(t0));
        }
        const double b = median(bareSum);
        std::printf("\n(e) totals of one fish, median of %d (target <= 6x the bare statement):\n", kTotalRuns);
        std::printf("    bare per-slot sum statement (2019, slot 1: %lld)  %7.2f ms\n",
                    static_cast<long long>(check), b);
        std::printf("    per-year click, one grouped statement        %7.2f ms  %5.2fx\n", median(perYear),
                    median(perYear) / b);
        std::printf("    per-month click, one grouped statement       %7.2f ms  %5.2fx\n", median(perMonth),
                    median(perMonth) / b);
        std::printf("    year-by-month table, one grouped statement   %7.2f ms  %5.2fx\n", median(yearMonth),
                    median(yearMonth) / b);
    }
#endif

    std::printf("\npeak RSS of the whole run %.1f MB\n", statusMb("VmHWM:"));
    return 0;
}
