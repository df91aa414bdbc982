#include "catch/Fishdata_F.h"

#include <optional>
#include <stdexcept>

#include "catch/Fish_Data_IN.h"
#include "catch/Kensaku_F.h"
#include "catch/WorkSheet_F2.h"
#include "core/DM_1.h"
#include "core/columns.h"
#include "core/handover.h"
#include "lessons/Kadai_In_F.h"
#include "photo/Fish_Chizu_In_F.h"
#include "photo/Map_F.h"
#include "photo/Photo_Big_F.h"
#include "pictures/storage.h"
#include "tide/Fish_Shio_In_F.h"
#include "tide/New_Shio_In_F.h"
#include "tide/ShiOnly_F.h"
#include "tide/Shio_New_F.h"
#include "ui/guard.h"
#include "ui/platform.h"

using namespace tolvane::ui;
using tolvane::db::Bookmark;
using tolvane::db::Query;

TFishdataF* FishdataF = nullptr;

namespace {

const QColor kWindow(170, 211, 249);
const QColor kBar(154, 250, 242);
const QColor kNavy(0, 0, 128);

Edit* recordEdit(QWidget* parent, const char* name, int l, int t, int w, ImeMode ime) {
    auto* e = new Edit(parent, name, l, t, w, 24);
    e->setFontPx(16, true);
    e->setImeMode(ime);
    return e;
}

Memo* recordMemo(QWidget* parent, const char* name, int l, int t, int w, int h) {
    auto* m = new Memo(parent, name, l, t, w, h);
    m->setFontPx(16, true);
    m->setImeMode(ImeMode::Hiragana);
    return m;
}

Label* label(QWidget* parent, const char* name, const QString& text, int l, int t) {
    return new Label(parent, name, text, l, t);
}

// A frame with its bold title, drawn beneath the buttons of its group.
void group(QWidget* parent, const char* bevel, const char* title, const QString& text, int l,
           int t, int w, int h) {
    new Bevel(parent, bevel, l, t, w, h);
    label(parent, title, text, l + 8, t + 4)->setFontPx(16, true);
}

QString fieldText(Query& q, const char* name) {
    return QString::fromStdString(q.fieldByName(name).asString());
}

// An integer column in decimal; NULL as empty text.
QString integerText(Query& q, const char* name) {
    tolvane::db::Field& f = q.fieldByName(name);
    return f.isNull() ? QString() : QString::number(f.asInteger());
}

// A whole decimal integer as typed; blanks, group separators or anything
// else fail.
std::int32_t wholeInteger(const QString& text) {
    const bool blanks = text.contains(QLatin1Char(' ')) || text.trimmed() != text;
    const std::optional<int> v = blanks ? std::nullopt : wholeNumber(text);
    if (!v)
        throw std::runtime_error(QStringLiteral("'%1' is not a valid integer value").arg(text).toStdString());
    return *v;
}

std::int32_t roundedHeight(const QString& text) {
    const auto v = readRoundedHeight(text);
    if (!v || text.trimmed().isEmpty())
        throw std::runtime_error(
            QStringLiteral("'%1' is not a valid floating point value").arg(text).toStdString());
    return *v;
}

}  // namespace

TFishdataF::TFishdataF(Form* owner)
    : Form(owner, "FishdataF"),
      IBSQL_2(DM1->IBDB2, DM1->IBTr2),
      IBSQL_UP(DM1->IBDB2, DM1->IBTr2),
      IBSQL_N(DM1->IBDB2, DM1->IBTr2) {
    setCaption(QStringLiteral("釣果記録"));
    setFixedClientSize(960, 710);
    setPosition(Position::ScreenCenter);
    setColor(kWindow);
    setFontPx(16);

    // Frames of the groups at the right, beneath their buttons.
    group(this, "Bevel_Show", "Label_Show", QStringLiteral("表示"), 832, 48, 105, 90);
    group(this, "Bevel_Kensaku", "Label_Kensaku", QStringLiteral("検索"), 832, 148, 105, 100);
    group(this, "Bevel_Edit", "Label_Edit", QStringLiteral("編集・入力"), 832, 254, 105, 122);
    group(this, "Bevel_Teisei", "Label_Teisei", QStringLiteral("内容訂正"), 832, 386, 105, 92);

    // Record boxes.
    label(this, "Label_No", QStringLiteral("Ｎｏ"), 64, 52);
    Edit_No = recordEdit(this, "Edit_No", 96, 48, 73, ImeMode::Off);
    Edit_No->setReadOnly(true);
    label(this, "Label_Day", QStringLiteral("日付"), 178, 52);
    // A little wider than 97, so a whole "yyyy/mm/dd" shows in the bold font.
    Edit_Day = recordEdit(this, "Edit_Day", 216, 48, 105, ImeMode::Off);
    label(this, "Label_Tenki", QStringLiteral("天候"), 322, 52);
    Edit_Tenki = recordEdit(this, "Edit_Tenki", 360, 48, 105, ImeMode::Hiragana);
    label(this, "Label_Place", QStringLiteral("場所"), 56, 84);
    Edit_Place = recordEdit(this, "Edit_Place", 96, 80, 121, ImeMode::Hiragana);
    Label_x22 = label(this, "Label_x22", QStringLiteral("ポイント"), 232, 84);
    Edit_Fune = recordEdit(this, "Edit_Fune", 304, 80, 121, ImeMode::Hiragana);
    label(this, "Label_Shio", QStringLiteral("潮"), 64, 116);
    Edit_Shio = recordEdit(this, "Edit_Shio", 96, 112, 121, ImeMode::Hiragana);
    label(this, "Label_Kijyun", QStringLiteral("基準場所"), 232, 116);
    Edit_Shio_Kijyun = recordEdit(this, "Edit_Shio_Kijyun", 304, 112, 81, ImeMode::Hiragana);
    label(this, "Label_Old_Day", QStringLiteral("旧暦"), 56, 148);
    Edit_Old_Day = recordEdit(this, "Edit_Old_Day", 96, 144, 121, ImeMode::Hiragana);
    Edit_Old_Sho = recordEdit(this, "Edit_Old_Sho", 368, 144, 97, ImeMode::Hiragana);
    Edit_Old_Sho->setVisible(false);

    label(this, "Label_Tide", QStringLiteral("潮位"), 48, 196);
    label(this, "Label_Max", QStringLiteral("満潮"), 96, 174);
    label(this, "Label_Min", QStringLiteral("干潮"), 272, 174);
    Edit_Max_T1 = recordEdit(this, "Edit_Max_T1", 96, 192, 57, ImeMode::Off);
    Edit_Max_H1 = recordEdit(this, "Edit_Max_H1", 160, 192, 81, ImeMode::Off);
    Edit_Min_T1 = recordEdit(this, "Edit_Min_T1", 272, 192, 57, ImeMode::Off);
    Edit_Min_H1 = recordEdit(this, "Edit_Min_H1", 336, 192, 81, ImeMode::Off);
    Edit_Max_T2 = recordEdit(this, "Edit_Max_T2", 96, 216, 57, ImeMode::Off);
    Edit_Max_H2 = recordEdit(this, "Edit_Max_H2", 160, 216, 81, ImeMode::Off);
    Edit_Min_T2 = recordEdit(this, "Edit_Min_T2", 272, 216, 57, ImeMode::Off);
    Edit_Min_H2 = recordEdit(this, "Edit_Min_H2", 336, 216, 81, ImeMode::Off);

    label(this, "Label_F1", QStringLiteral("魚種１"), 96, 245);
    label(this, "Label_F2", QStringLiteral("魚種２"), 224, 245);
    label(this, "Label_F3", QStringLiteral("魚種３"), 352, 245);
    label(this, "Label_Size", QStringLiteral("最大-最小"), 8, 300);
    label(this, "Label_Kazu", QStringLiteral("数"), 56, 332);
    Edit* fish[3][4];
    const char* names[3][4] = {{"Edit_F1", "Edit_F1_Max", "Edit_F1_Min", "Edit_F1_kazu"},
                               {"Edit_F2", "Edit_F2_Max", "Edit_F2_Min", "Edit_F2_kazu"},
                               {"Edit_F3", "Edit_F3_Max", "Edit_F3_Min", "Edit_F3_kazu"}};
    for (int i = 0; i < 3; ++i) {
        const int left = 96 + 128 * i;
        fish[i][0] = recordEdit(this, names[i][0], left, 264, 121, ImeMode::Hiragana);
        fish[i][1] = recordEdit(this, names[i][1], left, 296, 49, ImeMode::Off);
        label(this, QStringLiteral("Label_Dash%1").arg(i + 1).toUtf8().constData(), QStringLiteral("-"),
              left + 56, 300)
            ->setFontPx(16, true);
        fish[i][2] = recordEdit(this, names[i][2], left + 72, 296, 49, ImeMode::Off);
        fish[i][3] = recordEdit(this, names[i][3], left, 328, 121, ImeMode::Off);
    }
    Edit_F1 = fish[0][0], Edit_F1_Max = fish[0][1], Edit_F1_Min = fish[0][2], Edit_F1_kazu = fish[0][3];
    Edit_F2 = fish[1][0], Edit_F2_Max = fish[1][1], Edit_F2_Min = fish[1][2], Edit_F2_kazu = fish[1][3];
    Edit_F3 = fish[2][0], Edit_F3_Max = fish[2][1], Edit_F3_Min = fish[2][2], Edit_F3_kazu = fish[2][3];

    label(this, "Label_Shikake", QStringLiteral("仕掛け"), 8, 356);
    Memo_Shikake = recordMemo(this, "Memo_Shikake", 8, 376, 465, 137);
    label(this, "Label_Cyouka", QStringLiteral("釣果　釣行記録"), 8, 516);
    Memo_Cyouka = recordMemo(this, "Memo_Cyouka", 8, 536, 465, 129);

    // Tide chart with its two markers; map. Each hint lies beneath its picture.
    Panel3 = new Panel(this, "Panel3", 480, 44, 341, 255, QStringLiteral("潮位"));
    label(Panel3, "Label_Shio_Hint", QStringLiteral("潮位は Click して拡大表示が可能"), 56, 200);
    Image_Shio = new Image(Panel3, "Image_Shio", 2, 2, 334, 250);
    Image_Shio->setProportional(true);
    Image_Shio->setCenter(true);
    Shape_1 = new Shape(Panel3, "Shape_1", 0, 0, 0, 0);
    Shape_1->setPen(QColor(0, 0, 255));
    Shape_1->setFill(Shape::Fill::Clear);
    Shape_2 = new Shape(Panel3, "Shape_2", 0, 0, 0, 0);
    Shape_2->setPen(QColor(255, 0, 0));
    Shape_2->setFill(Shape::Fill::BDiagonal, QColor(255, 0, 0));

    Panel2 = new Panel(this, "Panel2", 480, 301, 341, 255, QStringLiteral("地図・仕掛図など"));
    label(Panel2, "Label_Map_Hint", QStringLiteral("地図は Click して拡大表示が可能"), 56, 200);
    Image_Map = new Image(Panel2, "Image_Map", 3, 2, 334, 250);
    Image_Map->setProportional(true);
    Image_Map->setCenter(true);

    // Photos in their frame; the bar lies over them while they are read.
    Bevel3 = new Bevel(this, "Bevel3", 488, 560, 449, 107);
    auto* note = label(this, "Label_Photo", QStringLiteral("写真をダブルクリックして拡大表示"), 496, 562);
    note->setFontPx(11, true);
    note->setFontColor(kNavy);
    Image* photos[4];
    const char* photoNames[4] = {"Image_A", "Image_B", "Image_C", "Image_D"};
    for (int i = 0; i < 4; ++i) {
        photos[i] = new Image(this, photoNames[i], 496 + 112 * i, 576, 97, 81);
        photos[i]->setProportional(true);
    }
    Image_A = photos[0], Image_B = photos[1], Image_C = photos[2], Image_D = photos[3];
    Prg_Bar1 = new ProgressBar(this, "Prg_Bar1", 488, 600, 0, 33);
    Prg_Bar1->setRange(0, 100);
    Prg_Bar1->setTextVisible(false);

    // Top bar.
    Panel1 = new Panel(this, "Panel1", 0, 0, 960, 39);
    Panel1->setColor(kBar);
    Label_Title = label(Panel1, "Label_Title", QStringLiteral("釣果記録表示"), 16, 8);
    Label_Title->setFontPx(21, true);
    Label_Title->setFontColor(kNavy);
    const char* navNames[6] = {"Btn_First", "Btn_D_10", "Btn_Prior", "Btn_Next", "Btn_U_10", "Btn_Last"};
    const QString navCaptions[6] = {QStringLiteral("First"),    QStringLiteral("－　１０"),
                                    QStringLiteral("－　１"),   QStringLiteral("＋　１"),
                                    QStringLiteral("＋　１０"), QStringLiteral("Last")};
    Button* nav[6];
    for (int i = 0; i < 6; ++i) nav[i] = new Button(Panel1, navNames[i], navCaptions[i], 310 + 74 * i, 7, 75, 25);
    Btn_First = nav[0], Btn_D_10 = nav[1], Btn_Prior = nav[2], Btn_Next = nav[3], Btn_U_10 = nav[4],
    Btn_Last = nav[5];
    Btn_Return = new Button(Panel1, "Btn_Return", QStringLiteral("戻　る"), 776, 3, 161, 33);

    // Buttons at the right.
    Btn_All_Show = new Button(this, "Btn_All_Show", QStringLiteral("全件表示"), 840, 77, 89, 25);
    Btn_worksheet = new Button(this, "Btn_worksheet", QStringLiteral("ワークシート"), 840, 109, 89, 25);
    Btn_Kensaku = new Button(this, "Btn_Kensaku", QStringLiteral("検　索"), 840, 177, 89, 25);
    Label_Hit = label(this, "Label_Hit", QString(), 840, 205);
    Label_Hit->setFontPx(15, true);
    Label_HitN = new Label(this, "Label_HitN", QString(), 850, 225, 76, 18);
    Label_HitN->setAutoSize(false);
    Label_HitN->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Label_HitN->setFontPx(15, true);
    But_Cyoui = new Button(this, "But_Cyoui", QStringLiteral("潮位"), 840, 282, 89, 25);
    Btn_Chizu = new Button(this, "Btn_Chizu", QStringLiteral("地図"), 840, 314, 89, 25);
    Btn_Photo = new Button(this, "Btn_Photo", QStringLiteral("写真入力"), 840, 346, 89, 25);
    Btn_Teisei = new Button(this, "Btn_Teisei", QStringLiteral("訂　正"), 840, 415, 89, 25);
    Btn_No = new Button(this, "Btn_No", QStringLiteral("キャンセル"), 840, 447, 89, 25);
    Btn_Kadai = new Button(this, "Btn_Kadai", QStringLiteral("次回への課題"), 824, 488, 113, 25);
    Btn_NewData = new Button(this, "Btn_NewData", QStringLiteral("新規データ入力"), 824, 524, 113, 25);

    // Handlers.
    OnShow = [this] { FormShow(); };
    Btn_Return->OnClick = [this] { Btn_ReturnClick(); };
    Btn_First->OnClick = [this] { Btn_FirstClick(); };
    Btn_D_10->OnClick = [this] { Btn_D_10Click(); };
    Btn_Prior->OnClick = [this] { Btn_PriorClick(); };
    Btn_Next->OnClick = [this] { Btn_NextClick(); };
    Btn_U_10->OnClick = [this] { Btn_U_10Click(); };
    Btn_Last->OnClick = [this] { Btn_LastClick(); };
    But_Cyoui->OnClick = [this] { But_CyouiClick(); };
    Btn_Chizu->OnClick = [this] { Btn_ChizuClick(); };
    Btn_Photo->OnClick = [this] { Btn_PhotoClick(); };
    Image_Shio->OnDblClick = [this] { Image_ShioDblClick(); };
    Image_Map->OnDblClick = [this] { Image_MapDblClick(); };
    for (Image* img : photos) img->OnDblClick = [this] { Image_Photo_DblClick(); };
    Btn_NewData->OnClick = [this] { Btn_NewDataClick(); };
    Btn_Kadai->OnClick = [this] { Btn_KadaiClick(); };
    Btn_worksheet->OnClick = [this] { Btn_worksheetClick(); };
    Btn_All_Show->OnClick = [this] { Btn_All_ShowClick(); };
    Btn_Kensaku->OnClick = [this] { Btn_KensakuClick(); };
    Btn_Teisei->OnClick = [this] { Btn_TeiseiClick(); };
    Btn_No->OnClick = [this] { Btn_NoClick(); };
    for (Edit* e : {Edit_Day, Edit_Tenki, Edit_Place, Edit_Fune, Edit_Shio, Edit_Shio_Kijyun,
                    Edit_Old_Day, Edit_Old_Sho, Edit_Max_T1, Edit_Max_H1, Edit_Min_T1, Edit_Min_H1,
                    Edit_Max_T2, Edit_Max_H2, Edit_Min_T2, Edit_Min_H2, Edit_F1, Edit_F1_Max,
                    Edit_F1_Min, Edit_F1_kazu, Edit_F2, Edit_F2_Max, Edit_F2_Min, Edit_F2_kazu,
                    Edit_F3, Edit_F3_Max, Edit_F3_Min, Edit_F3_kazu})
        e->OnChange = [this, e] { Edit_Change(e); };
    for (Memo* m : {Memo_Shikake, Memo_Cyouka}) m->OnChange = [this, m] { Memo_Change(m); };

    // Text boxes take no more than their columns hold.
    limitToColumn(Edit_Day, "FISH_DATA", "DAY_DATA");
    limitToColumn(Edit_Tenki, "FISH_DATA", "TENNKI");
    limitToColumn(Edit_Place, "FISH_DATA", "BASYO");
    limitToColumn(Edit_Fune, "FISH_DATA", "FUNE");
    limitToColumn(Edit_Shio, "FISH_DATA", "SHIO");
    limitToColumn(Edit_Shio_Kijyun, "FISH_DATA", "KIJYUNN");
    limitToColumn(Edit_Old_Day, "FISH_DATA", "KYUUREKI");
    limitToColumn(Edit_Old_Sho, "FISH_DATA", "OLD_SHIO");
    limitToColumn(Edit_Max_T1, "FISH_DATA", "MAX1");
    limitToColumn(Edit_Max_T2, "FISH_DATA", "MAX2");
    limitToColumn(Edit_Min_T1, "FISH_DATA", "MIN1");
    limitToColumn(Edit_Min_T2, "FISH_DATA", "MIN2");
    limitToColumn(Edit_F1, "FISH_DATA", "FISH1");
    limitToColumn(Edit_F2, "FISH_DATA", "FISH2");
    limitToColumn(Edit_F3, "FISH_DATA", "FISH3");
}

TFishdataF::~TFishdataF() = default;

// --- display ------------------------------------------------------------------------

void TFishdataF::FormShow() {
    ClearForm();
    Label_Hit->setCaption(QString());
    Label_HitN->setCaption(QString());
    OpenAll();
    ShowRecord();
}

void TFishdataF::OpenAll() {
    IBSQL_2.close();
    IBSQL_2.sqlClear();
    IBSQL_2.sqlAdd("select * from FISH_DATA order by CODENO");
    IBSQL_2.open();
    IBSQL_2.last();
}

void TFishdataF::ClearForm() {
    for (QWidget* w : findChildren<QWidget*>())
        if (auto* e = dynamic_cast<Edit*>(w)) e->clear();
    Memo_Shikake->clear();
    Memo_Cyouka->clear();

    Image_Shio->setVisible(true);
    Image_Shio->clearPicture();
    Image_Map->setVisible(true);
    Image_Map->clearPicture();

    Btn_Teisei->setEnabled(false);
    Btn_No->setEnabled(false);
    EnableNavigation();
    Btn_All_Show->setEnabled(true);

    Prg_Bar1->setWidth(0);

    if (FuneWord == QStringLiteral("船")) {
        Edit_Fune->setBounds(264, 80, 121, 24);
        Label_x22->setCaption(QStringLiteral("船"));
    } else {
        Edit_Fune->setBounds(304, 80, 121, 24);
        Label_x22->setCaption(QStringLiteral("ポイント"));
    }
}

void TFishdataF::ShowRecord() {
    ClearForm();
    Query& q = IBSQL_2;
    Edit_No->setText(QString::number(q.fieldByName("CODENO").asInteger()));
    const std::pair<Edit*, const char*> texts[] = {
        {Edit_Day, "DAY_DATA"},   {Edit_Place, "BASYO"},   {Edit_Tenki, "TENNKI"},
        {Edit_Fune, "FUNE"},      {Edit_Shio_Kijyun, "KIJYUNN"}, {Edit_Shio, "SHIO"},
        {Edit_Old_Day, "KYUUREKI"}, {Edit_Old_Sho, "OLD_SHIO"}, {Edit_Max_T1, "MAX1"},
        {Edit_Max_T2, "MAX2"},    {Edit_Min_T1, "MIN1"},   {Edit_Min_T2, "MIN2"},
        {Edit_F1, "FISH1"},       {Edit_F2, "FISH2"},      {Edit_F3, "FISH3"}};
    for (const auto& [box, column] : texts) box->setText(fieldText(q, column));
    const std::pair<Edit*, const char*> integers[] = {
        {Edit_Max_H1, "MAX1_HIGHT"}, {Edit_Max_H2, "MAX2_HIGHT"}, {Edit_Min_H1, "MIN1_LOW"},
        {Edit_Min_H2, "MIN2_LOW"},   {Edit_F1_Max, "FISH1_MAX"},  {Edit_F1_Min, "FISH1_MIN"},
        {Edit_F1_kazu, "FISH1_KAZU"}, {Edit_F2_Max, "FISH2_MAX"}, {Edit_F2_Min, "FISH2_MIN"},
        {Edit_F2_kazu, "FISH2_KAZU"}, {Edit_F3_Max, "FISH3_MAX"}, {Edit_F3_Min, "FISH3_MIN"},
        {Edit_F3_kazu, "FISH3_KAZU"}};
    for (const auto& [box, column] : integers) box->setText(integerText(q, column));
    Memo_Shikake->setText(fieldText(q, "SHIKAKE"));
    Memo_Cyouka->setText(fieldText(q, "BIKOU"));

    // Both flags from the NULL tests before any picture is read, so a picture
    // that does not decode leaves neither flag from the previous record.
    ShioPicFlag = q.fieldByName("SHIO_ZU").isNull() ? 0 : 1;
    MapPicFlag = q.fieldByName("CHIZU").isNull() ? 0 : 1;
    ShowTide();
    ShowMap();
    ShowPhotos();
}

void TFishdataF::ShowTide() {
    Query& q = IBSQL_2;
    tolvane::db::Field& chart = q.fieldByName("SHIO_ZU");
    ShioPicFlag = chart.isNull() ? 0 : 1;
    // Each picture on its own: one that does not decode is reported, its
    // control stays empty and the others are shown.
    if (ShioPicFlag == 1)
        guarded(this, [&] {
            Image_Shio->setPicture(tolvane::pictures::bitmapFirstRead(chart, tolvane::pictures::NullTest::With));
        });
    Shape_1->setBounds(0, 0, 0, 0);
    Shape_2->setBounds(0, 0, 0, 0);
    if (DataMode == OLD_Flg) {
        auto v = [&](const char* column) { return q.fieldByName(column).asInteger(); };
        Shape_1->setBounds(v("TIME1_L") / 2 + 37, v("TIME1_T") / 2 - 5, v("TIME1_W") / 2, v("TIME1_H") / 2);
        Shape_2->setBounds(v("TIME2_L") / 2 + 37, v("TIME2_T") / 2 - 5, v("TIME2_W") / 2, v("TIME2_H") / 2);
    }
}

void TFishdataF::ShowMap() {
    tolvane::db::Field& map = IBSQL_2.fieldByName("CHIZU");
    MapPicFlag = map.isNull() ? 0 : 1;
    if (MapPicFlag == 1)
        guarded(this, [&] {
            Image_Map->setPicture(tolvane::pictures::bitmapFirstRead(map, tolvane::pictures::NullTest::With));
        });
}

void TFishdataF::ShowPhotos() {
    Image* images[4] = {Image_A, Image_B, Image_C, Image_D};
    const char* columns[4] = {"PHOTO1", "PHOTO2", "PHOTO3", "PHOTO4"};
    for (Image* img : images) img->clearPicture();
    Prg_Bar1->setWidth(Bevel3->width());
    Prg_Bar1->setPosition(0);
    for (int n = 0; n < 4; ++n) {
        tolvane::db::Field& photo = IBSQL_2.fieldByName(columns[n]);
        if (photo.isNull()) continue;
        Prg_Bar1->setPosition(25 * (n + 1));
        // Decoded only as large as its box shows it; the full-size pixels come
        // at their first need.
        guarded(this, [&] {
            images[n]->setPicture(tolvane::pictures::jpegOnlyRead(photo, images[n]->size()));
        });
    }
    Prg_Bar1->setWidth(0);
}

void TFishdataF::DisableNavigation() {
    for (Button* b : {Btn_First, Btn_Prior, Btn_Next, Btn_Last, Btn_D_10, Btn_U_10}) b->setEnabled(false);
}

void TFishdataF::EnableNavigation() {
    for (Button* b : {Btn_First, Btn_Prior, Btn_Next, Btn_Last, Btn_D_10, Btn_U_10}) b->setEnabled(true);
}

void TFishdataF::RefreshRecord(Bookmark& mark) {
    IBSQL_2.close();
    IBSQL_2.open();   // same statement and parameters: a search stays a search
    if (mark.valid()) IBSQL_2.gotoBookmark(mark);
    else IBSQL_2.last();
    IBSQL_2.freeBookmark(mark);
    ShowRecord();
}

// --- navigation -------------------------------------------------------------------------

void TFishdataF::Btn_ReturnClick() { close(); }

void TFishdataF::Btn_FirstClick() {
    IBSQL_2.first();
    ShowRecord();
}

void TFishdataF::Btn_D_10Click() {
    IBSQL_2.moveBy(-10);
    ShowRecord();
}

void TFishdataF::Btn_PriorClick() {
    IBSQL_2.prior();
    ShowRecord();
}

void TFishdataF::Btn_NextClick() {
    IBSQL_2.next();
    ShowRecord();
}

void TFishdataF::Btn_U_10Click() {
    IBSQL_2.moveBy(10);
    ShowRecord();
}

void TFishdataF::Btn_LastClick() {
    IBSQL_2.last();
    ShowRecord();
}

// --- child windows --------------------------------------------------------------------------

void TFishdataF::But_CyouiClick() {
    DataMode = OLD_Flg;
    Image_Shio->setVisible(true);
    Bookmark mark = IBSQL_2.getBookmark();
    if (ShioMode == 1) {
        openModal(Fish_Shio_InF, this);
    } else {
        openModal(New_Shio_InF, this);
    }
    RefreshRecord(mark);
}

void TFishdataF::Btn_ChizuClick() {
    DataMode = OLD_Flg;
    Image_Map->setVisible(true);
    Bookmark mark = IBSQL_2.getBookmark();
    openModal(Fish_Chizu_InF, this);
    RefreshRecord(mark);
}

void TFishdataF::Btn_PhotoClick() {
    Bookmark mark = IBSQL_2.getBookmark();
    openModal(Photo_BigF, this);
    RefreshRecord(mark);
}

void TFishdataF::Image_ShioDblClick() {
    if (IBSQL_2.fieldByName("SHIO_ZU").isNull()) return;
    if (ShioMode == 1) {
        openModal(ShioOnlyF, this);
    } else {
        openModal(Shio_NewF, this);
    }
}

void TFishdataF::Image_MapDblClick() {
    if (IBSQL_2.fieldByName("CHIZU").isNull()) return;
    openModal(MapF, this);
}

void TFishdataF::Image_Photo_DblClick() {
    bool any = false;
    for (const char* column : {"PHOTO1", "PHOTO2", "PHOTO3", "PHOTO4"})
        if (!IBSQL_2.fieldByName(column).isNull()) {
            any = true;
            break;
        }
    if (!any) return;
    PhotoBookmark = IBSQL_2.getBookmark();
    openModal(Photo_BigF, this);
    RefreshRecord(PhotoBookmark);
}

void TFishdataF::Btn_NewDataClick() { OpenFishDataIn(this); }

void TFishdataF::Btn_KadaiClick() {
    if (IBSQL_2.recNo() < 0) return;   // no record shown: nothing to note a lesson for
    const auto day = readShortDate(Edit_Day->text());
    if (!day) {
        platform().messageBox(this, QStringLiteral("日付の指定が間違っています"));
        return;
    }
    KadaiMode = 1;
    KadaiPlace = Edit_Place->text();
    KadaiFish = Edit_F1->text();
    KadaiMonth = QString::number(day->month());
    KadaiPapaNo = Edit_No->text().toInt();
    openModal(Kadai_InF, this);
}

void TFishdataF::Btn_worksheetClick() {
    // Closed by its title bar the sheet hands back nothing: no earlier
    // bookmark may be used then, and the one handed back is always freed.
    DataBookmark = Bookmark{};
    struct Free {
        Query& q;
        ~Free() { q.freeBookmark(DataBookmark); }
    } free{IBSQL_2};
    openModal(WorkSheetF2, this);
    if (DataBookmark.valid()) IBSQL_2.gotoBookmark(DataBookmark);
    IBSQL_2.freeBookmark(DataBookmark);
    ShowRecord();   // the row handed back, or the one the grid left the cursor on
}

void TFishdataF::Btn_All_ShowClick() {
    ClearForm();
    Label_Hit->setCaption(QString());
    Label_HitN->setCaption(QString());
    OpenAll();
    ShowRecord();
}

// --- search -----------------------------------------------------------------------------------

void TFishdataF::Btn_KensakuClick() {
    openModal(KensakuF, this);
    if (SearchMask == 0) return;
    // Never a search with an empty value, whatever closed the dialog.
    if (((SearchMask & 1) && SearchFish.isEmpty()) || ((SearchMask & 2) && SearchMonth.isEmpty()) ||
        ((SearchMask & 4) && SearchPlace.isEmpty()))
        return;
    ClearForm();

    const std::string F = " ( FISH1 = :parFISH or FISH2 = :parFISH or FISH3 = :parFISH ) ";
    const std::string M = " DAY_DATA like :parTUKI ";
    const std::string P = " BASYO = :parBASYO ";
    const std::string andM = " and DAY_DATA like :parTUKI ";
    const std::string andP = " and BASYO = :parBASYO ";
    std::string where;
    switch (SearchMask) {
    case 1: where = F; break;
    case 2: where = M; break;
    case 3: where = F + andM; break;
    case 4: where = P; break;
    case 5: where = F + andP; break;
    case 6: where = M + andP; break;
    default: where = F + andP + andM; break;
    }
    auto setParams = [&](Query& q) {
        if (SearchMask & 4) q.paramByName("parBASYO").setString(SearchPlace.toStdString());
        if (SearchMask & 2)
            q.paramByName("parTUKI").setString((QStringLiteral("_____") + SearchMonth + QStringLiteral("___")).toStdString());
        if (SearchMask & 1) q.paramByName("parFISH").setString(SearchFish.toStdString());
    };

    IBSQL_N.close();
    IBSQL_N.sqlClear();
    IBSQL_N.sqlAdd(" select count(CODENO) from FISH_DATA where " + where + " ");
    setParams(IBSQL_N);
    IBSQL_N.open();
    Label_Hit->setCaption(QStringLiteral("ヒット数"));
    Label_HitN->setCaption(QString::number(IBSQL_N.fields(0).asInteger()) + QStringLiteral(" 件"));

    IBSQL_2.close();
    IBSQL_2.sqlClear();
    IBSQL_2.sqlAdd(" select * from FISH_DATA where " + where + " order by CODENO ");
    setParams(IBSQL_2);
    IBSQL_2.open();
    IBSQL_2.last();
    ShowRecord();
}

// --- correction ---------------------------------------------------------------------------------

void TFishdataF::StartCorrection() {
    Btn_Teisei->setEnabled(true);
    Btn_No->setEnabled(true);
    DisableNavigation();
}

void TFishdataF::Edit_Change(Edit* sender) {
    if (sender->modified()) StartCorrection();
}

void TFishdataF::Memo_Change(Memo* sender) {
    if (sender->modified()) StartCorrection();
}

void TFishdataF::Btn_TeiseiClick() {
    // A character Shift-JIS cannot hold is named with its box before
    // anything is sent; the typed values and the correction state stay.
    auto caption = [this](const char* label) { return findControl<Label>(label)->caption(); };
    const QString unstorable = unstorableTextLine({
        {Edit_Day->text(), caption("Label_Day")},
        {Edit_Tenki->text(), caption("Label_Tenki")},
        {Edit_Place->text(), caption("Label_Place")},
        {Edit_Fune->text(), Label_x22->caption()},
        {Edit_Shio->text(), caption("Label_Shio")},
        {Edit_Shio_Kijyun->text(), caption("Label_Kijyun")},
        {Edit_Old_Day->text(), caption("Label_Old_Day")},
        {Edit_Max_T1->text(), caption("Label_Max")},
        {Edit_Max_T2->text(), caption("Label_Max")},
        {Edit_Min_T1->text(), caption("Label_Min")},
        {Edit_Min_T2->text(), caption("Label_Min")},
        {Edit_F1->text(), caption("Label_F1")},
        {Edit_F2->text(), caption("Label_F2")},
        {Edit_F3->text(), caption("Label_F3")},
        {Memo_Shikake->text(), caption("Label_Shikake")},
        {Memo_Cyouka->text(), caption("Label_Cyouka")},
    });
    if (!unstorable.isEmpty()) {
        platform().messageBox(this, failureMessage(QStringLiteral("更新に失敗しました"), unstorable));
        DM1->IBTr2.rollbackRetaining();
        return;
    }
    Bookmark mark = IBSQL_2.getBookmark();
    // A box that does not convert ends the handler here, in the error box:
    // nothing is sent and the typed values stay for mending.
    UpdateRecord();
    RefreshRecord(mark);
    Btn_Teisei->setEnabled(false);
    Btn_No->setEnabled(false);
    EnableNavigation();
}

void TFishdataF::UpdateRecord() {
    Query& q = IBSQL_UP;
    q.close();
    q.sqlClear();
    q.sqlAdd(
        " update FISH_DATA set DAY_DATA = :parDAY_DATA , TENNKI = :parTENNKI , FUNE = :parFUNE ,"
        " BASYO = :parBASYO , SHIO = :parSHIO , KIJYUNN = :parKIJYUNN , KYUUREKI = :parKYUUREKI ,"
        " OLD_SHIO = :parOLD_SHIO , MAX1 = :parMAX1 , MAX2 = :parMAX2 , MAX1_HIGHT= :parMAX1_HIGHT,"
        " MAX2_HIGHT = :parMAX2_HIGHT , MIN1 = :parMIN1 , MIN2 = :parMIN2 , MIN1_LOW = :parMIN1_LOW ,"
        " MIN2_LOW = :parMIN2_LOW , FISH1 = :parFISH1 , FISH1_MAX = :parFISH1_MAX ,"
        " FISH1_MIN = :parFISH1_MIN , FISH1_KAZU = :parFISH1_KAZU , FISH2 = :parFISH2 ,"
        " FISH2_MAX = :parFISH2_MAX , FISH2_MIN = :parFISH2_MIN , FISH2_KAZU = :parFISH2_KAZU ,"
        " FISH3 = :parFISH3 , FISH3_MAX = :parFISH3_MAX , FISH3_MIN = :parFISH3_MIN ,"
        " FISH3_KAZU = :parFISH3_KAZU , SHIKAKE = :parSHIKAKE , BIKOU = :parBIKOU"
        " where CODENO = :parCODENO ");

    // Every value is converted before anything is sent; a box left empty
    // either goes as empty text or, not set at all, as NULL.
    auto text = [&](const char* param, const Edit* box) {
        q.paramByName(param).setString(box->text().toStdString());
    };
    auto textOrNull = [&](const char* param, const Edit* box) {
        if (!box->text().isEmpty()) text(param, box);
    };
    auto height = [&](const char* param, const Edit* box) {
        if (!box->text().isEmpty()) q.paramByName(param).setInteger(roundedHeight(box->text()));
    };
    auto integer = [&](const char* param, const Edit* box) {
        if (!box->text().isEmpty()) q.paramByName(param).setInteger(wholeInteger(box->text()));
    };
    auto memo = [&](const char* param, const Memo* box) {
        const QString t = box->text();
        if (!t.isEmpty()) q.paramByName(param).setTextBlob(t.toStdString());
    };
    text("parDAY_DATA", Edit_Day);
    text("parTENNKI", Edit_Tenki);
    text("parFUNE", Edit_Fune);
    text("parBASYO", Edit_Place);
    text("parSHIO", Edit_Shio);
    text("parKIJYUNN", Edit_Shio_Kijyun);
    text("parKYUUREKI", Edit_Old_Day);
    text("parOLD_SHIO", Edit_Old_Sho);
    textOrNull("parMAX1", Edit_Max_T1);
    textOrNull("parMAX2", Edit_Max_T2);
    height("parMAX1_HIGHT", Edit_Max_H1);
    height("parMAX2_HIGHT", Edit_Max_H2);
    textOrNull("parMIN1", Edit_Min_T1);
    textOrNull("parMIN2", Edit_Min_T2);
    height("parMIN1_LOW", Edit_Min_H1);
    height("parMIN2_LOW", Edit_Min_H2);
    text("parFISH1", Edit_F1);
    integer("parFISH1_MAX", Edit_F1_Max);
    integer("parFISH1_MIN", Edit_F1_Min);
    integer("parFISH1_KAZU", Edit_F1_kazu);
    textOrNull("parFISH2", Edit_F2);
    integer("parFISH2_MAX", Edit_F2_Max);
    integer("parFISH2_MIN", Edit_F2_Min);
    integer("parFISH2_KAZU", Edit_F2_kazu);
    textOrNull("parFISH3", Edit_F3);
    integer("parFISH3_MAX", Edit_F3_Max);
    integer("parFISH3_MIN", Edit_F3_Min);
    integer("parFISH3_KAZU", Edit_F3_kazu);
    memo("parSHIKAKE", Memo_Shikake);
    memo("parBIKOU", Memo_Cyouka);
    q.paramByName("parCODENO").setInteger(wholeInteger(Edit_No->text()));

    try {
        q.execQuery();
        // No row of that number (the empty display): nothing was corrected.
        if (q.rowsAffected() == 0) throw tolvane::db::Error("no record was updated");
        DM1->IBTr2.commitRetaining();
    } catch (const std::exception&) {
        platform().messageBox(this, QStringLiteral("更新に失敗しました"));
        DM1->IBTr2.rollbackRetaining();
    }
}

void TFishdataF::Btn_NoClick() {
    Bookmark mark = IBSQL_2.getBookmark();
    RefreshRecord(mark);
    Btn_Teisei->setEnabled(false);
    Btn_No->setEnabled(false);
    EnableNavigation();
}
