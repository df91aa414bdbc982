// Shared pieces of the catch browser tests: records stored beforehand on the
// program's own connection, pictures put into their blob columns, the browser
// shown as the main window shows it, a user's choice in a pick-only list.
#pragma once

#include <QByteArray>
#include <QImage>
#include <string>

#include "catch/Fishdata_F.h"
#include "catch_fixture.h"
#include "ui/testing/driver.h"

namespace browsertest {

// A short record: number, date, place, up to three fish ("" stores NULL for
// the second and third).
inline void addTrip(int no, const std::string& day, const std::string& place, const std::string& fish1,
                    const std::string& fish2 = "", const std::string& fish3 = "") {
    auto lit = [](const std::string& v) { return v.empty() ? std::string("NULL") : tolvane::db::quoted(v); };
    catchtest::execCatch({"insert into FISH_DATA (CODENO, DAY_DATA, BASYO, FISH1, FISH2, FISH3) values (" +
                          std::to_string(no) + ", " + tolvane::db::quoted(day) + ", " +
                          tolvane::db::quoted(place) + ", " + tolvane::db::quoted(fish1) + ", " +
                          lit(fish2) + ", " + lit(fish3) + ")"});
}

// Puts `bytes` into the blob column `column` of record `no`.
inline void setBlob(int no, const std::string& column, const QByteArray& bytes) {
    tolvane::db::Query q(DM1->IBDB2, DM1->IBTr2);
    q.sqlAdd("update FISH_DATA set " + column + " = :parB where CODENO = :parNo");
    q.paramByName("parB").setBlob(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
    q.paramByName("parNo").setInteger(no);
    q.execQuery();
    DM1->IBTr2.commitRetaining();
}

inline QImage gradient(int w, int h) {
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) img.setPixel(x, y, qRgb(x * 255 / w, y * 255 / h, (x * y) & 0xFF));
    return img;
}

// The browser, shown (its show handler run) with DataMode as the main window leaves it.
struct Browser {
    explicit Browser(tolvane::ui::testing::Driver& drv) {
        DataMode = OLD_Flg;
        drv.show(w);
    }
    TFishdataF w{nullptr};
};

// The user picks the entry `text` of a list.
inline void pick(tolvane::ui::ComboBox* box, const QString& text) {
    const int i = box->findText(text);
    ASSERT_GE(i, 0) << text.toStdString();
    box->setCurrentIndex(i);
    emit box->activated(i);
}

// The editors and viewers the browser opens: a test that opens one closes it
// by its title bar, whatever it showed.
inline void closeChild(tolvane::ui::testing::Driver& drv, const QString& name) {
    drv.expectModal(name, [&drv](tolvane::ui::Form& f) {
        drv.takeBoxes();
        if (f.isOpen()) drv.closeByTitleBar(f);
    });
}

}  // namespace browsertest
