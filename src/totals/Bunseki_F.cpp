#include "totals/Bunseki_F.h"

#include "core/handover.h"
#include "totals/Fish_Name_F.h"
#include "totals/Fish_Total_F.h"
#include "totals/Fish_Total_N_M.h"

using namespace tolvane::ui;

TBunsekiF* BunsekiF = nullptr;

TBunsekiF::TBunsekiF(Form* owner) : Form(owner, "BunsekiF") {
    setCaption(QStringLiteral("各種分析"));
    setFixedClientSize(400, 300);
    setPosition(Position::OwnerCenter);
    setColor(QColor(192, 248, 201));
    setFontPx(16, true);

    Label1 = new Label(this, "Label1", QStringLiteral("各種分析"), 24, 24);
    Label1->setFontPx(16, true);
    Btn_Nenn = new Button(this, "Btn_Nenn", QStringLiteral("年度毎の釣果"), 96, 89, 209, 33);
    Btn_Manth = new Button(this, "Btn_Manth", QStringLiteral("月別の釣果"), 96, 137, 209, 33);
    Btn_N_M = new Button(this, "Btn_N_M", QStringLiteral("年度別　月別釣果"), 96, 185, 209, 33);
    for (Button* b : {Btn_Nenn, Btn_Manth, Btn_N_M}) b->setFontPx(21, true);
    BtnClose = new Button(this, "BtnClose", QStringLiteral("閉じる"), 248, 16, 129, 33);
    BtnClose->setFontPx(16, true);

    Btn_Nenn->OnClick = [this] { Btn_NennClick(); };
    Btn_Manth->OnClick = [this] { Btn_ManthClick(); };
    Btn_N_M->OnClick = [this] { Btn_N_MClick(); };
    BtnClose->OnClick = [this] { BtnCloseClick(); };
}

TBunsekiF::~TBunsekiF() = default;

void TBunsekiF::Btn_NennClick() {
    TotalMode = 0;
    openModal(FishTotal, this);
}

void TBunsekiF::Btn_ManthClick() {
    TotalMode = 1;
    openModal(FishTotal, this);
}

void TBunsekiF::Btn_N_MClick() {
    TotalMode = 2;
    openModal(FishNameF, this);
    if (TotalMode != 4) openModal(FishTotal_NM, this);
}

void TBunsekiF::BtnCloseClick() { close(); }
