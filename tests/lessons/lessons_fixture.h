// Shared set-up of the lesson window tests: fresh database files as the
// current directory, the data module over them, the hand-over variables at
// their start values; lessons planted and read back through a connection of
// the test's own.
#pragma once

#include <QString>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/DM_1.h"
#include "core/handover.h"
#include "db/fb.h"
#include "support/test_databases.h"
#include "support/test_sql.h"

namespace lessonstest {

class Session {
public:
    explicit Session(bool withTable = true) : cd_(files.dir()) {
        if (withTable) tolvane::test::createLessonsTable(files.memoFile());
        ResetHandOverVariables();
        createDataModule();
    }
    ~Session() { freeDataModule(); }

    tolvane::test::TempDatabases files;

private:
    tolvane::test::ScopedCurrentDir cd_;
};

struct Lesson {
    int no = 0;
    int papaNo = 0;
    QString fish, place, month, memo;
    bool memoNull = false;
};

// Every lesson stored, by number, as committed.
inline std::vector<Lesson> storedLessons(const std::string& memoFile) {
    tolvane::db::Connection c;
    c.databaseName = memoFile;
    tolvane::db::Transaction t(c);
    tolvane::db::Query q(c, t);
    q.sqlAdd("select * from FISH_KADAI order by K00_CODENO");
    q.open();
    std::vector<Lesson> rows;
    for (; !q.eof(); q.next()) {
        Lesson l;
        l.no = q.fieldByName("K00_CODENO").asInteger();
        l.papaNo = q.fieldByName("K00_PAPANO").asInteger();
        l.fish = QString::fromStdString(q.fieldByName("K01_FISH").asString());
        l.place = QString::fromStdString(q.fieldByName("K02_PLACE").asString());
        l.month = QString::fromStdString(q.fieldByName("K03_TUKI").asString());
        l.memoNull = q.fieldByName("K10_MEMO").isNull();
        l.memo = QString::fromStdString(q.fieldByName("K10_MEMO").asString());
        rows.push_back(l);
    }
    return rows;
}

// Plants a lesson whose text is "課題<no>".
inline void plantLesson(const std::string& memoFile, int no, const char* fish, const char* place,
                        const char* month) {
    tolvane::db::Connection c;
    c.databaseName = memoFile;
    tolvane::db::Transaction t(c);
    tolvane::db::Query q(c, t);
    q.sqlAdd("insert into FISH_KADAI values (:no, :papa, :fish, :place, :tuki, :memo)");
    q.paramByName("no").setInteger(no);
    q.paramByName("papa").setInteger(100 + no);
    q.paramByName("fish").setString(fish);
    q.paramByName("place").setString(place);
    q.paramByName("tuki").setString(month);
    q.paramByName("memo").setTextBlob("課題" + std::to_string(no));
    q.execQuery();
    t.commitRetaining();
}

}  // namespace lessonstest
