// Maintenance window benchmark on the generated catch database of
// tolvane_bench_db (10,000 records) and a generated memo database of 3,000
// memos (made once beside it):
//   (a) the window made and shown (its three lists read into the grids)
//       beside the bare opening of the same three selects with the same
//       memo-text reads;
//   (b) one catch deletion with the list reopened and the grid refilled;
//   and the peak memory of the process.
//
//   tolvane_bench_mente [DIR]     (DIR as for tolvane_bench_db)
#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "core/DM_1.h"
#include "maintenance/Mente_F.h"
#include "db/fb.h"

namespace fs = std::filesystem;
using namespace tolvane;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kMemos = 3000;

double msSince(Clock::time_point t0) {
    return std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double statusMb(const char* key) {
    std::ifstream in("/proc/self/status");
    std::string line;
    const size_t keyLen = std::strlen(key);
    while (std::getline(in, line))
        if (line.compare(0, keyLen, key) == 0) return std::atof(line.c_str() + keyLen + 1) / 1024.0;
    return -1;
}

void exec(db::Query& q, const std::string& sql) {
    q.close();
    q.sqlClear();
    q.sqlAdd(sql);
    q.execQuery();
}

// The memo database: 3,000 memos with texts of a few lines, every tenth with
// a map of 40 KB; twenty genres; the lessons table.
void generateMemos(const fs::path& dir) {
    const fs::path work = dir / "memo-work";
    fs::remove_all(work);
    fs::create_directories(work);
    const std::string cmd = "bash '" + (fs::path(TOLVANE_SOURCE_DIR) / "scripts/create-databases.sh").string() +
                            "' '" + work.string() + "' >/dev/null";
    if (std::system(cmd.c_str()) != 0) {
        std::fprintf(stderr, "creating the database failed: %s\n", cmd.c_str());
        std::exit(1);
    }
    {
        db::Connection conn;
        db::Transaction tr(conn);
        conn.databaseName = (work / "KELDMARK.FDB").string();
        db::Query q(conn, tr);
        exec(q, " CREATE TABLE FISH_KADAI ( K00_CODENO INTEGER, K00_PAPANO INTEGER, K01_FISH VARCHAR(40),"
                " K02_PLACE VARCHAR(40), K03_TUKI VARCHAR(10), K10_MEMO BLOB SUB_TYPE TEXT SEGMENT SIZE 80 ) ");
        tr.commitRetaining();
        const char* fish[] = {"アジ", "メバル", "カサゴ", "シロギス", "マダイ"};
        const std::string map(40 * 1024, 'M');
        for (int i = 1; i <= kMemos; ++i) {
            q.close();
            q.sqlClear();
            q.sqlAdd("insert into FISH_MEMO (CODE, FISH1, FISH2, BUNRUI, M1, F_MEMO, F_MAP) values "
                     "(:c, :f1, :f2, :b, 1, :m, :p)");
            q.paramByName("c").setInteger(i);
            q.paramByName("f1").setString(fish[i % 5]);
            q.paramByName("f2").setString(fish[(i + 2) % 5]);
            q.paramByName("b").setString("釣り方");
            q.paramByName("m").setTextBlob("潮が動き出す前に仕掛けを入れる。\r\n根掛かりに注意。\r\n"
                                           "エサはオキアミ、コマセは少なめに。 " + std::to_string(i));
            if (i % 10 == 0) q.paramByName("p").setBlob(map);
            q.execQuery();
        }
        for (int g = 1; g <= 20; ++g) exec(q, "insert into SYURUI (SYURUI) values ('ジャンル" + std::to_string(g) + "')");
        tr.commitRetaining();
    }
    fs::rename(work / "KELDMARK.FDB", dir / "KELDMARK.FDB");
    fs::remove_all(work);
    std::printf("generated %s: %d memos\n", (dir / "KELDMARK.FDB").c_str(), kMemos);
}

// The three selects opened as the window opens them, every memo text read.
void bareOpen() {
    db::Query a(DM1->IBDB2, DM1->IBTr2), b(DM1->IBDB1, DM1->IBTr1), c(DM1->IBDB1, DM1->IBTr1);
    a.sqlAdd("select CODENO, DAY_DATA, FUNE, BASYO, FISH1, FISH1_MAX, FISH1_MIN, FISH1_KAZU, FISH2, FISH2_MAX,"
             " FISH2_MIN, FISH2_KAZU, FISH3, FISH3_MAX, FISH3_MIN, FISH3_KAZU from FISH_DATA order by CODENO");
    a.open();
    a.last();
    b.sqlAdd("select * from FISH_MEMO");
    b.open();
    size_t chars = 0;
    for (b.first(); !b.eof(); b.next()) chars += b.fieldByName("F_MEMO").asString().size();
    b.last();
    c.sqlAdd("select *  from SYURUI");
    c.open();
    if (chars == 0) std::fprintf(stderr, "no memo text read\n");
}

}  // namespace

int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    if (std::getenv("FIREBIRD_LOCK") == nullptr) {
        const fs::path lock = fs::temp_directory_path() / ("tolvane-fblock-" + std::to_string(getuid()));
        fs::create_directories(lock);
        setenv("FIREBIRD_LOCK", lock.c_str(), 1);
    }
    tolvane::db::settleEnvironment();   // before the first thread, as the program does
    const fs::path dir = argc > 1 ? fs::path(argv[1]) : fs::path(TOLVANE_BENCH_DATA_DIR);
    if (!fs::exists(dir / "SORVENDA.FDB")) {
        std::fprintf(stderr, "%s/SORVENDA.FDB is missing: run tolvane_bench_db first\n", dir.c_str());
        return 1;
    }
    if (!fs::exists(dir / "KELDMARK.FDB")) generateMemos(dir);
    fs::current_path(dir);

    QApplication app(argc, argv);
    createDataModule();
    constexpr int kRuns = 7;
    try {
        bareOpen();   // attach both files and warm the page cache
        std::vector<double> bare, shown;
        for (int i = 0; i < kRuns; ++i) {
            auto t0 = Clock::now();
            bareOpen();
            bare.push_back(msSince(t0));
        }
        const double peakBare = statusMb("VmHWM:");
        for (int i = 0; i < kRuns; ++i) {
            const auto t0 = Clock::now();
            {
                TMenteF f(nullptr);
                f.FormShow();
                shown.push_back(msSince(t0));
            }
        }
        std::printf("(a) maintenance window shown, median of %d:\n", kRuns);
        std::printf("    window made and shown          %8.2f ms (target <= 500 ms)\n", median(shown));
        std::printf("    bare opening of its selects    %8.2f ms\n", median(bare));
        std::printf("    ratio                          %8.2fx   (target <= 1.5x)\n", median(shown) / median(bare));
        std::printf("    peak RSS after the bare openings %.1f MB, after the windows %.1f MB\n", peakBare,
                    statusMb("VmHWM:"));

        std::vector<double> deletions;
        TMenteF f(nullptr);
        f.FormShow();
        db::Query ins(DM1->IBDB2, DM1->IBTr2);
        for (int i = 0; i < kRuns; ++i) {
            exec(ins, "insert into FISH_DATA (CODENO, DAY_DATA, BASYO, FISH1) values (20001, '2024/01/01', "
                      "'東京湾', 'アジ')");
            DM1->IBTr2.commitRetaining();
            f.Edit_Data_del->setText("20001");
            const auto t0 = Clock::now();
            f.Btn_D_delClick();
            deletions.push_back(msSince(t0));
            if (!f.Edit_Data_del->text().isEmpty()) {
                std::fprintf(stderr, "the deletion failed\n");
                return 1;
            }
        }
        std::printf("(b) one catch deletion, list reopened and grid refilled, median of %d: %.2f ms "
                    "(target <= 300 ms)\n", kRuns, median(deletions));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "failed: %s\n", e.what());
        return 1;
    }
    std::printf("peak RSS of the process %.1f MB (target <= 64 MB)\n", statusMb("VmHWM:"));
    freeDataModule();
    return 0;
}
