// Shared set-up of the map and photo window tests: fresh database files as
// the current directory, the data module over them, and stand-in openers
// named as the catch browser and the memo viewer, holding the controls the
// windows read. Rows are put in and read back through connections of the
// test's own.
#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QImage>
#include <string>

#include <gtest/gtest.h>

#include "core/DM_1.h"
#include "core/handover.h"
#include "db/fb.h"
#include "support/test_databases.h"
#include "support/window_session.h"
#include "support/test_pictures.h"
#include "support/test_sql.h"
#include "ui/controls.h"
#include "ui/form.h"
#include "ui/image.h"

namespace phototest {

using Session = tolvane::test::WindowSession;

// A blob column of one row, as stored.
struct Blob {
    bool null = true;
    QByteArray bytes;
    bool operator==(const Blob&) const = default;
};

// `select` names one column of one row.
inline Blob storedBlob(const std::string& file, const std::string& select) {
    tolvane::db::Connection c;
    c.databaseName = file;
    tolvane::db::Transaction t(c);
    tolvane::db::Query q(c, t);
    q.sqlAdd(select);
    q.open();
    Blob b;
    b.null = q.fields(0).isNull();
    const std::string s = q.fields(0).asBytes();
    b.bytes = QByteArray(s.data(), qsizetype(s.size()));
    return b;
}

// Runs `statement` with :parB bound to `bytes` as a blob.
inline void putBlob(const std::string& file, const std::string& statement, const QByteArray& bytes) {
    tolvane::db::Connection c;
    c.databaseName = file;
    tolvane::db::Transaction t(c);
    tolvane::db::Query q(c, t);
    q.sqlAdd(statement);
    q.paramByName("parB").setBlob(std::string_view(bytes.constData(), std::size_t(bytes.size())));
    q.execQuery();
    t.commitRetaining();
}

// Makes every update of `table` fail with a server error.
inline void failUpdates(const std::string& file, const std::string& table) {
    tolvane::test::runSql(file, {"CREATE EXCEPTION E_REFUSED 'refused by the test'"});
    tolvane::test::runSql(file, {"CREATE TRIGGER T_REFUSE FOR " + table +
                                 " ACTIVE BEFORE UPDATE POSITION 0 AS BEGIN EXCEPTION E_REFUSED; END"});
}

using tolvane::test::gradient;

// A picture over the readers' limit that is cheap to hold: 1 bit per pixel.
inline QImage hugeMonoBitmap() {
    QImage img(10001, 10000, QImage::Format_Mono);
    img.fill(1);
    return img;
}

inline QString writeFile(const QString& name, const QByteArray& bytes) {
    const QString path = QDir::current().absoluteFilePath(name);
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    return path;
}

// The catch browser as the windows see it.
struct Browser : tolvane::ui::Form {
    Browser() : Form(nullptr, "FishdataF") {
        setClientSize(400, 300);
        Edit_No = new tolvane::ui::Edit(this, "Edit_No", 8, 8, 80);
        Image_Map = new tolvane::ui::Image(this, "Image_Map", 8, 40, 334, 250);
    }
    tolvane::ui::Edit* Edit_No;
    tolvane::ui::Image* Image_Map;
};

// The memo viewer as the windows see it.
struct Viewer : tolvane::ui::Form {
    Viewer() : Form(nullptr, "ShowF") {
        setClientSize(600, 300);
        Label_CODE = new tolvane::ui::Label(this, "Label_CODE", "", 8, 8);
        Image_M = new tolvane::ui::Image(this, "Image_M", 8, 40, 273, 200);
        Image_S = new tolvane::ui::Image(this, "Image_S", 300, 40, 273, 200);
        Btn_Chizu = new tolvane::ui::Button(this, "Btn_Chizu", "地　図", 8, 260, 80, 25);
        Btn_Cyoui = new tolvane::ui::Button(this, "Btn_Cyoui", "潮　位", 100, 260, 80, 25);
    }
    tolvane::ui::Label* Label_CODE;
    tolvane::ui::Image* Image_M;
    tolvane::ui::Image* Image_S;
    tolvane::ui::Button* Btn_Chizu;
    tolvane::ui::Button* Btn_Cyoui;
};

// A window of any other name.
struct Stranger : tolvane::ui::Form {
    explicit Stranger(const QString& name) : Form(nullptr, name) { setClientSize(200, 100); }
};

}  // namespace phototest
