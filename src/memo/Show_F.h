// The memo viewer: the stored memos one at a time in the order of their
// number, with moves, a direct pick by number, the search through the
// selection dialog, the list sheet, the correction of the text fields, the
// month toggles and the windows that enlarge or replace the pictures.
//
// Windows it opens read Label_CODE, Image_M, Image_S, Btn_Chizu, IBSQL_OutPut
// and DS_OutPut of the viewer (through ShowF or their owner).
#pragma once

#include <QString>
#include <array>
#include <functional>
#include <optional>
#include <vector>

#include "db/fb.h"
#include "ui/controls.h"
#include "ui/form.h"
#include "ui/grids.h"
#include "ui/image.h"

// The whole select statement built by the selection dialog; empty = no search.
extern QString MemoSearchSql;
// CODE of each item of the viewer's direct-pick box, in CODE order.
extern std::vector<int> MemoCodes;

class TShowF : public tolvane::ui::Form {
public:
    explicit TShowF(tolvane::ui::Form* owner);

    tolvane::ui::Label* Label_Code_T;
    tolvane::ui::Label* Label_CODE;
    tolvane::ui::Label* Label_Fish;
    tolvane::ui::Edit *Edit_F1, *Edit_F2, *Edit_F3;
    tolvane::ui::Edit* Edit_Janru;
    tolvane::ui::Edit* Edit_Turi;
    tolvane::ui::Edit* Edit_Basyo;

    tolvane::ui::Panel* Panel_Jiki;   // the caption "時　　期"
    std::array<tolvane::ui::Panel*, 12> Panels;   // Panel_1 ... Panel_12
    tolvane::ui::Memo* Memo1;

    tolvane::ui::Image* Image_M;
    tolvane::ui::Image* Image_S;
    tolvane::ui::Image *Image_P1, *Image_P2, *Image_P3, *Image_P4;

    tolvane::ui::Button *Btn_Top, *Btn_M10, *Btn_M1, *Btn_P1, *Btn_P10, *Btn_Last;
    tolvane::ui::ComboBox* ComboBox_X;
    tolvane::ui::Button* Btn_sel_1;
    tolvane::ui::Button* Btn_select;
    tolvane::ui::Button* Btn_Close;
    tolvane::ui::Button* Btn_Chenge_OK;
    tolvane::ui::Button* Btn_Change_No;
    tolvane::ui::Button *Btn_Chizu, *Btn_Cyoui, *Btn_Photo;
    tolvane::ui::Button* Btn_wooksheet;
    tolvane::ui::Button* Btn_Mente;

    // The browsing cursor (its data source after it) and the updates.
    tolvane::db::Query IBSQL_OutPut;
    tolvane::ui::DataSource DS_OutPut{IBSQL_OutPut};
    tolvane::db::Query IBSQL_UP;

    void FormShow();
    void Btn_CloseClick();
    void Btn_TopClick();
    void Btn_M10Click();
    void Btn_M1Click();
    void Btn_P1Click();
    void Btn_P10Click();
    void Btn_LastClick();
    void ComboBox_XChange();
    void Btn_sel_1Click();
    void Memo1Change();
    void EditKeyPress(QChar& key);
    void Btn_Chenge_OKClick();
    void Btn_Change_NoClick();
    void Panel_XXDblClick(tolvane::ui::Panel* sender);
    void Image_MClick();
    void Image_SClick();
    void Image_P00DblClick();
    void Btn_ChizuClick();
    void Btn_CyouiClick();
    void Btn_PhotoClick();
    void Btn_wooksheetClick();
    void Btn_MenteClick();
    void Btn_selectClick();

    // Whether the month panel shows its month as in the memo (white).
    static bool monthOn(const tolvane::ui::Panel* panel);

private:
    void InitForm();
    void LoadAll();
    void ResetMonthPanels();
    void ShowTextFields();
    void ShowCodeAndMonths();
    void ShowMapAndTide();
    void ShowMemoPhotos();
    void ShowByCode(int code);
    void showCurrentMemo();
    void showPictures(bool mapAndTide, bool photos);
    void move(const std::function<void()>& step);
    void setNavigationEnabled(bool on);
    // Reopens the cursor with its statement and parameters and goes back to
    // `mark`, which is freed; false when that memo is no longer in the set.
    bool reopenAt(tolvane::db::Bookmark& mark);
    // Runs `child` (a child window) between a bookmark and the refresh; then
    // `show`, or the whole memo when the one shown has left the set.
    void refreshAround(const std::function<void()>& child, const std::function<void()>& show);
    void openCursor(const QString& sql, std::optional<int> code);
    // The correction's update. NoKeepTyped: nothing was stored and the text
    // typed is to stay (a character Shift-JIS cannot hold, or no such memo).
    enum class Written { Yes, No, NoKeepTyped };
    Written writeCorrection();
    // Rollback and "訂正に失敗しました", with `line` under it when not empty.
    void failed(const QString& line);

    QString cursorSql_;            // the cursor's statement
    std::optional<int> pickedCode_;   // :parCODE of a direct pick
};

extern TShowF* ShowF;
