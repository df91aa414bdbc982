// Shared set-up of the tide window tests: fresh files (catch/catch_fixture.h),
// records with charts stored through the program's own connection, stand-in
// openers named as the real ones, and charts as pixels and JPEG files.
#pragma once

#include <QByteArray>
#include <QImage>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "catch/catch_fixture.h"
#include "imaging/codec.h"
#include "support/test_sql.h"
#include "ui/controls.h"
#include "ui/form.h"
#include "ui/image.h"
#include "ui/testing/driver.h"

namespace tidetest {

using catchtest::execCatch;
using catchtest::Session;
using catchtest::storedRows;

inline QImage chart(int w, int h) {
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) img.setPixel(x, y, qRgb(x * 255 / w, y * 255 / h, 128));
    return img;
}

inline QByteArray jpegChart(int w, int h) { return tolvane::pictures::encodeJpeg(chart(w, h)); }

// A record with its chart (NULL when none) and nothing else.
inline void addRecord(int code, const std::optional<QByteArray>& shioZu) {
    tolvane::db::Query q(DM1->IBDB2, DM1->IBTr2);
    q.sqlAdd("insert into FISH_DATA (CODENO, SHIO_ZU) values (:parCODENO, :parSHIO_ZU)");
    q.paramByName("parCODENO").setInteger(code);
    if (shioZu) q.paramByName("parSHIO_ZU").setBlob(std::string_view(shioZu->constData(), std::size_t(shioZu->size())));
    q.execQuery();
    DM1->IBTr2.commitRetaining();
}

// Sets columns of record `code`: `assignments` as in an update statement.
inline void setColumns(int code, const std::string& assignments) {
    execCatch({"update FISH_DATA set " + assignments + " where CODENO = " + std::to_string(code)});
}

// Opens window `var` on `owner` and runs `script` in it; the script must have run.
template <class T>
void openWindow(tolvane::ui::testing::Driver& drv, T*& var, tolvane::ui::Form* owner,
                std::function<void(T&)> script) {
    drv.expectModal<T>(std::move(script));
    tolvane::ui::openModal(var, owner);
    EXPECT_EQ(drv.pendingScripts(), 0);
}

// The catch browser as the tide windows see it.
struct BrowserStandIn : tolvane::ui::Form {
    BrowserStandIn() : Form(nullptr, "FishdataF") {
        setClientSize(400, 300);
        Edit_No = new tolvane::ui::Edit(this, "Edit_No", 8, 8, 80);
        Image_Shio = new tolvane::ui::Image(this, "Image_Shio", 8, 40, 334, 250);
    }
    tolvane::ui::Edit* Edit_No;
    tolvane::ui::Image* Image_Shio;
};

// The memo viewer as the general-style viewer sees it.
struct MemoViewerStandIn : tolvane::ui::Form {
    MemoViewerStandIn() : Form(nullptr, "ShowF") {
        setClientSize(400, 300);
        Image_S = new tolvane::ui::Image(this, "Image_S", 8, 8, 300, 200);
    }
    tolvane::ui::Image* Image_S;
};

// Integer columns of a stored row, in the order asked.
inline std::vector<int> ints(const catchtest::Row& r, std::initializer_list<const char*> cols) {
    std::vector<int> v;
    for (const char* c : cols) v.push_back(r.at(c).text.toInt());
    return v;
}

inline const std::initializer_list<const char*> kNewCols = {
    "NEW_1_S", "NEW_1_E", "NEW_2_S", "NEW_2_E", "NEW_3_S", "NEW_3_E",
    "NEW_4_S", "NEW_4_E", "NEW_5_S", "NEW_5_E", "NEW_6_S", "NEW_6_E"};
inline const std::initializer_list<const char*> kTimeCols = {
    "TIME1_L", "TIME1_T", "TIME1_W", "TIME1_H", "TIME2_L", "TIME2_T", "TIME2_W", "TIME2_H"};

// A trigger that refuses every update of record 9 with the server's own text.
inline void addRefusingTrigger(const std::string& catchFile) {
    tolvane::test::runSql(catchFile, {"create exception E_TIDE_REFUSED 'tide update refused'"});
    tolvane::test::runSql(catchFile,
                          {"create trigger T_TIDE_REFUSE for FISH_DATA before update as begin"
                           " if (old.CODENO = 9) then exception E_TIDE_REFUSED; end"});
}

}  // namespace tidetest
