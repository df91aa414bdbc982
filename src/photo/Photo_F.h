// The single-photo window: replaces, loads, pastes or erases one photo. Its
// owner tells it which: the nine-photo window ("Photo_9F") a memo photo
// F_PHOTO1 ... F_PHOTO9 of FISH_MEMO, the four-photo window ("Photo_BigF")
// the catch photo PHOTO1 ... PHOTO4 (by PhotoNo) of FISH_DATA.
#pragma once

#include "core/DM_1.h"
#include "db/fb.h"
#include "ui/controls.h"
#include "ui/form.h"
#include "ui/image.h"

class TPhotoF : public tolvane::ui::Form {
public:
    explicit TPhotoF(tolvane::ui::Form* owner);

    tolvane::ui::Bevel* Bevel1;
    tolvane::ui::Image* Image1;
    tolvane::ui::Button* Btn_Ok;
    tolvane::ui::Label* Label_CODE;
    tolvane::ui::Label* Label_Photo;
    tolvane::ui::Label* Label3;
    tolvane::ui::Label* Label1;
    tolvane::ui::Label* Label2;
    tolvane::ui::Button* Btn_File;
    tolvane::ui::Label* Label4;
    tolvane::ui::Label* Label5;
    tolvane::ui::Button* Btn_C_BORD;
    tolvane::ui::Button* Btn_Clear;
    tolvane::ui::Button* Btn_No;

    tolvane::db::Query IBSQL_IN{DM1->IBDB1, DM1->IBTr1};
    tolvane::db::Query IBSQL_Data{DM1->IBDB2, DM1->IBTr2};

    void FormShow();
    void Image1DblClick();
    void Btn_FileClick();
    void Btn_C_BORDClick();
    void Btn_ClearClick();
    void Btn_OkClick();
    void Btn_NoClick() { close(); }

    // The memo photo columns this window reads and writes.
    static bool isMemoPhotoColumn(const QString& column);

private:
    enum class Target { None, Memo, Catch };
    Target target_ = Target::None;   // decided once, by the owner's name
    QString catchColumn_;             // PHOTO1 ... PHOTO4, from PhotoNo
};

extern TPhotoF* PhotoF;
