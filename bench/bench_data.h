// The generated catch database of the benchmarks (10,000 records; records
// 4501..5500 carry a tide chart, a map and four JPEG photos) and the bare ISC
// fetch loop the layers are measured against. Made once in the build tree; a
// file of an older generation is made again.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include <QImage>
#include <ibase.h>
#include <sys/wait.h>
#include <unistd.h>

#include "bench_common.h"
#include "db/fb.h"
#include "imaging/codec.h"

namespace benchdata {

namespace fs = std::filesystem;
using namespace tolvane;
using Clock = std::chrono::steady_clock;

// Written beside the file when it is generated; another value remakes it.
constexpr const char* kVersionFile = "SORVENDA.generation";
constexpr const char* kGeneration = "3: JPEG pictures";

constexpr int kRecords = 10000;
constexpr int kPhotoFirst = 4501;   // records 4501..5500 carry four photos each
constexpr int kPhotoLast = 5500;
constexpr const char* kSelect = "select * from FISH_DATA order by CODENO";

inline double msSince(Clock::time_point t0) {
    return std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
}

inline double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Resident-set figures of this process from /proc/self/status, in MB.
inline double statusMb(const char* key) {
    std::ifstream in("/proc/self/status");
    std::string line;
    const size_t keyLen = std::strlen(key);
    while (std::getline(in, line))
        if (line.compare(0, keyLen, key) == 0) return std::atof(line.c_str() + keyLen + 1) / 1024.0;
    return -1;
}

// Starts a new high-water mark at the current resident size.
inline void resetPeakRss() {
    std::ofstream out("/proc/self/clear_refs");
    out << "5";
}

inline void prepareFirebirdEnvironment() {
    if (std::getenv("FIREBIRD_LOCK") == nullptr) {
        const fs::path lock = fs::temp_directory_path() / ("tolvane-fblock-" + std::to_string(getuid()));
        fs::create_directories(lock);
        setenv("FIREBIRD_LOCK", lock.c_str(), 1);
    }
    tolvane::db::settleEnvironment();   // before the first thread, as the program does
}

// ------------------------------------------------------------- generation

inline const char* const kColumns[57] = {
    "CODENO", "DAY_DATA", "TENNKI", "FUNE", "BASYO", "SHIO", "KIJYUNN", "KYUUREKI", "OLD_SHIO",
    "MAX1", "MAX2", "MAX1_HIGHT", "MAX2_HIGHT", "MIN1", "MIN2", "MIN1_LOW", "MIN2_LOW",
    "FISH1", "FISH1_MAX", "FISH1_MIN", "FISH1_KAZU", "FISH2", "FISH2_MAX", "FISH2_MIN", "FISH2_KAZU",
    "FISH3", "FISH3_MAX", "FISH3_MIN", "FISH3_KAZU", "SHIKAKE", "BIKOU", "SHIO_ZU", "CHIZU",
    "PHOTO1", "PHOTO2", "PHOTO3", "PHOTO4",
    "NEW_1_S", "NEW_1_E", "NEW_2_S", "NEW_2_E", "NEW_3_S", "NEW_3_E", "NEW_4_S", "NEW_4_E",
    "NEW_5_S", "NEW_5_E", "NEW_6_S", "NEW_6_E",
    "TIME1_L", "TIME1_T", "TIME1_W", "TIME1_H", "TIME2_L", "TIME2_T", "TIME2_W", "TIME2_H"};

inline std::string insertStatement() {
    std::string cols, pars;
    for (int i = 0; i < 57; ++i) {
        cols += std::string(i ? "," : "") + kColumns[i];
        pars += std::string(i ? "," : "") + ":par" + kColumns[i];
    }
    return "insert into FISH_DATA (" + cols + ") values (" + pars + ")";
}

// Pictures as a camera and the editors leave them: a few distinct JPEG
// photos of 1280 x 960 (about 280 KB) and tide charts and maps of 640 x 480,
// taken in turn by the records.
inline QImage scene(int w, int h, int seed, int noise) {
    QImage img(w, h, QImage::Format_RGB888);
    std::mt19937 rng(static_cast<unsigned>(seed));
    std::uniform_int_distribution<int> grain(-noise, noise);
    for (int y = 0; y < h; ++y) {
        uchar* line = img.scanLine(y);
        for (int x = 0; x < w; ++x) {
            const int base[3] = {(x * 255 / w + seed * 40) & 0xFF, (y * 255 / h + seed * 70) & 0xFF,
                                 ((x + y) * 128 / (w + h) + seed * 20) & 0xFF};
            for (int c = 0; c < 3; ++c) line[3 * x + c] = static_cast<uchar>(std::clamp(base[c] + grain(rng), 0, 255));
        }
    }
    return img;
}

inline const std::vector<std::string>& jpegs(bool photo) {
    static const auto make = [](bool big) {
        std::vector<std::string> v;
        for (int i = 0; i < 8; ++i) {
            const QByteArray b = big ? pictures::encodeJpeg(scene(1280, 960, i + 1, 11))
                                     : pictures::encodeJpeg(scene(640, 480, i + 11, 4));
            v.emplace_back(b.constData(), static_cast<size_t>(b.size()));
        }
        return v;
    };
    static const std::vector<std::string> photos = make(true), charts = make(false);
    return photo ? photos : charts;
}

inline std::string_view photo(int n) { return jpegs(true)[static_cast<size_t>(n) % 8]; }
inline std::string_view chart(int n) { return jpegs(false)[static_cast<size_t>(n) % 8]; }

// Sets the 57 parameters of one whole record, as the catch entry window does.
inline void setRecord(db::Query& q, int code, bool photos, bool pictures) {
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
        q.paramByName("parSHIO_ZU").setBlob(chart(code));
        q.paramByName("parCHIZU").setBlob(chart(code + 3));
    }
    if (photos)
        for (int k = 1; k <= 4; ++k)
            q.paramByName("parPHOTO" + std::to_string(k)).setBlob(photo(code * 4 + k));
    for (int k = 7; k < 57; ++k)
        if (std::strncmp(kColumns[k] + 0, "NEW_", 4) == 0 || std::strncmp(kColumns[k], "TIME", 4) == 0)
            q.paramByName(std::string("par") + kColumns[k]).setInteger(k);
}

inline void generate(const fs::path& dir) {
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
            const bool pictures = code >= kPhotoFirst && code <= kPhotoLast;
            setRecord(q, code, pictures, pictures);
            q.execQuery();
        }
        tr.commitRetaining();
    }
    fs::rename(work / "SORVENDA.FDB", file);
    fs::remove_all(work);
    std::ofstream(dir / kVersionFile) << kGeneration;
    std::printf("generated %s: %d records, %d with four photos, in %.1f s (%.0f MB)\n", file.c_str(),
                kRecords, kPhotoLast - kPhotoFirst + 1, msSince(t0) / 1000.0,
                static_cast<double>(fs::file_size(file)) / (1 << 20));
    auto averageKb = [](const std::vector<std::string>& v) {
        double sum = 0;
        for (const auto& b : v) sum += static_cast<double>(b.size());
        return sum / static_cast<double>(v.size()) / 1024;
    };
    std::printf("photos 1280 x 960 of %.0f KB, tide charts and maps 640 x 480 of %.0f KB on average\n",
                averageKb(jpegs(true)), averageKb(jpegs(false)));
}

// ------------------------------------------------------------- the bare loop

// The same select through the ISC API alone: prepare, execute, fetch every
// row into one buffer, nothing kept.
inline int bareFetch(isc_db_handle* db, isc_tr_handle* tr) {
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

// Makes dir/SORVENDA.FDB unless a file of this generation is there (in a
// child process, so the figures of the caller are not those of the
// generation). Returns the file.
inline fs::path ensureDatabase(const fs::path& dir, bool regenerate) {
    fs::create_directories(dir);
    const fs::path file = dir / "SORVENDA.FDB";
    std::string generation;
    if (std::ifstream in(dir / kVersionFile); in) std::getline(in, generation);
    if (regenerate || generation != kGeneration) fs::remove(file);
    if (!fs::exists(file) && !benchcommon::generateInChild([&] { generate(dir); })) std::exit(1);
    return file;
}

}  // namespace benchdata
