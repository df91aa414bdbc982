// The query-bound grid moves its query's cursor and follows it; the string
// grid; the picture control.
#include <gtest/gtest.h>

#include <QPainter>

#include "db/fb.h"
#include "support/test_databases.h"
#include "ui/form.h"
#include "ui/grids.h"
#include "imaging/codec.h"
#include "ui/image.h"
#include "ui/testing/driver.h"

using namespace tolvane::ui;
using tolvane::pictures::Picture;
using tolvane::ui::testing::Driver;

namespace {

struct Db {
    tolvane::test::TempDatabases files{tolvane::test::Files::CatchOnly};
    tolvane::db::Connection con;
    tolvane::db::Transaction tr{con};
    Db() { con.databaseName = files.catchFile(); }
};

class TSheetF : public Form {
public:
    TSheetF(tolvane::db::Query& q) : Form(nullptr, QStringLiteral("WorkSheetF")), DS{q} {
        setFixedClientSize(400, 300);
        DBGrid1 = new DBGrid(this, QStringLiteral("DBGrid1"), 0, 0, 400, 300);
        DBGrid1->setColumns({{"A00_CODENO", QStringLiteral("Ｎｏ"), 40, Qt::AlignRight, Qt::AlignCenter, {}},
                             {"A03_NAME", QStringLiteral("名前"), 120, Qt::AlignLeft, Qt::AlignCenter,
                              [](tolvane::db::Field& f) {
                                  return QStringLiteral("«") + QString::fromStdString(f.asString()) + QStringLiteral("»");
                              }}});
        DBGrid1->OnDblClick = [this] { ++dbl; };
    }
    DataSource DS;
    DBGrid* DBGrid1;
    int dbl = 0;
};

}  // namespace

TEST(DBGrids, ShowRowsMoveTheCursorAndFollowIt) {
    Db db;
    tolvane::db::Query q(db.con, db.tr);
    for (int i = 1; i <= 3; ++i) {
        q.close();
        q.sqlClear();
        q.sqlAdd("insert into FISH_ADDR (A00_CODENO, A03_NAME) values (:parA00_CODENO, :parA03_NAME)");
        q.paramByName("parA00_CODENO").setInteger(i);
        q.paramByName("parA03_NAME").setString(std::string("釣具店") + std::to_string(i));
        q.execQuery();
    }
    db.tr.commitRetaining();

    Driver drv;
    auto sheet = std::make_unique<TSheetF>(q);
    q.close();
    q.sqlClear();
    q.sqlAdd("select * from FISH_ADDR order by A00_CODENO");
    q.open();
    sheet->DBGrid1->setDataSource(&sheet->DS);
    drv.show(*sheet);
    DBGrid* g = sheet->DBGrid1;
    ASSERT_EQ(g->rowCount(), 3);
    EXPECT_EQ(g->cellText(1, 0), QStringLiteral("2"));
    EXPECT_EQ(g->cellText(2, 1), QStringLiteral("«釣具店3»"));
    EXPECT_EQ(g->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("名前"));
    EXPECT_EQ(g->columnWidth(1), 120);
    // Reading the rows left the cursor where it was.
    EXPECT_EQ(q.recNo(), 0);
    EXPECT_TRUE(q.bof());

    q.last();                     // the program moves: the grid follows
    EXPECT_EQ(g->currentRow(), 2);
    // Cells are read from the query when asked, the cursor kept as it was.
    EXPECT_EQ(g->cellText(0, 1), QStringLiteral("«釣具店1»"));
    EXPECT_EQ(q.recNo(), 2);
    EXPECT_TRUE(q.eof());
    g->setCurrentIndex(g->model()->index(1, 0));   // the user moves: the cursor follows
    EXPECT_EQ(q.recNo(), 1);
    EXPECT_EQ(q.fieldByName("A00_CODENO").asInteger(), 2);

    drv.dblClick(g->viewport(), g->visualRect(g->model()->index(0, 1)).center());
    EXPECT_EQ(sheet->dbl, 1);
    EXPECT_EQ(g->dblClickRow(), 0);
    EXPECT_EQ(q.fieldByName("A00_CODENO").asInteger(), 1);
    // Off the rows: the handler runs, and knows no row was hit.
    drv.dblClick(g->viewport(), QPoint(200, g->viewport()->height() - 4));
    EXPECT_EQ(sheet->dbl, 2);
    EXPECT_EQ(g->dblClickRow(), -1);

    q.close();
    EXPECT_EQ(g->rowCount(), 0);
    // The window goes before its query: the data source lets go first.
    sheet.reset();
    q.sqlClear();
    q.sqlAdd("select * from FISH_ADDR");
    q.open();
    EXPECT_EQ(q.recordCount(), 3);
}

TEST(StringGrids, CellsAndOwnDrawing) {
    Driver drv;
    Form f(nullptr, QStringLiteral("TotalF"));
    f.setFixedClientSize(400, 300);
    auto* g = new StringGrid(&f, QStringLiteral("Str_Grid1"), 8, 8, 351, 200);
    g->setColCount(4);
    g->setRowCount(13);
    g->setFixedCols(0);
    g->setDefaultColWidth(80);
    g->setCell(0, 0, QStringLiteral("月"));
    g->setCell(1, 3, QStringLiteral("12"));
    int fixedDrawn = 0, drawn = 0;
    g->OnDrawCell = [&](DrawCellArgs& a) {
        ++drawn;
        if (a.fixed) ++fixedDrawn;
        a.canvas.fillRect(a.rect, a.brush);
        a.canvas.drawText(a.rect, Qt::AlignCenter, g->cell(a.col, a.row));
    };
    drv.show(f);
    drawn = fixedDrawn = 0;
    g->grab();   // paints every visible cell once
    EXPECT_EQ(g->cell(0, 0), QStringLiteral("月"));
    EXPECT_EQ(g->cell(1, 3), QStringLiteral("12"));
    EXPECT_EQ(g->cell(3, 12), QString());
    EXPECT_EQ(g->columnWidth(2), 80);
    EXPECT_GT(drawn, 4);
    EXPECT_EQ(fixedDrawn, 4);   // the header row
}

TEST(Images, DrawingModesAndPictureKindKept) {
    Driver drv;
    Form f(nullptr, QStringLiteral("ImageF"));
    f.setFixedClientSize(400, 300);
    auto* natural = new Image(&f, QStringLiteral("Image_S"), 0, 0, 100, 100);
    auto* fit = new Image(&f, QStringLiteral("Image_Shio"), 100, 0, 100, 50);
    fit->setProportional(true);
    fit->setCenter(true);
    auto* stretched = new Image(&f, QStringLiteral("Image_SS"), 200, 0, 100, 50);
    stretched->setStretch(true);
    stretched->setProportional(true);
    QImage pixels(200, 50, QImage::Format_RGB888);
    pixels.fill(Qt::red);
    const Picture bmp = Picture::fromBitmap(pixels);
    natural->setPicture(bmp);
    fit->setPicture(bmp);
    EXPECT_EQ(natural->pictureRect(), QRect(0, 0, 200, 50));   // cut off at the edge
    EXPECT_EQ(fit->pictureRect(), QRect(0, 12, 100, 25));      // shrunk, centred

    QImage small(20, 10, QImage::Format_RGB888);
    small.fill(Qt::blue);
    fit->setPicture(Picture::fromBitmap(small));
    EXPECT_EQ(fit->pictureRect(), QRect(40, 20, 20, 10));      // own size when it fits
    stretched->setPicture(Picture::fromBitmap(small));
    EXPECT_EQ(stretched->pictureRect(), QRect(0, 0, 100, 50)); // enlarged, from the corner

    // A JPEG picture stays one when handed to another control.
    const Picture jpeg = Picture::fromJpeg(QByteArray("\xFF\xD8 not really", 13));
    natural->setPicture(jpeg);
    fit->setPicture(natural->picture());
    EXPECT_TRUE(fit->picture().isJpeg());
    EXPECT_EQ(fit->picture().jpegBytes(), jpeg.jpegBytes());
    drv.show(f);
    f.grab();   // a picture that does not decode draws nothing, and does not throw

    EXPECT_FALSE(Image(&f, QStringLiteral("x"), 0, 0, 1, 1).hasPicture());
    fit->setPicture(Picture::fromBitmap(QImage()));
    EXPECT_TRUE(fit->hasPicture());   // an empty bitmap is a picture
    EXPECT_TRUE(fit->pictureRect().isEmpty());

    int dbl = 0;
    natural->OnDblClick = [&] { ++dbl; };
    drv.dblClick(natural);
    EXPECT_EQ(dbl, 1);
}

TEST(Images, AJpegPictureKeepsItsBytesAndOnlyAShownCopyOfItsPixels) {
    Driver drv;
    Form f(nullptr, QStringLiteral("ImageF"));
    f.setFixedClientSize(400, 300);
    auto* photo = new Image(&f, QStringLiteral("Image_A"), 0, 0, 105, 81);
    photo->setProportional(true);
    auto* corner = new Image(&f, QStringLiteral("Image_B"), 200, 0, 50, 40);   // natural size
    QImage pixels(800, 600, QImage::Format_RGB888);
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 800; ++x) pixels.setPixelColor(x, y, x < 400 ? QColor(200, 0, 0) : QColor(0, 0, 200));
    const QByteArray bytes = tolvane::pictures::encodeJpeg(pixels);
    {
        const Picture loaded = Picture::fromJpeg(bytes, tolvane::pictures::decodeJpeg(bytes));
        photo->setPicture(loaded);
        corner->setPicture(loaded);
        EXPECT_TRUE(loaded.isDecoded());   // the caller's copy is its own
    }
    drv.show(f);
    f.grab();
    for (Image* img : {photo, corner}) {
        EXPECT_FALSE(img->picture().isDecoded()) << img->name().toStdString();
        EXPECT_EQ(img->picture().jpegBytes(), bytes);
        EXPECT_EQ(img->picture().width(), 800);   // from the header
    }
    EXPECT_EQ(photo->pictureRect(), QRect(0, 0, 105, 78));
    EXPECT_EQ(photo->displayPixels().size(), QSize(105, 78));
    EXPECT_LT(qAbs(photo->displayPixels().pixelColor(20, 40).red() - 200), 12);
    EXPECT_LT(qAbs(photo->displayPixels().pixelColor(85, 40).blue() - 200), 12);
    EXPECT_EQ(corner->displayPixels().size(), QSize(50, 40));   // only the visible corner

    // Full pixels come back where they are needed, and a larger control
    // gets a copy of its own size.
    EXPECT_EQ(Picture(photo->picture()).pixels().size(), QSize(800, 600));
    photo->setBounds(0, 0, 210, 162);
    f.grab();
    EXPECT_EQ(photo->displayPixels().size(), QSize(210, 157));
    EXPECT_FALSE(photo->picture().isDecoded());
}

TEST(Images, AJpegPictureIsShownFromADecodeAtLeastTheSizeDrawnScaledDownSmoothly) {
    Driver drv;
    Form f(nullptr, QStringLiteral("ImageF"));
    f.setFixedClientSize(800, 300);
    auto* photo = new Image(&f, QStringLiteral("Image_A"), 0, 0, 105, 81);
    auto* full = new Image(&f, QStringLiteral("Image_B"), 400, 0, 105, 81);   // drawn from the full decode
    QImage pixels(1600, 1200, QImage::Format_RGB888);
    for (int y = 0; y < 1200; ++y)
        for (int x = 0; x < 1600; ++x)
            pixels.setPixelColor(x, y, QColor(x * 255 / 1600, y * 255 / 1200, (x ^ y) & 0x7F));
    const QByteArray bytes = tolvane::pictures::encodeJpeg(pixels);
    photo->setPicture(Picture::fromJpeg(bytes));
    drv.show(f);
    for (QSize box : {QSize(105, 81), QSize(210, 162), QSize(390, 300)}) {
        for (Image* img : {photo, full}) {
            img->setProportional(true);
            img->setBounds(img->left(), 0, box.width(), box.height());
        }
        full->setPicture(Picture::fromJpeg(bytes, tolvane::pictures::decodeJpeg(bytes)));
        f.grab();
        EXPECT_FALSE(photo->picture().isDecoded());   // never decoded at full size to be shown
        const QImage shown = photo->displayPixels();
        const QImage reference = full->displayPixels();
        ASSERT_EQ(shown.size(), reference.size());
        EXPECT_EQ(shown.size(), photo->pictureRect().size());
        double diff = 0;
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x) {
                const QColor a = shown.pixelColor(x, y), b = reference.pixelColor(x, y);
                diff += std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) + std::abs(a.blue() - b.blue());
            }
        EXPECT_LT(diff / (3.0 * shown.width() * shown.height()), 3.0) << box.width();   // about 1 %
    }
}
