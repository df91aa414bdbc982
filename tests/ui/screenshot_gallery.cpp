// A window holding one of every control of the window layer, to check their
// look (fonts, colours, frames) beside the program's windows.
#include <QPainter>
#include <cmath>

#include "ui/controls.h"
#include "ui/grids.h"
#include "ui/image.h"
#include "ui/testing/screenshots.h"

using namespace tolvane::ui;

namespace {

std::unique_ptr<Form> buildGallery(const screenshots::Context&) {
    auto f = std::make_unique<Form>(nullptr, QStringLiteral("ControlsF"));
    f->setCaption(QStringLiteral("コントロール一覧"));
    f->setFixedClientSize(600, 420);
    f->setColor(QColor(192, 248, 201));
    f->setFontPx(16);
    Form* w = f.get();
    auto* bevel = new Bevel(w, QStringLiteral("Bevel1"), 8, 8, 273, 145);
    (void)bevel;
    auto* title = new Label(w, QStringLiteral("Label1"), QStringLiteral("ＳＯＲＶＥＮＤＡ"), 16, 16);
    title->setFontPx(21, true);
    title->setFontColor(Qt::blue);
    new Label(w, QStringLiteral("Label2"), QStringLiteral("釣果記録"), 200, 20);
    auto* btn = new Button(w, QStringLiteral("Btn_Data_Out"), QStringLiteral("ＤＡＴＡ　表示"), 24, 48, 241, 49);
    btn->setFontPx(21, true);
    auto* edit = new Edit(w, QStringLiteral("Edit_Day"), 24, 112, 97, 24);
    edit->setText(QStringLiteral("2024/03/05"));
    edit->setColor(QColor(0, 255, 255));
    edit->setBold(true);
    auto* cb = new ComboBox(w, QStringLiteral("CBox_Shio"), 136, 112, 121);
    cb->addItems({QString(), QStringLiteral("大潮"), QStringLiteral("中潮")});
    cb->setItemIndex(1);
    auto* memo = new Memo(w, QStringLiteral("Memo_Shikake"), 8, 168, 273, 90);
    memo->setText(QStringLiteral("道糸ＰＥ２号\r\nハリス４号　２ｍ"));
    auto* panel = new Panel(w, QStringLiteral("Panel_Shio"), 296, 8, 296, 180, QStringLiteral("潮位"));
    auto* img = new Image(panel, QStringLiteral("Image_Shio"), 3, 2, 290, 176);
    img->setProportional(true);
    img->setCenter(true);
    QImage chart(400, 200, QImage::Format_RGB888);
    chart.fill(Qt::white);
    {
        QPainter p(&chart);
        p.setPen(QPen(Qt::darkBlue, 3));
        for (int x = 0; x < 400; x += 4) p.drawPoint(x, 100 + static_cast<int>(60 * std::sin(x / 40.0)));
    }
    img->setPicture(tolvane::pictures::Picture::fromBitmap(chart));
    auto* s1 = new Shape(panel, QStringLiteral("Shape_1"), 60, 20, 50, 140);
    s1->setPen(Qt::blue, 3);
    s1->setFill(Shape::Fill::Clear);
    auto* s2 = new Shape(panel, QStringLiteral("Shape_2"), 130, 20, 40, 140);
    s2->setPen(Qt::red, 1);
    s2->setFill(Shape::Fill::BDiagonal, Qt::red);
    auto* s4 = new Shape(panel, QStringLiteral("Shape_4"), 200, 60, 17, 17);
    s4->setKind(Shape::Kind::Circle);
    s4->setPen(Qt::red, 3);
    s4->setFill(Shape::Fill::Clear);
    auto* rg = new RadioGroup(w, QStringLiteral("RadioGroup1"), QString(), 296, 196, 296, 60);
    rg->setItems({QStringLiteral("MY　オリジナルの潮位表示"), QStringLiteral("一般の潮位表示")});
    rg->setItemIndex(0);
    auto* lb = new ListBox(w, QStringLiteral("ListBox1"), 8, 266, 273, 90);
    lb->setColumns(3);
    lb->setItemHeight(15);
    for (const char* s : {"城ヶ島", "剣崎", "久里浜", "金田湾", "走水", "観音崎", "猿島", "八景島"})
        lb->addItem(QString::fromUtf8(s));
    lb->setItemIndex(0);
    auto* flat = new FlatButton(w, QStringLiteral("S_Btn_1"), QStringLiteral("釣行時間"), 296, 266, 105, 29);
    flat->setFontColor(Qt::red);
    new CheckBox(w, QStringLiteral("Chk_Box_Fish"), QStringLiteral("魚種で検索します"), 410, 266, 180, 29);
    auto* pb = new ProgressBar(w, QStringLiteral("Prg_Bar1"), 296, 304, 296, 20);
    pb->setPosition(50);
    auto* sg = new StringGrid(w, QStringLiteral("Str_Grid1"), 296, 332, 296, 80);
    sg->setColCount(4);
    sg->setRowCount(3);
    sg->setFixedCols(0);
    sg->setDefaultColWidth(72);
    const QStringList head = {QStringLiteral("月"), QStringLiteral("匹　数"), QStringLiteral("釣行回数"),
                              QStringLiteral("平均釣果")};
    for (int c = 0; c < 4; ++c) sg->setCell(c, 0, head[c]);
    sg->setCell(0, 1, QStringLiteral("1"));
    sg->setCell(1, 1, QStringLiteral("12"));
    sg->setCell(2, 1, QStringLiteral("3 回"));
    sg->setCell(3, 1, QStringLiteral("4.0"));
    auto* ver = new Label(w, QStringLiteral("Label6"), QStringLiteral("Ver 1.0.0.0"), 16, 380);
    (void)ver;
    return f;
}

}  // namespace

TOLVANE_SCREENSHOT("ControlsF", buildGallery);
