#include "lessons/Kadai_Out_F.h"

#include <string>

#include "core/DM_1.h"
#include "core/columns.h"
#include "core/handover.h"
#include "core/messages.h"
#include "ui/guard.h"
#include "ui/platform.h"

using namespace tolvane::ui;

TKadai_OutF* Kadai_OutF = nullptr;

namespace {
const QColor kWindow(170, 211, 249);
const QColor kNavy(0, 0, 128);
}  // namespace

TKadai_OutF::TKadai_OutF(Form* owner)
    : Form(owner, "Kadai_OutF"), IBSQL(DM1->IBDB1, DM1->IBTr1), IBSQL_UP(DM1->IBDB1, DM1->IBTr1) {
    setCaption(QStringLiteral("釣行時の課題　表示"));
    setFixedClientSize(640, 480);
    setPosition(Position::ScreenCenter);
    setColor(kWindow);
    setFontPx(15);

    Label1 = new Label(this, "Label1", QStringLiteral("次回以降の釣行時への課題"), 16, 8);
    Label1->setFontPx(19, true);
    Label1->setFontColor(kNavy);

    Edit_Place = new Edit(this, "Edit_Place", 16, 32, 121, 23);
    Edit_Place->setReadOnly(true);
    Edit_Place->setImeMode(ImeMode::Hiragana);
    Edit_Fish = new Edit(this, "Edit_Fish", 144, 32, 121, 23);
    Edit_Fish->setReadOnly(true);
    Edit_Fish->setImeMode(ImeMode::Hiragana);
    Edit_Tuki = new Edit(this, "Edit_Tuki", 272, 32, 49, 23);
    Edit_Tuki->setReadOnly(true);

    Btn_In = new Button(this, "Btn_In", QStringLiteral("訂　正"), 336, 24, 73, 33);
    Btn_In->setEnabled(false);
    Btn_Prior = new Button(this, "Btn_Prior", QStringLiteral("－１"), 416, 24, 49, 33);
    Btn_Next = new Button(this, "Btn_Next", QStringLiteral("＋１"), 464, 24, 49, 33);
    Btn_Return = new Button(this, "Btn_Return", QStringLiteral("戻　る"), 528, 24, 89, 33);

    Memo1 = new Memo(this, "Memo1", 16, 64, 601, 369);

    OnShow = [this] { FormShow(); };
    Btn_In->OnClick = [this] { Btn_InClick(); };
    Btn_Prior->OnClick = [this] { Btn_PriorClick(); };
    Btn_Next->OnClick = [this] { Btn_NextClick(); };
    Btn_Return->OnClick = [this] { Btn_ReturnClick(); };
    Memo1->OnChange = [this] { Memo1Change(); };
}

TKadai_OutF::~TKadai_OutF() = default;

void TKadai_OutF::FormShow() {
    ClearOutForm();
    // A failed search (no lessons table) is shown in the error box; the
    // window then shows the no-data state, so the step buttons never move a
    // closed query.
    if (KadaiMode != 0 || !guarded(this, [this] { KadaiSearch(); })) IBSQL.close();
    KadaiShow();
}

void TKadai_OutF::ClearOutForm() {
    Edit_Place->clear();
    Edit_Fish->clear();
    Edit_Tuki->clear();
    Memo1->clear();
}

void TKadai_OutF::KadaiSearch() {
    if (KadaiMode != 0) return;
    const std::string fish = "K01_FISH = :parK01_FISH";
    const std::string month = "K03_TUKI = :parK03_TUKI";
    const std::string place = "K02_PLACE = :parK02_PLACE";
    const std::string andPlace = "and K02_PLACE = :parK02_PLACE";
    const std::string likeMonth = "and K03_TUKI like :parK03_TUKI";
    std::string condition;
    switch (KadaiMask) {
        case 1: condition = fish; break;
        case 2: condition = month; break;
        case 3: condition = fish + " " + likeMonth; break;
        case 4: condition = place; break;
        case 5: condition = fish + " " + andPlace; break;
        case 6: condition = month + " " + andPlace; break;
        case 7: condition = fish + " " + andPlace + " " + likeMonth; break;
        default: break;
    }
    IBSQL.close();
    IBSQL.sqlClear();
    IBSQL.sqlAdd("select * from FISH_KADAI where " + condition + " order by K00_CODENO");
    // A typed value Shift-JIS cannot hold matches no lesson.
    if (KadaiMask & 4) setSearchText(IBSQL.paramByName("parK02_PLACE"), SearchPlace);
    if (KadaiMask & 2) setSearchText(IBSQL.paramByName("parK03_TUKI"), SearchMonth);
    if (KadaiMask & 1) setSearchText(IBSQL.paramByName("parK01_FISH"), SearchFish);
    IBSQL.open();
    IBSQL.last();
}

bool TKadai_OutF::hasRow() const { return IBSQL.active() && IBSQL.recordCount() > 0; }

void TKadai_OutF::KadaiShow() {
    if (!hasRow()) {
        Memo1->linesAdd(QString());
        Memo1->linesAdd(QStringLiteral("データは有りません"));
        Memo1->setFontPx(19);   // 14 points
        Btn_Prior->setEnabled(false);
        Btn_Next->setEnabled(false);
        Btn_In->setEnabled(false);
        Memo1->setReadOnly(true);
        Btn_Return->setFocus();
        return;
    }
    Edit_Place->setText(QString::fromStdString(IBSQL.fieldByName("K02_PLACE").asString()));
    Edit_Fish->setText(QString::fromStdString(IBSQL.fieldByName("K01_FISH").asString()));
    Edit_Tuki->setText(QStringLiteral(" ") +
                       QString::fromStdString(IBSQL.fieldByName("K03_TUKI").asString()) +
                       QStringLiteral(" 月"));
    Memo1->setText(QString::fromStdString(IBSQL.fieldByName("K10_MEMO").asString()));
    // The text shown is the stored one: nothing to correct until it is changed.
    Btn_In->setEnabled(false);
    Btn_Prior->setFocus();
}

void TKadai_OutF::Btn_PriorClick() {
    if (!hasRow()) return;
    IBSQL.prior();
    KadaiShow();
}

void TKadai_OutF::Btn_NextClick() {
    if (!hasRow()) return;
    IBSQL.next();
    KadaiShow();
}

void TKadai_OutF::Btn_ReturnClick() { close(); }

void TKadai_OutF::Memo1Change() {
    if (Memo1->modified()) Btn_In->setEnabled(true);
}

// Stores the changed text of the lesson shown, then reads the lessons again
// and returns to that one, so stepping away and back shows what was stored.
void TKadai_OutF::Btn_InClick() {
    if (!hasRow()) return;
    const int key = IBSQL.fieldByName("K00_CODENO").asInteger();
    const QString text = Memo1->text();
    // A character Shift-JIS cannot hold is refused before anything is sent;
    // the text stays as typed, the button enabled.
    if (const QString line = unstorableTextLine({{text, LessonTextBoxName}}); !line.isEmpty()) {
        DM1->IBTr1.rollbackRetaining();
        platform().messageBox(this, failureMessage(QStringLiteral("訂正に失敗しました"), line));
        return;
    }
    IBSQL_UP.close();
    IBSQL_UP.sqlClear();
    IBSQL_UP.sqlAdd("update FISH_KADAI set K10_MEMO = :parK10_MEMO where K00_CODENO = :parK00_CODENO");
    try {
        IBSQL_UP.paramByName("parK10_MEMO").setTextBlob(text.toStdString());
        IBSQL_UP.paramByName("parK00_CODENO").setInteger(key);
        IBSQL_UP.execQuery();
        DM1->IBTr1.commitRetaining();
    } catch (const std::exception& e) {
        try {
            DM1->IBTr1.rollbackRetaining();
        } catch (const std::exception&) {
        }
        platform().messageBox(this, QString::fromStdString(e.what()));
        return;
    }
    Btn_In->setEnabled(false);
    tolvane::db::Bookmark mark = IBSQL.getBookmark();
    IBSQL.close();
    IBSQL.open();
    IBSQL.gotoBookmark(mark);
    IBSQL.freeBookmark(mark);
    KadaiShow();
}
