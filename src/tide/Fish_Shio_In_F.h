// The tide-chart editor with two rectangles: a chart pasted or loaded from a
// file, the trip's fishing time (Shape_1) and the time fish were caught
// (Shape_2) as free rectangles over it, in this window's client pixels (the
// chart's corner at 16, 16). 登録 updates the browser's record (DataMode
// OLD_Flg) or hands the chart to the entry window's Image_Shio and the
// rectangles to ShioTimeRects.
#pragma once

#include <array>

#include <QString>

#include "db/fb.h"
#include "ui/controls.h"
#include "ui/form.h"
#include "ui/image.h"

class TFish_Shio_InF : public tolvane::ui::Form {
public:
    explicit TFish_Shio_InF(tolvane::ui::Form* owner);
    ~TFish_Shio_InF() override;

    tolvane::ui::Image* Image_S;
    tolvane::ui::Edit* Edit_CODE;
    tolvane::ui::Label* Label_XY;
    tolvane::ui::Shape* Shape_1;
    tolvane::ui::Shape* Shape_2;
    tolvane::ui::Label* Label3;
    tolvane::ui::Button* Btn_In;
    tolvane::ui::Button* Btn_F_In;
    tolvane::ui::Button* Btn_Time;
    tolvane::ui::Panel* Panel_New_T;
    tolvane::ui::Label* Label_Turi_T;
    tolvane::ui::Button* Btn_001;
    tolvane::ui::FlatButton* S_Btn_1;
    tolvane::ui::Label* Label_Ture_T;
    tolvane::ui::Button* Btn_002;
    tolvane::ui::FlatButton* S_Btn_2;
    tolvane::ui::Button* Btn_OK;
    tolvane::ui::Button* Btn_Clear;
    tolvane::ui::Button* Btn_Return;

    tolvane::db::Query IBSQL;
    tolvane::db::Query IBSQL_UP;

    void FormShow();
    void PlaceRectangles();
    void Btn_TimeClick();
    void S_Btn_XX_Click(tolvane::ui::FlatButton* sender);
    void Btn_001Click();
    void Btn_002Click();
    void Btn_InClick();
    void Btn_F_InClick();
    void Btn_ClearClick();
    void Shape_1_MouseDown(tolvane::ui::MouseButton b, tolvane::ui::ShiftState s, int x, int y);
    void Shape_2_MouseDown(tolvane::ui::MouseButton b, tolvane::ui::ShiftState s, int x, int y);
    void Shape_1MouseMove(tolvane::ui::ShiftState s, int x, int y) { moveRect(1, Shape_1, s, x, y); }
    void Shape_2MouseMove(tolvane::ui::ShiftState s, int x, int y) { moveRect(2, Shape_2, s, x, y); }
    void Shape_XX_MouseUp(tolvane::ui::Shape* sender);
    void Btn_OKClick();
    void Btn_ReturnClick() { close(); }

    // TIME1_L ... TIME2_H as 登録 stores them: a shown rectangle its bounds,
    // a hidden one 0, 0, 0, 0.
    std::array<int, 8> rectValues() const;

    bool FDragging = false;
    int FDownX = 0;
    int FDownY = 0;
    int FMode = 0;
    int FStartWidth = 0;
    int FStartHeight = 0;
    int FTimeEditing = 0;

private:
    void setPanelControlsEnabled(bool on);
    void rectDown(tolvane::ui::FlatButton* toggle, tolvane::ui::Shape* s, int x, int y);
    void moveRect(int n, tolvane::ui::Shape* s, tolvane::ui::ShiftState st, int x, int y);
    bool servesBrowser() const;
    void failed();
    // The record read at show: whether there is one, and TIME1_W's NULL.
    bool recordRead_ = false;
};

extern TFish_Shio_InF* Fish_Shio_InF;
