// The catch browser: the stored catch records one at a time, newest first,
// with their tide chart, map and photos. The shown record's typed fields are
// corrected in place ("訂　正"), the records searched ("検　索") or listed in
// a sheet ("ワークシート"); the picture editors, the lesson entry and the
// entry window open from here.
#pragma once

#include <QString>

#include "db/fb.h"
#include "ui/controls.h"
#include "ui/form.h"
#include "ui/grids.h"
#include "ui/image.h"

class TFishdataF : public tolvane::ui::Form {
public:
    explicit TFishdataF(tolvane::ui::Form* owner);
    ~TFishdataF() override;

    // Top bar.
    tolvane::ui::Panel* Panel1;
    tolvane::ui::Label* Label_Title;
    tolvane::ui::Button* Btn_First;
    tolvane::ui::Button* Btn_D_10;
    tolvane::ui::Button* Btn_Prior;
    tolvane::ui::Button* Btn_Next;
    tolvane::ui::Button* Btn_U_10;
    tolvane::ui::Button* Btn_Last;
    tolvane::ui::Button* Btn_Return;

    // Record boxes.
    tolvane::ui::Edit* Edit_No;
    tolvane::ui::Edit* Edit_Day;
    tolvane::ui::Edit* Edit_Tenki;
    tolvane::ui::Edit* Edit_Place;
    tolvane::ui::Label* Label_x22;
    tolvane::ui::Edit* Edit_Fune;
    tolvane::ui::Edit* Edit_Shio;
    tolvane::ui::Edit* Edit_Shio_Kijyun;
    tolvane::ui::Edit* Edit_Old_Day;
    tolvane::ui::Edit* Edit_Old_Sho;
    tolvane::ui::Edit* Edit_Max_T1;
    tolvane::ui::Edit* Edit_Max_H1;
    tolvane::ui::Edit* Edit_Min_T1;
    tolvane::ui::Edit* Edit_Min_H1;
    tolvane::ui::Edit* Edit_Max_T2;
    tolvane::ui::Edit* Edit_Max_H2;
    tolvane::ui::Edit* Edit_Min_T2;
    tolvane::ui::Edit* Edit_Min_H2;
    tolvane::ui::Edit* Edit_F1;
    tolvane::ui::Edit* Edit_F1_Max;
    tolvane::ui::Edit* Edit_F1_Min;
    tolvane::ui::Edit* Edit_F1_kazu;
    tolvane::ui::Edit* Edit_F2;
    tolvane::ui::Edit* Edit_F2_Max;
    tolvane::ui::Edit* Edit_F2_Min;
    tolvane::ui::Edit* Edit_F2_kazu;
    tolvane::ui::Edit* Edit_F3;
    tolvane::ui::Edit* Edit_F3_Max;
    tolvane::ui::Edit* Edit_F3_Min;
    tolvane::ui::Edit* Edit_F3_kazu;
    tolvane::ui::Memo* Memo_Shikake;
    tolvane::ui::Memo* Memo_Cyouka;

    // Pictures.
    tolvane::ui::Panel* Panel3;
    tolvane::ui::Image* Image_Shio;
    tolvane::ui::Shape* Shape_1;
    tolvane::ui::Shape* Shape_2;
    tolvane::ui::Panel* Panel2;
    tolvane::ui::Image* Image_Map;
    tolvane::ui::Bevel* Bevel3;
    tolvane::ui::Image* Image_A;
    tolvane::ui::Image* Image_B;
    tolvane::ui::Image* Image_C;
    tolvane::ui::Image* Image_D;
    tolvane::ui::ProgressBar* Prg_Bar1;

    // Buttons at the right.
    tolvane::ui::Button* Btn_All_Show;
    tolvane::ui::Button* Btn_worksheet;
    tolvane::ui::Button* Btn_Kensaku;
    tolvane::ui::Label* Label_Hit;
    tolvane::ui::Label* Label_HitN;
    tolvane::ui::Button* But_Cyoui;
    tolvane::ui::Button* Btn_Chizu;
    tolvane::ui::Button* Btn_Photo;
    tolvane::ui::Button* Btn_Teisei;
    tolvane::ui::Button* Btn_No;
    tolvane::ui::Button* Btn_Kadai;
    tolvane::ui::Button* Btn_NewData;

    // IBSQL_2: the browsing cursor (DS_OUT over it, for the list sheet);
    // IBSQL_UP: the correction; IBSQL_N: the hit count of a search.
    tolvane::db::Query IBSQL_2;
    tolvane::ui::DataSource DS_OUT{IBSQL_2};
    tolvane::db::Query IBSQL_UP;
    tolvane::db::Query IBSQL_N;

    void FormShow();
    void Btn_ReturnClick();
    void Btn_FirstClick();
    void Btn_D_10Click();
    void Btn_PriorClick();
    void Btn_NextClick();
    void Btn_U_10Click();
    void Btn_LastClick();
    void But_CyouiClick();
    void Btn_ChizuClick();
    void Btn_PhotoClick();
    void Image_ShioDblClick();
    void Image_MapDblClick();
    void Image_Photo_DblClick();
    void Btn_NewDataClick();
    void Btn_KadaiClick();
    void Btn_worksheetClick();
    void Btn_All_ShowClick();
    void Btn_KensakuClick();
    // Correction: one change handler for the edits, one for the memos.
    void Edit_Change(tolvane::ui::Edit* sender);
    void Memo_Change(tolvane::ui::Memo* sender);
    void Btn_TeiseiClick();
    void Btn_NoClick();

private:
    void ClearForm();
    void OpenAll();
    void ShowRecord();
    void ShowTide();
    void ShowMap();
    void ShowPhotos();
    void DisableNavigation();
    void EnableNavigation();
    void UpdateRecord();
    // Reopens IBSQL_2 with its statement and parameters, goes to `mark`
    // (or, when its row is gone, to the row now at its position), frees it
    // and shows the record.
    void RefreshRecord(tolvane::db::Bookmark& mark);
    void StartCorrection();
};

extern TFishdataF* FishdataF;
