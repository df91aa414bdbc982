// The one table of text-column widths against the schema files and the
// lessons table's statement, and the check for characters the databases
// cannot store.
#include <gtest/gtest.h>

#include <QFile>
#include <QRegularExpression>
#include <QString>

#include "core/columns.h"
#include "support/test_databases.h"
#include "support/test_sql.h"

namespace {

// Every "NAME VARCHAR(n)" of each CREATE TABLE in `sql`.
void checkWidths(const QString& sql, int& checked) {
    static const QRegularExpression table(QStringLiteral("CREATE TABLE\\s+(\\w+)\\s*\\(([^;]*)\\)"),
                                          QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression column(QStringLiteral("(\\w+)\\s+VARCHAR\\s*\\(\\s*(\\d+)\\s*\\)"),
                                           QRegularExpression::CaseInsensitiveOption);
    for (auto t = table.globalMatch(sql); t.hasNext();) {
        const auto tm = t.next();
        for (auto c = column.globalMatch(tm.captured(2)); c.hasNext();) {
            const auto cm = c.next();
            EXPECT_EQ(columnWidth(tm.captured(1).toStdString(), cm.captured(1).toStdString()),
                      cm.captured(2).toInt())
                << tm.captured(1).toStdString() << "." << cm.captured(1).toStdString();
            ++checked;
        }
    }
}

}  // namespace

TEST(ColumnWidths, MatchTheSchemaAndTheLessonsTable) {
    int checked = 0;
    for (const char* name : {"schema/sorvenda.sql", "schema/keldmark.sql"}) {
        QFile f(QString::fromStdString((tolvane::test::sourceDir() / name).string()));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << name;
        checkWidths(QString::fromUtf8(f.readAll()), checked);
    }
    checkWidths(QString::fromUtf8(tolvane::test::kCreateKadaiSql), checked);
    EXPECT_EQ(checked, 35);
    EXPECT_EQ(columnWidth("fish_data", "basyo"), 20);   // any case
    EXPECT_EQ(columnWidth("FISH_DATA", "KYUUREKI"), 10);
    EXPECT_EQ(columnWidth("FISH_DATA", "CODENO"), 0);   // not text
    EXPECT_EQ(columnWidth("FISH_DATA", "NOSUCH"), 0);
}

TEST(ColumnWidths, UnstorableCharactersAreNamedWithTheirBox) {
    EXPECT_EQ(unstorableCharacter(QStringLiteral("アジ〜サバ")), std::nullopt);   // wave dash stores
    EXPECT_EQ(unstorableCharacter(QStringLiteral("釣れた😀！🐟")), QStringLiteral("😀"));
    EXPECT_EQ(unstorableCharacterLine(QStringLiteral("釣果　釣行記録"), QStringLiteral("😀")),
              QStringLiteral("「釣果　釣行記録」の「😀」は登録できない文字です"));
    // The first box in the order given; under the window's own message.
    const QString line = unstorableTextLine({{"アジ", "魚種"}, {"鯛𩸽", "場所"}, {"😀", "内容"}});
    EXPECT_EQ(failureMessage("!!!!", line), QStringLiteral("!!!!\n「場所」の「𩸽」は登録できない文字です"));
    EXPECT_EQ(failureMessage("!!!!", unstorableTextLine({{"アジ", "魚種"}})), "!!!!");
    EXPECT_EQ(searchLiteral(QStringLiteral("鯛\"青\"")), QStringLiteral("\"鯛\"\"青\"\"\""));
    EXPECT_EQ(searchLiteral(QStringLiteral("鯛𩸽")), "NULL");
}
