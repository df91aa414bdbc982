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
#include "support/window_session.h"

namespace lessonstest {

class Session : public tolvane::test::WindowSession {
public:
    explicit Session(bool withTable = true) {
        if (withTable) tolvane::test::createLessonsTable(files.memoFile());
    }
};

struct Lesson {
    int no = 0;
    int papaNo = 0;
    QString fish, place, month, memo;
    bool memoNull = false;
};

// Every lesson stored, by number, as committed.
inline std::vector<Lesson> storedLessons(const std::string& memoFile) {
    std::vector<Lesson> rows;
    for (auto& r : tolvane::test::storedRows(memoFile, "select * from FISH_KADAI order by K00_CODENO"))
        rows.push_back({r["K00_CODENO"].text.toInt(), r["K00_PAPANO"].text.toInt(), r["K01_FISH"].text,
                        r["K02_PLACE"].text, r["K03_TUKI"].text, r["K10_MEMO"].text, r["K10_MEMO"].null});
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
