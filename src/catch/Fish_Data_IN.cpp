#include "catch/Fish_Data_IN.h"

#include <exception>

#include <QThread>
#include <cmath>
#include <cstring>
#include <limits>
#include <stdexcept>

#include "catch/Data_Sel_F.h"
#include "core/DM_1.h"
#include "core/columns.h"
#include "core/handover.h"
#include "photo/Fish_Chizu_In_F.h"
#include "lessons/Kadai_In_F.h"
#include "pictures/input.h"
#include "pictures/storage.h"
#include "tide/Fish_Shio_In_F.h"
#include "tide/New_Shio_In_F.h"
#include "ui/platform.h"

using namespace tolvane::ui;
using tolvane::pictures::Picture;

TFishDataIn* FishDataIn = nullptr;

void OpenFishDataIn(Form* opener) {
    DataMode = NEW_Flg;
    struct Restore {
        ~Restore() { DataMode = OLD_Flg; }
    } restore;
    openModal(FishDataIn, opener);
}

namespace {

const QColor kWindow(0xAA, 0xD3, 0xF9);
const QColor kBar(0x9A, 0xFA, 0xF2);
const QColor kRequired(0x00, 0xFF, 0xFF);
const QColor kRed(255, 0, 0);

const char kDigits[] = "0123456789";
const char kDigitsAndPoint[] = "0123456789.";

const QString kRigProgram = QStringLiteral("Rigsketch.exe");

// The save's columns, in the order of the statement; each has the parameter
// :par + its name.
const char* const kColumns[] = {
    "CODENO",     "DAY_DATA",   "TENNKI",     "FUNE",       "BASYO",      "SHIO",
    "KIJYUNN",    "KYUUREKI",   "OLD_SHIO",   "MAX1",       "MAX2",       "MAX1_HIGHT",
    "MAX2_HIGHT", "MIN1",       "MIN2",       "MIN1_LOW",   "MIN2_LOW",   "FISH1",
    "FISH1_MAX",  "FISH1_MIN",  "FISH1_KAZU", "FISH2",      "FISH2_MAX",  "FISH2_MIN",
    "FISH2_KAZU", "FISH3",      "FISH3_MAX",  "FISH3_MIN",  "FISH3_KAZU", "SHIKAKE",
    "BIKOU",      "SHIO_ZU",    "CHIZU",      "PHOTO1",     "PHOTO2",     "PHOTO3",
    "PHOTO4",     "NEW_1_S",    "NEW_1_E",    "NEW_2_S",    "NEW_2_E",    "NEW_3_S",
    "NEW_3_E",    "NEW_4_S",    "NEW_4_E",    "NEW_5_S",    "NEW_5_E",    "NEW_6_S",
    "NEW_6_E",    "TIME1_L",    "TIME1_T",    "TIME1_W",    "TIME1_H",    "TIME2_L",
    "TIME2_T",    "TIME2_W",    "TIME2_H"};
static_assert(std::size(kColumns) == 57);

// A value of the save that does not convert.
struct BadInput : std::runtime_error {
    BadInput() : std::runtime_error("input does not convert") {}
};

// A text holding a character the database cannot store; `line` names it
// and its box.
struct UnstorableText : BadInput {
    explicit UnstorableText(QString l) : line(std::move(l)) {}
    QString line;
};

bool allDigits(const QString& s) {
    if (s.isEmpty()) return false;
    for (QChar c : s)
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
    return true;
}

// A character filter: a typed character outside `accepted` is dropped;
// backspace, escape and Enter always pass.
void acceptOnly(QChar& key, const char* accepted) {
    const ushort k = key.unicode();
    if (k == 8 || k == 27 || k == 13) return;
    if (k < 0x80 && k != 0 && std::strchr(accepted, char(k)) != nullptr) return;
    key = QChar(0);
}

// Enter is consumed and moves the focus to `next`.
void enterTo(QChar& key, Control* next) {
    if (key != QChar(13)) return;
    key = QChar(0);
    next->setFocus();
}

Edit* recordEdit(QWidget* parent, const char* name, int l, int t, int w, ImeMode ime) {
    auto* e = new Edit(parent, name, l, t, w, 24);
    e->setFontPx(16, true);
    if (ime != ImeMode::Default) e->setImeMode(ime);
    return e;
}

Label* newLabel(QWidget* parent, const char* name, const QString& text, int l, int t,
               bool required = false) {
    auto* lb = new Label(parent, name, text, l, t);
    if (required) {
        lb->setFontPx(16, true);
        lb->setFontColor(kRed);
    }
    return lb;
}

}  // namespace

// --- readers ------------------------------------------------------------------

std::optional<QDate> readShortDate(const QString& text) {
    const QStringList parts = text.trimmed().split(QLatin1Char('/'));
    if (parts.size() != 2 && parts.size() != 3) return std::nullopt;
    int v[3] = {0, 0, 0};
    for (int i = 0; i < parts.size(); ++i) {
        const QString p = parts[i].trimmed();
        if (!allDigits(p) || p.size() > 4) return std::nullopt;
        v[i] = p.toInt();
    }
    int year, month, day;
    if (parts.size() == 3) {
        year = v[0];
        if (parts[0].trimmed().size() <= 2) year += year < 50 ? 2000 : 1900;
        month = v[1];
        day = v[2];
    } else {
        year = QDate::currentDate().year();
        month = v[0];
        day = v[1];
    }
    const QDate d(year, month, day);
    if (!d.isValid() || year < 1) return std::nullopt;
    return d;
}

std::optional<QString> readTimeOfDay(const QString& hour, const QString& minute) {
    const QString h = hour.trimmed(), m = minute.trimmed();
    if (!allDigits(h) || !allDigits(m)) return std::nullopt;
    bool okH = false, okM = false;
    const int hh = h.toInt(&okH), mm = m.toInt(&okM);
    if (!okH || !okM || hh > 23 || mm > 59) return std::nullopt;
    return QStringLiteral("%1:%2").arg(hh, 2, 10, QLatin1Char('0')).arg(mm, 2, 10, QLatin1Char('0'));
}

std::optional<int> readRoundedHeight(const QString& text) {
    bool ok = false;
    // QString's own reader, not QLocale::c(): the latter takes "2,500.5" as 2500.5.
    const double v = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(v)) return std::nullopt;
    const double r = std::nearbyint(v);   // the default rounding: a half to the even neighbour
    if (r < double(std::numeric_limits<int>::min()) || r > double(std::numeric_limits<int>::max()))
        return std::nullopt;
    return int(r);
}

// --- the window -----------------------------------------------------------------

TFishDataIn::TFishDataIn(Form* owner)
    : Form(owner, "FishDataIn"), IBSQL(DM1->IBDB2, DM1->IBTr2), IBSQL_UP(DM1->IBDB2, DM1->IBTr2) {
    setCaption(QStringLiteral("釣果記録"));
    setFixedClientSize(960, 710);
    setPosition(Position::ScreenCenter);
    setColor(kWindow);
    setFontPx(16);

    // Record boxes, created in the keyboard order of the Enter chain.
    Label_No = newLabel(this, "Label_No", QStringLiteral("Ｎｏ"), 16, 52);
    Edit_No = recordEdit(this, "Edit_No", 48, 48, 57, ImeMode::Default);
    Edit_No->setReadOnly(true);
    Label_Day = newLabel(this, "Label_Day", QStringLiteral("日付"), 176, 52, true);
    Edit_Day = recordEdit(this, "Edit_Day", 216, 48, 105, ImeMode::Off);
    Label_Tenki = newLabel(this, "Label_Tenki", QStringLiteral("天候"), 328, 52);
    Edit_Tenki = recordEdit(this, "Edit_Tenki", 368, 48, 97, ImeMode::Hiragana);

    Label_Basyo = newLabel(this, "Label_Basyo", QStringLiteral("場所"), 16, 84, true);
    Edit_Basyo = recordEdit(this, "Edit_Basyo", 64, 80, 169, ImeMode::Default);
    Label_x22 = newLabel(this, "Label_x22", QStringLiteral("ポイント"), 240, 84);
    Edit_Fune = recordEdit(this, "Edit_Fune", 304, 80, 121, ImeMode::Default);

    Label_Shio = newLabel(this, "Label_Shio", QStringLiteral("潮"), 16, 116);
    CBox_Shio = new ComboBox(this, "CBox_Shio", 64, 112, 97, 24);
    CBox_Shio->setFontPx(16, true);
    CBox_Shio->addItems({QString(), QStringLiteral("大潮"), QStringLiteral("中潮"),
                         QStringLiteral("小潮"), QStringLiteral("長潮"), QStringLiteral("若潮")});
    CBox_Shio->setImeMode(ImeMode::Hiragana);
    Label_Kijyun = newLabel(this, "Label_Kijyun", QStringLiteral("基準場所"), 176, 116);
    Edit_Shio_Kijyun = recordEdit(this, "Edit_Shio_Kijyun", 248, 112, 137, ImeMode::Hiragana);

    Label_Old_Day = newLabel(this, "Label_Old_Day", QStringLiteral("旧暦"), 16, 148);
    Edit_Old_Day = recordEdit(this, "Edit_Old_Day", 64, 144, 121, ImeMode::Hiragana);
    Edit_Old_Sho = recordEdit(this, "Edit_Old_Sho", 248, 144, 57, ImeMode::Default);
    Edit_Old_Sho->setVisible(false);
    Edit_Old_Sho->setTabStop(false);
    Edit_Old_Sho->setFocusPolicy(Qt::NoFocus);

    Label_Max = newLabel(this, "Label_Max", QStringLiteral("満潮"), 48, 196);
    Label_Min = newLabel(this, "Label_Min", QStringLiteral("干潮"), 232, 196);
    for (int row = 0; row < 2; ++row) {
        const int top = 192 + 24 * row;
        new Label(this, QStringLiteral("Label_MaxColon%1").arg(row + 1), QStringLiteral(":"), 130, top + 4);
        new Label(this, QStringLiteral("Label_MinColon%1").arg(row + 1), QStringLiteral(":"), 306, top + 4);
    }
    Edit_Max_T1 = recordEdit(this, "Edit_Max_T1", 96, 192, 33, ImeMode::Off);
    Edit_Max_T1_2 = recordEdit(this, "Edit_Max_T1_2", 136, 192, 33, ImeMode::Off);
    Edit_Max_H1 = recordEdit(this, "Edit_Max_H1", 176, 192, 49, ImeMode::Off);
    Edit_Max_T2 = recordEdit(this, "Edit_Max_T2", 96, 216, 33, ImeMode::Off);
    Edit_Max_T2_2 = recordEdit(this, "Edit_Max_T2_2", 136, 216, 33, ImeMode::Off);
    Edit_Max_H2 = recordEdit(this, "Edit_Max_H2", 176, 216, 49, ImeMode::Off);
    Edit_Min_T1 = recordEdit(this, "Edit_Min_T1", 272, 192, 33, ImeMode::Off);
    Edit_Min_T1_2 = recordEdit(this, "Edit_Min_T1_2", 312, 192, 33, ImeMode::Off);
    Edit_Min_H1 = recordEdit(this, "Edit_Min_H1", 352, 192, 49, ImeMode::Off);
    Edit_Min_T2 = recordEdit(this, "Edit_Min_T2", 272, 216, 33, ImeMode::Off);
    Edit_Min_T2_2 = recordEdit(this, "Edit_Min_T2_2", 312, 216, 33, ImeMode::Off);
    Edit_Min_H2 = recordEdit(this, "Edit_Min_H2", 352, 216, 49, ImeMode::Off);

    Label_F1 = newLabel(this, "Label_F1", QStringLiteral("魚種１"), 96, 245, true);
    Label_F2 = newLabel(this, "Label_F2", QStringLiteral("魚種２"), 224, 245);
    Label_F3 = newLabel(this, "Label_F3", QStringLiteral("魚種３"), 352, 245);
    Label_Size = newLabel(this, "Label_Size", QStringLiteral("最大-最小"), 8, 300);
    Label_Kazu = newLabel(this, "Label_Kazu", QStringLiteral("数"), 8, 332);
    Edit_F1 = recordEdit(this, "Edit_F1", 96, 264, 121, ImeMode::Hiragana);
    Edit_F1_Max = recordEdit(this, "Edit_F1_Max", 96, 296, 57, ImeMode::Off);
    Edit_F1_Min = recordEdit(this, "Edit_F1_Min", 160, 296, 57, ImeMode::Off);
    Edit_F1_kazu = recordEdit(this, "Edit_F1_kazu", 96, 328, 57, ImeMode::Off);
    Edit_F2 = recordEdit(this, "Edit_F2", 224, 264, 121, ImeMode::Hiragana);
    Edit_F2_Max = recordEdit(this, "Edit_F2_Max", 224, 296, 57, ImeMode::Off);
    Edit_F2_Min = recordEdit(this, "Edit_F2_Min", 288, 296, 57, ImeMode::Off);
    Edit_F2_kazu = recordEdit(this, "Edit_F2_kazu", 224, 328, 57, ImeMode::Off);
    Edit_F3 = recordEdit(this, "Edit_F3", 352, 264, 121, ImeMode::Hiragana);
    Edit_F3_Max = recordEdit(this, "Edit_F3_Max", 352, 296, 57, ImeMode::Off);
    Edit_F3_Min = recordEdit(this, "Edit_F3_Min", 416, 296, 57, ImeMode::Off);
    Edit_F3_kazu = recordEdit(this, "Edit_F3_kazu", 352, 328, 57, ImeMode::Off);

    Label_Shikake = newLabel(this, "Label_Shikake", QStringLiteral("仕掛け"), 8, 356);
    Memo_Shikake = new Memo(this, "Memo_Shikake", 8, 376, 457, 137);
    Memo_Shikake->setFontPx(16, true);
    Memo_Shikake->setImeMode(ImeMode::Hiragana);
    Label_Cyouka = newLabel(this, "Label_Cyouka", QStringLiteral("釣果　釣行記録"), 8, 516);
    Memo_Cyouka = new Memo(this, "Memo_Cyouka", 8, 536, 457, 129);
    Memo_Cyouka->setFontPx(16, true);
    Memo_Cyouka->setImeMode(ImeMode::Hiragana);

    // The save and erase buttons.
    Panel_Button = new Panel(this, "Panel_Button", 824, 45, 115, 113);
    Panel_Button->setColor(kBar);
    Btn_New_Yes = new Button(Panel_Button, "Btn_New_Yes", QStringLiteral("入　力"), 12, 10, 91, 41);
    Btn_New_No = new Button(Panel_Button, "Btn_New_No", QStringLiteral("消 去"), 12, 62, 91, 41);

    // Tide chart: the hint and the panel's caption lie beneath the picture,
    // the two markers over it.
    Panel_Shio = new Panel(this, "Panel_Shio", 480, 44, 341, 255, QStringLiteral("潮位"));
    Label_Shio_Hint = new Label(Panel_Shio, "Label_Shio_Hint",
                                QStringLiteral("潮位は Click して入力画面を表示"), 56, 168);
    Image_Shio = new Image(Panel_Shio, "Image_Shio", 3, 2, 334, 250);
    Image_Shio->setProportional(true);
    Image_Shio->setCenter(true);
    Shape_1 = new Shape(Panel_Shio, "Shape_1", 0, 0, 0, 0);
    Shape_1->setPen(QColor(0, 0, 255));
    Shape_1->setFill(Shape::Fill::Clear);
    Shape_2 = new Shape(Panel_Shio, "Shape_2", 0, 0, 0, 0);
    Shape_2->setPen(kRed);
    Shape_2->setFill(Shape::Fill::BDiagonal, kRed);

    Panel_Chizu = new Panel(this, "Panel_Chizu", 480, 300, 341, 255, QStringLiteral("地図・仕掛図など"));
    Label_Chizu_Hint = new Label(Panel_Chizu, "Label_Chizu_Hint",
                                 QStringLiteral("地図は Click して入力画面を表示"), 56, 168);
    Image_Map = new Image(Panel_Chizu, "Image_Map", 3, 2, 334, 250);
    Image_Map->setProportional(true);
    Image_Map->setCenter(true);

    // Tide and map input.
    Bevel_Input = new Bevel(this, "Bevel_Input", 832, 184, 105, 137);
    Label_Input1 = newLabel(this, "Label_Input1", QStringLiteral("潮位・地図"), 842, 196);
    Label_Input2 = newLabel(this, "Label_Input2", QStringLiteral("の入力"), 858, 218);
    But_Cyoui = new Button(this, "But_Cyoui", QStringLiteral("潮位"), 840, 252, 89, 25);
    But_Cyoui->setTabStop(false);
    Btn_Chizu = new Button(this, "Btn_Chizu", QStringLiteral("地図"), 840, 284, 89, 25);
    Btn_Chizu->setTabStop(false);

    // The rig-drawing program.
    Bevel_Rig = new Bevel(this, "Bevel_Rig", 832, 352, 105, 89);
    Label_Rig1 = newLabel(this, "Label_Rig1", QStringLiteral("リグスケッチ"), 838, 358);
    Label_Rig1->setFontPx(14);
    Label_Rig2 = newLabel(this, "Label_Rig2", QStringLiteral("アプリの起動"), 838, 378);
    Label_Rig2->setFontPx(14);
    BtnRigsketch = new Button(this, "BtnRigsketch", QStringLiteral("リグスケッチ"), 840, 400, 89, 25);
    BtnRigsketch->setFontPx(13);

    Btn_Kadai = new Button(this, "Btn_Kadai", QStringLiteral("次回への課題"), 824, 488, 113, 25);

    // Photos: each caption lies beneath its picture.
    Label_Photo = newLabel(this, "Label_Photo", QStringLiteral("写真などの入力"), 480, 557);
    Label_Photo->setFontPx(13, true);
    Label_Photo_Note = newLabel(this, "Label_Photo_Note",
                               QStringLiteral("ダブルクリックしてJpegファイルを選択"), 600, 557);
    Label_Photo_Note->setFontPx(13);
    Panel_Photo = new Panel(this, "Panel_Photo", 472, 572, 469, 97);
    Label* photoLabels[4];
    Image* photos[4];
    const char* labelNames[4] = {"Label_A", "Label_B", "Label_C", "Label_D"};
    const char* imageNames[4] = {"Image_A", "Image_B", "Image_C", "Image_D"};
    const QString labelTexts[4] = {QStringLiteral("写真　１"), QStringLiteral("写真　２"),
                                   QStringLiteral("写真　３"), QStringLiteral("写真　４")};
    for (int i = 0; i < 4; ++i) {
        const int left = 8 + 114 * i;
        photoLabels[i] = newLabel(Panel_Photo, labelNames[i], labelTexts[i], left + 20, 38);
        photos[i] = new Image(Panel_Photo, imageNames[i], left, 8, 105, 81);
        photos[i]->setProportional(true);
    }
    Label_A = photoLabels[0], Label_B = photoLabels[1], Label_C = photoLabels[2], Label_D = photoLabels[3];
    Image_A = photos[0], Image_B = photos[1], Image_C = photos[2], Image_D = photos[3];

    // Top bar.
    Panel_Top = new Panel(this, "Panel_Top", 0, 0, 960, 39);
    Panel_Top->setColor(kBar);
    Label_Title = new Label(Panel_Top, "Label_Title", QStringLiteral("釣果記録入力"), 16, 9);
    Label_Title->setFontPx(18, true);
    Btn_Close = new Button(Panel_Top, "Btn_Close", QStringLiteral("戻　る"), 856, 6, 89, 27);

    // Handlers.
    OnShow = [this] { FormShow(); };
    Btn_New_No->OnClick = [this] { Btn_New_NoClick(); };
    Btn_Close->OnClick = [this] { Btn_CloseClick(); };
    Btn_New_Yes->OnClick = [this] { Btn_New_YesClick(); };
    Image_Shio->OnDblClick = [this] { Image_ShioDblClick(); };
    But_Cyoui->OnClick = [this] { Image_ShioDblClick(); };
    Image_Map->OnDblClick = [this] { Image_MapDblClick(); };
    Btn_Chizu->OnClick = [this] { Image_MapDblClick(); };
    for (Image* img : photos) img->OnDblClick = [this, img] { Image_Photo_DblClick(img); };
    BtnRigsketch->OnClick = [this] { BtnRigsketchClick(); };
    Btn_Kadai->OnClick = [this] { Btn_KadaiClick(); };

    Edit_Day->OnKeyPress = [this](QChar& k) { Edit_DayKeyPress(k); };
    Edit_Tenki->OnKeyPress = [this](QChar& k) { Edit_TenkiKeyPress(k); };
    Edit_Basyo->OnKeyPress = [this](QChar& k) { Edit_BasyoKeyPress(k); };
    Edit_Fune->OnKeyPress = [this](QChar& k) { Edit_FuneKeyPress(k); };
    CBox_Shio->OnKeyPress = [this](QChar& k) { CBox_ShioKeyPress(k); };
    Edit_Shio_Kijyun->OnKeyPress = [this](QChar& k) { Edit_Shio_KijyunKeyPress(k); };
    Edit_Old_Day->OnKeyPress = [this](QChar& k) { Edit_Old_DayKeyPress(k); };
    Edit_Max_T1->OnKeyPress = [this](QChar& k) { Edit_Max_T1KeyPress(k); };
    Edit_Max_T1_2->OnKeyPress = [this](QChar& k) { Edit_Max_T1_2KeyPress(k); };
    Edit_Max_H1->OnKeyPress = [this](QChar& k) { Edit_Max_H1KeyPress(k); };
    Edit_Max_T2->OnKeyPress = [this](QChar& k) { Edit_Max_T2KeyPress(k); };
    Edit_Max_T2_2->OnKeyPress = [this](QChar& k) { Edit_Max_T2_2KeyPress(k); };
    Edit_Max_H2->OnKeyPress = [this](QChar& k) { Edit_Max_H2KeyPress(k); };
    Edit_Min_T1->OnKeyPress = [this](QChar& k) { Edit_Min_T1KeyPress(k); };
    Edit_Min_T1_2->OnKeyPress = [this](QChar& k) { Edit_Min_T1_2KeyPress(k); };
    Edit_Min_H1->OnKeyPress = [this](QChar& k) { Edit_Min_H1KeyPress(k); };
    Edit_Min_T2->OnKeyPress = [this](QChar& k) { Edit_Min_T2KeyPress(k); };
    Edit_Min_T2_2->OnKeyPress = [this](QChar& k) { Edit_Min_T2_2KeyPress(k); };
    Edit_Min_H2->OnKeyPress = [this](QChar& k) { Edit_Min_H2KeyPress(k); };
    Edit_F1->OnKeyPress = [this](QChar& k) { Edit_F1KeyPress(k); };
    Edit_F1_Max->OnKeyPress = [this](QChar& k) { Edit_F1_MaxKeyPress(k); };
    Edit_F1_Min->OnKeyPress = [this](QChar& k) { Edit_F1_MinKeyPress(k); };
    Edit_F1_kazu->OnKeyPress = [this](QChar& k) { Edit_F1_kazuKeyPress(k); };
    Edit_F2->OnKeyPress = [this](QChar& k) { Edit_F2KeyPress(k); };
    Edit_F2_Max->OnKeyPress = [this](QChar& k) { Edit_F2_MaxKeyPress(k); };
    Edit_F2_Min->OnKeyPress = [this](QChar& k) { Edit_F2_MinKeyPress(k); };
    Edit_F2_kazu->OnKeyPress = [this](QChar& k) { Edit_F2_kazuKeyPress(k); };
    Edit_F3->OnKeyPress = [this](QChar& k) { Edit_F3KeyPress(k); };
    Edit_F3_Max->OnKeyPress = [this](QChar& k) { Edit_F3_MaxKeyPress(k); };
    Edit_F3_Min->OnKeyPress = [this](QChar& k) { Edit_F3_MinKeyPress(k); };
    Edit_F3_kazu->OnKeyPress = [this](QChar& k) { Edit_F3_kazuKeyPress(k); };

    Edit_Basyo->OnDblClick = [this] { Edit_BasyoDblClick(); };
    Edit_Basyo->OnEnter = [this] { Edit_BasyoEnter(); };
    Edit_Fune->OnDblClick = [this] { Edit_FuneDblClick(); };
    Edit_Fune->OnEnter = [this] { Edit_FuneEnter(); };
    Edit_F1->OnDblClick = [this] { Edit_F1DblClick(); };
    Edit_F1->OnEnter = [this] { Edit_F1Enter(); };
    Edit_F2->OnDblClick = [this] { Edit_F2DblClick(); };
    Edit_F3->OnDblClick = [this] { Edit_F3DblClick(); };
    Edit_Shio_Kijyun->OnDblClick = [this] { Edit_Shio_KijyunDblClick(); };
    Edit_Shio_Kijyun->OnEnter = [this] { Edit_Shio_KijyunEnter(); };

    // Text boxes take no more than their columns hold.
    limitToColumn(Edit_Day, "FISH_DATA", "DAY_DATA");
    limitToColumn(Edit_Tenki, "FISH_DATA", "TENNKI");
    limitToColumn(Edit_Basyo, "FISH_DATA", "BASYO");
    limitToColumn(Edit_Fune, "FISH_DATA", "FUNE");
    limitToColumn(CBox_Shio, "FISH_DATA", "SHIO");
    limitToColumn(Edit_Shio_Kijyun, "FISH_DATA", "KIJYUNN");
    limitToColumn(Edit_Old_Day, "FISH_DATA", "KYUUREKI");
    limitToColumn(Edit_Old_Sho, "FISH_DATA", "OLD_SHIO");
    limitToColumn(Edit_F1, "FISH_DATA", "FISH1");
    limitToColumn(Edit_F2, "FISH_DATA", "FISH2");
    limitToColumn(Edit_F3, "FISH_DATA", "FISH3");
}

TFishDataIn::~TFishDataIn() = default;

// --- clearing for a new record ---------------------------------------------------

void TFishDataIn::ResetRecordForm() {
    for (QWidget* w : findChildren<QWidget*>())
        if (auto* e = dynamic_cast<Edit*>(w)) e->clear();
    Memo_Shikake->clear();
    Memo_Cyouka->clear();
    Image_Shio->clearPicture();
    Image_Map->clearPicture();
    CBox_Shio->setItemIndex(-1);

    Edit_Day->setColor(kRequired);
    Edit_Basyo->setColor(kRequired);
    Edit_F1->setColor(kRequired);

    Image_A->clearPicture();
    Image_B->clearPicture();
    Image_C->clearPicture();
    Image_D->clearPicture();

    ShioTimeRects.fill(0);
    ShioNewMarks.fill(0);
    Shape_1->setBounds(0, 0, 0, 0);
    Shape_2->setBounds(0, 0, 0, 0);

    // A catch file that cannot be read leaves the number empty (the save
    // reads it again), but the rest of the defaults are set all the same;
    // the error is reported once they are.
    std::exception_ptr keyError;
    try {
        Edit_No->setText(QString::number(tolvane::db::nextKey(IBSQL, " select max(CODENO) from FISH_DATA")));
    } catch (const std::exception&) {
        keyError = std::current_exception();
    }

    if (FuneWord == QStringLiteral("船")) {
        Edit_Fune->setBounds(264, 80, 121, 24);
        Label_x22->setCaption(QStringLiteral("船"));
    } else {
        Edit_Fune->setBounds(304, 80, 121, 24);
        Label_x22->setCaption(QStringLiteral("ポイント"));
    }

    Edit_Day->setText(QDate::currentDate().toString(QStringLiteral("yyyy/MM/dd")));
    BtnRigsketch->setEnabled(platform().fileExists(platform().currentDirFile(kRigProgram)));
    Edit_No->setFocus();
    if (keyError) std::rethrow_exception(keyError);
}

void TFishDataIn::FormShow() { ResetRecordForm(); }
void TFishDataIn::Btn_New_NoClick() { ResetRecordForm(); }
void TFishDataIn::Btn_CloseClick() { close(); }

// --- Enter chain and key filters ------------------------------------------------------

bool TFishDataIn::normaliseDay() {
    const auto d = readShortDate(Edit_Day->text());
    if (!d) return false;
    Edit_Day->setText(d->toString(QStringLiteral("yyyy/MM/dd")));
    return true;
}

void TFishDataIn::Edit_DayKeyPress(QChar& key) {
    if (key != QChar(13)) return;
    key = QChar(0);
    if (normaliseDay()) Edit_Tenki->setFocus();
    else platform().messageBox(this, QStringLiteral("日付の指定が間違っています"));
}

void TFishDataIn::Edit_TenkiKeyPress(QChar& key) { enterTo(key, Edit_Basyo); }
void TFishDataIn::Edit_BasyoKeyPress(QChar& key) { enterTo(key, Edit_Fune); }
void TFishDataIn::Edit_FuneKeyPress(QChar& key) { enterTo(key, CBox_Shio); }
void TFishDataIn::CBox_ShioKeyPress(QChar& key) { enterTo(key, Edit_Shio_Kijyun); }
void TFishDataIn::Edit_Shio_KijyunKeyPress(QChar& key) { enterTo(key, Edit_Old_Day); }
void TFishDataIn::Edit_Old_DayKeyPress(QChar& key) { enterTo(key, Edit_Max_T1); }

void TFishDataIn::Edit_Max_T1KeyPress(QChar& key) {
    acceptOnly(key, kDigits);
    enterTo(key, Edit_Max_T1->text().isEmpty() ? Edit_Max_T2 : Edit_Max_T1_2);
}
void TFishDataIn::Edit_Max_T1_2KeyPress(QChar& key) {
    acceptOnly(key, kDigits);
    enterTo(key, Edit_Max_H1);
}
void TFishDataIn::Edit_Max_H1KeyPress(QChar& key) {
    acceptOnly(key, kDigitsAndPoint);
    enterTo(key, Edit_Max_T2);
}
void TFishDataIn::Edit_Max_T2KeyPress(QChar& key) {
    acceptOnly(key, kDigits);
    enterTo(key, Edit_Max_T2->text().isEmpty() ? Edit_Min_T1 : Edit_Max_T2_2);
}
void TFishDataIn::Edit_Max_T2_2KeyPress(QChar& key) {
    acceptOnly(key, kDigits);
    enterTo(key, Edit_Max_H2);
}
void TFishDataIn::Edit_Max_H2KeyPress(QChar& key) {
    acceptOnly(key, kDigitsAndPoint);
    enterTo(key, Edit_Min_T1);
}
void TFishDataIn::Edit_Min_T1KeyPress(QChar& key) {
    acceptOnly(key, kDigits);
    enterTo(key, Edit_Min_T1->text().isEmpty() ? Edit_Min_T2 : Edit_Min_T1_2);
}
void TFishDataIn::Edit_Min_T1_2KeyPress(QChar& key) {
    acceptOnly(key, kDigits);
    enterTo(key, Edit_Min_H1);
}
void TFishDataIn::Edit_Min_H1KeyPress(QChar& key) {
    acceptOnly(key, kDigitsAndPoint);
    enterTo(key, Edit_Min_T2);
}
void TFishDataIn::Edit_Min_T2KeyPress(QChar& key) {
    acceptOnly(key, kDigits);
    enterTo(key, Edit_Min_T2->text().isEmpty() ? Edit_F1 : Edit_Min_T2_2);
}
void TFishDataIn::Edit_Min_T2_2KeyPress(QChar& key) {
    acceptOnly(key, kDigits);
    enterTo(key, Edit_Min_H2);
}
void TFishDataIn::Edit_Min_H2KeyPress(QChar& key) {
    acceptOnly(key, kDigitsAndPoint);
    enterTo(key, Edit_F1);
}

void TFishDataIn::Edit_F1KeyPress(QChar& key) { enterTo(key, Edit_F1_Max); }
void TFishDataIn::Edit_F1_MaxKeyPress(QChar& key) {
    acceptOnly(key, kDigits);
    enterTo(key, Edit_F1_Min);
}
void TFishDataIn::Edit_F1_MinKeyPress(QChar& key) {
    acceptOnly(key, kDigits);
    enterTo(key, Edit_F1_kazu);
}
void TFishDataIn::Edit_F1_kazuKeyPress(QChar& key) {
    acceptOnly(key, kDigits);
    enterTo(key, Edit_F2);
}
void TFishDataIn::Edit_F2KeyPress(QChar& key) {
    enterTo(key, Edit_F2->text().isEmpty() ? static_cast<Control*>(Edit_F3) : Edit_F2_Max);
}
void TFishDataIn::Edit_F2_MaxKeyPress(QChar& key) {
    acceptOnly(key, kDigits);
    enterTo(key, Edit_F2_Min);
}
void TFishDataIn::Edit_F2_MinKeyPress(QChar& key) {
    acceptOnly(key, kDigits);
    enterTo(key, Edit_F2_kazu);
}
void TFishDataIn::Edit_F2_kazuKeyPress(QChar& key) {
    acceptOnly(key, kDigits);
    enterTo(key, Edit_F3);
}
void TFishDataIn::Edit_F3KeyPress(QChar& key) {
    enterTo(key, Edit_F3->text().isEmpty() ? static_cast<Control*>(Memo_Shikake) : Edit_F3_Max);
}
void TFishDataIn::Edit_F3_MaxKeyPress(QChar& key) {
    acceptOnly(key, kDigits);
    enterTo(key, Edit_F3_Min);
}
void TFishDataIn::Edit_F3_MinKeyPress(QChar& key) {
    acceptOnly(key, kDigits);
    enterTo(key, Edit_F3_kazu);
}
void TFishDataIn::Edit_F3_kazuKeyPress(QChar& key) {
    acceptOnly(key, kDigits);
    enterTo(key, Memo_Shikake);
}

// --- pick lists ------------------------------------------------------------------------

void TFishDataIn::ShowDataSel() { openModal(Data_Sel, this); }

void TFishDataIn::pickInto(Edit* box, const QString& kind) {
    box->clear();
    SelKind = kind;
    ShowDataSel();
    box->setText(SelResult);
}

void TFishDataIn::Edit_BasyoDblClick() { pickInto(Edit_Basyo, QStringLiteral("BASYO")); }
void TFishDataIn::Edit_BasyoEnter() { pickInto(Edit_Basyo, QStringLiteral("BASYO")); }
void TFishDataIn::Edit_FuneDblClick() { pickInto(Edit_Fune, QStringLiteral("FUNE")); }
void TFishDataIn::Edit_FuneEnter() { pickInto(Edit_Fune, QStringLiteral("FUNE")); }
void TFishDataIn::Edit_F1DblClick() { pickInto(Edit_F1, QStringLiteral("SAKANA")); }
void TFishDataIn::Edit_F1Enter() { pickInto(Edit_F1, QStringLiteral("SAKANA")); }
void TFishDataIn::Edit_F2DblClick() { pickInto(Edit_F2, QStringLiteral("SAKANA")); }
void TFishDataIn::Edit_F3DblClick() { pickInto(Edit_F3, QStringLiteral("SAKANA")); }
void TFishDataIn::Edit_Shio_KijyunDblClick() { pickInto(Edit_Shio_Kijyun, QStringLiteral("KIJYUNN")); }
void TFishDataIn::Edit_Shio_KijyunEnter() { pickInto(Edit_Shio_Kijyun, QStringLiteral("KIJYUNN")); }

// --- tide chart, map, photos, rig drawing, lesson ----------------------------------------

void TFishDataIn::PlaceTimeShapes() {
    const auto& r = ShioTimeRects;
    Shape_1->setBounds(r[0] / 2 + 37, r[1] / 2 - 5, r[2] / 2, r[3] / 2);
    Shape_2->setBounds(r[4] / 2 + 37, r[5] / 2 - 5, r[6] / 2, r[7] / 2);
}

void TFishDataIn::Image_ShioDblClick() {
    DataMode = NEW_Flg;
    ShioPicFlag = 1;
    if (ShioMode == 1) {
        Shape_1->setBounds(0, 0, 0, 0);
        Shape_2->setBounds(0, 0, 0, 0);
        // The editor hands back its picture in Image_Shio and its rectangles
        // in ShioTimeRects.
        openModal(Fish_Shio_InF, this);
        PlaceTimeShapes();
    } else {
        // The editor hands back its picture in Image_Shio and its markers in
        // ShioNewMarks.
        openModal(New_Shio_InF, this);
    }
}

void TFishDataIn::Image_MapDblClick() {
    DataMode = NEW_Flg;
    // The map editor hands its picture back in Image_Map.
    openModal(Fish_Chizu_InF, this);
}

void TFishDataIn::Image_Photo_DblClick(Image* sender) {
    Picture p = sender->picture();
    if (tolvane::pictures::plainFileLoad(this, p)) sender->setPicture(p);
}

void TFishDataIn::BtnRigsketchClick() {
    platform().clipboardClear();
    std::unique_ptr<Process> rig = platform().startProcess(platform().currentDirFile(kRigProgram));
    if (!rig) return;   // not started: the window was never disabled

    struct Reenable {
        QWidget* w;
        ~Reenable() { w->setEnabled(true); }
    } reenable{this};
    QWidget::setEnabled(false);
    for (;;) {
        processMessages();
        if (!rig->running()) break;
        QThread::msleep(10);
    }
    QWidget::setEnabled(true);

    if (platform().clipboardHasBitmap()) {
        Picture p = Image_Map->picture();
        if (tolvane::pictures::bitmapPaste(this, p, tolvane::pictures::Notice::Silent))
            Image_Map->setPicture(p);
    }
}

void TFishDataIn::Btn_KadaiClick() {
    if (Edit_Basyo->text().isEmpty() || Edit_F1->text().isEmpty()) {
        platform().messageBox(this, QStringLiteral("魚種、場所の入力が必要です"));
        return;
    }
    // The month is taken from the "yyyy/mm/dd" form, so a date typed as
    // 2024/3/5 is put in that form first.
    if (!normaliseDay()) {
        platform().messageBox(this, QStringLiteral("日付の指定が間違っています"));
        return;
    }
    KadaiMode = 1;
    KadaiPlace = Edit_Basyo->text();
    KadaiFish = Edit_F1->text();
    QString month = Edit_Day->text().mid(5, 2);
    if (month.startsWith(QLatin1Char('0'))) month.remove(0, 1);
    KadaiMonth = month;
    KadaiPapaNo = Edit_No->text().toInt();
    // The lesson is stored at once under KadaiPapaNo, saved trip or not.
    openModal(Kadai_InF, this);
}

// --- the save ---------------------------------------------------------------------------------

void TFishDataIn::Btn_New_YesClick() {
    // No number yet (the reset could not read the catch file): read it now,
    // so the save works once the file can be attached; a failure is the
    // database's, reported as a failed input, and everything typed stays.
    if (Edit_No->text().isEmpty()) {
        try {
            Edit_No->setText(QString::number(tolvane::db::nextKey(IBSQL, " select max(CODENO) from FISH_DATA")));
        } catch (const std::exception& e) {
            platform().messageBox(this, QStringLiteral("入力に失敗しました\n") + QString::fromStdString(e.what()));
            try {
                DM1->IBTr2.rollbackRetaining();
            } catch (const std::exception&) {
            }
            return;
        }
    }

    // Date and tide times.
    struct TimeBoxes {
        Edit* hour;
        Edit* minute;
        const char* param;
    };
    const TimeBoxes times[4] = {{Edit_Max_T1, Edit_Max_T1_2, "parMAX1"},
                                {Edit_Max_T2, Edit_Max_T2_2, "parMAX2"},
                                {Edit_Min_T1, Edit_Min_T1_2, "parMIN1"},
                                {Edit_Min_T2, Edit_Min_T2_2, "parMIN2"}};
    std::optional<QString> timeTexts[4];
    bool readable = normaliseDay();
    for (int i = 0; readable && i < 4; ++i) {
        if (times[i].hour->text().isEmpty() || times[i].minute->text().isEmpty()) continue;
        timeTexts[i] = readTimeOfDay(times[i].hour->text(), times[i].minute->text());
        if (!timeTexts[i]) readable = false;
    }
    if (!readable) {
        platform().messageBox(this, QStringLiteral("日付・時間の入力が不正です"));
        return;
    }

    // Required fields: each focus move opens the pick list of its box.
    if (Edit_Day->text().isEmpty() || Edit_Basyo->text().isEmpty() || Edit_F1->text().isEmpty()) {
        platform().messageBox(this, QStringLiteral("必須事項：日付、場所、魚種１が未入力です"));
        if (Edit_F1->text().isEmpty()) Edit_F1->setFocus();
        if (Edit_Basyo->text().isEmpty()) Edit_Basyo->setFocus();
        return;
    }

    // The statement and its 57 parameters.
    tolvane::db::Query& q = IBSQL_UP;
    try {
        q.close();
        q.sqlClear();
        q.sqlAdd(" insert into FISH_DATA ( ");
        std::string cols, params;
        for (std::size_t i = 0; i < std::size(kColumns); ++i) {
            const std::string sep = i == 0 ? "" : ", ";
            cols += sep + kColumns[i];
            params += sep + ":par" + kColumns[i];
        }
        q.sqlAdd(cols);
        q.sqlAdd(" ) values ( ");
        q.sqlAdd(params);
        q.sqlAdd(" ) ");

        auto text = [&](const char* param, const QString& value) {
            q.paramByName(param).setString(value.toStdString());
        };
        // Empty: NULL. Otherwise a 32-bit integer or the input is wrong.
        auto integer = [&](const char* param, const Edit* box) {
            if (box->text().isEmpty()) return;
            const auto v = wholeNumber(box->text());
            if (!v) throw BadInput();
            q.paramByName(param).setInteger(*v);
        };
        auto height = [&](const char* param, const Edit* box) {
            if (box->text().isEmpty()) return;
            const auto v = readRoundedHeight(box->text());
            if (!v) throw BadInput();
            q.paramByName(param).setInteger(*v);
        };
        auto memo = [&](const char* param, const Memo* box) {
            const QString t = box->text();
            if (!t.isEmpty()) q.paramByName(param).setTextBlob(t.toStdString());
        };
        auto picture = [&](const char* param, const Image* img) {
            tolvane::pictures::keepingJpegWrite(q.paramByName(param), img->picture());
        };

        // Every text first: a character Shift-JIS cannot hold is named with
        // the label of its box.
        const QString unstorable = unstorableTextLine({
            {Edit_Day->text(), Label_Day->caption()},
            {Edit_Tenki->text(), Label_Tenki->caption()},
            {Edit_Fune->text(), Label_x22->caption()},
            {Edit_Basyo->text(), Label_Basyo->caption()},
            {CBox_Shio->text(), Label_Shio->caption()},
            {Edit_Shio_Kijyun->text(), Label_Kijyun->caption()},
            {Edit_Old_Day->text(), Label_Old_Day->caption()},
            {Edit_F1->text(), Label_F1->caption()},
            {Edit_F2->text(), Label_F2->caption()},
            {Edit_F3->text(), Label_F3->caption()},
            {Memo_Shikake->text(), Label_Shikake->caption()},
            {Memo_Cyouka->text(), Label_Cyouka->caption()},
        });
        if (!unstorable.isEmpty()) throw UnstorableText(unstorable);

        const auto no = wholeNumber(Edit_No->text());
        if (!no) throw BadInput();
        q.paramByName("parCODENO").setInteger(*no);
        text("parDAY_DATA", Edit_Day->text());
        text("parTENNKI", Edit_Tenki->text());
        text("parFUNE", Edit_Fune->text());
        text("parBASYO", Edit_Basyo->text());
        text("parSHIO", CBox_Shio->text());
        text("parKIJYUNN", Edit_Shio_Kijyun->text());
        text("parKYUUREKI", Edit_Old_Day->text());
        text("parOLD_SHIO", Edit_Old_Sho->text());
        for (int i = 0; i < 4; ++i)
            if (timeTexts[i]) text(times[i].param, *timeTexts[i]);
        height("parMAX1_HIGHT", Edit_Max_H1);
        height("parMAX2_HIGHT", Edit_Max_H2);
        height("parMIN1_LOW", Edit_Min_H1);
        height("parMIN2_LOW", Edit_Min_H2);
        text("parFISH1", Edit_F1->text());
        integer("parFISH1_MAX", Edit_F1_Max);
        integer("parFISH1_MIN", Edit_F1_Min);
        integer("parFISH1_KAZU", Edit_F1_kazu);
        text("parFISH2", Edit_F2->text());
        integer("parFISH2_MAX", Edit_F2_Max);
        integer("parFISH2_MIN", Edit_F2_Min);
        integer("parFISH2_KAZU", Edit_F2_kazu);
        text("parFISH3", Edit_F3->text());
        integer("parFISH3_MAX", Edit_F3_Max);
        integer("parFISH3_MIN", Edit_F3_Min);
        integer("parFISH3_KAZU", Edit_F3_kazu);
        memo("parSHIKAKE", Memo_Shikake);
        memo("parBIKOU", Memo_Cyouka);
        picture("parSHIO_ZU", Image_Shio);
        picture("parCHIZU", Image_Map);
        picture("parPHOTO1", Image_A);
        picture("parPHOTO2", Image_B);
        picture("parPHOTO3", Image_C);
        picture("parPHOTO4", Image_D);
        for (int i = 0; i < 12; ++i)
            q.paramByName(std::string("par") + kColumns[37 + i]).setInteger(ShioNewMarks[i]);
        for (int i = 0; i < 8; ++i)
            q.paramByName(std::string("par") + kColumns[49 + i]).setInteger(ShioTimeRects[i]);
    } catch (const UnstorableText& e) {
        platform().messageBox(this, failureMessage(QStringLiteral("入力が間違っています。確認ください"), e.line));
        return;
    } catch (const std::exception&) {
        // A number that does not convert, a picture that cannot be encoded:
        // nothing is sent.
        platform().messageBox(this, QStringLiteral("入力が間違っています。確認ください"));
        return;
    }

    try {
        q.execQuery();
        DM1->IBTr2.commitRetaining();
    } catch (const std::exception&) {
        platform().messageBox(this, QStringLiteral("入力に失敗しました"));
        DM1->IBTr2.rollbackRetaining();
        return;
    }
    platform().messageBox(this, QStringLiteral("入力完了"));
    // The record is stored: should clearing the window fail now, its error
    // is shown as it is, never as a failed input.
    ResetRecordForm();
}
