// Database layer benchmark on a generated catch database of 10,000 records,
// 1,000 of them with a tide chart, a map and four JPEG photos (bench_data.h):
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
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "bench_data.h"

#include "db/fb.h"
#ifdef TOLVANE_BENCH_TOTALS
#include "totals/figures.h"
#endif

using namespace benchdata;

namespace {

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
    const fs::path file = ensureDatabase(dir, regenerate);

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
    std::printf("    the same with tide chart, map (640 x 480) and four photos (1280 x 960, ~280 KB)  %6.2f ms\n",
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
