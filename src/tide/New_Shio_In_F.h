// The tide-chart editor with bands and circles: a chart pasted from the
// clipboard, three full-height bands (trip time, two feeding windows) and
// three circles (catches) dragged over it. 登録 updates the browser's record
// (DataMode OLD_Flg) or hands the chart to the entry window's Image_Shio and
// the twelve marker values to ShioNewMarks.
#pragma once

#include <array>

#include <QString>

#include "db/fb.h"
#include "ui/controls.h"
#include "ui/form.h"
#include "ui/image.h"

class TNew_Shio_InF : public tolvane::ui::Form {
public:
    explicit TNew_Shio_InF(tolvane::ui::Form* owner);
    ~TNew_Shio_InF() override;

    tolvane::ui::Image* Image_S;
    tolvane::ui::Label* Label_XY;
    tolvane::ui::Edit* Edit_CODE;
    tolvane::ui::Button* Btn_Return;
    tolvane::ui::Button* Btn_In;
    tolvane::ui::Button* Btn_OK;
    tolvane::ui::Button* Btn_Clear;
    tolvane::ui::Button* Btn_Time;
    tolvane::ui::Panel* Panel_Time;

    tolvane::ui::Shape* Shape_1;
    tolvane::ui::Shape* Shape_2;
    tolvane::ui::Shape* Shape_3;
    tolvane::ui::Shape* Shape_4;
    tolvane::ui::Shape* Shape_5;
    tolvane::ui::Shape* Shape_6;

    tolvane::ui::Label* Label_A;
    tolvane::ui::Label* Label_B;
    tolvane::ui::FlatButton* S_Btn_1;
    tolvane::ui::Button* Btn_S00;
    tolvane::ui::Label* Label_AA;
    tolvane::ui::Label* Label_BB;
    tolvane::ui::FlatButton* S_Btn_2;
    tolvane::ui::Button* Btn_S01;
    tolvane::ui::FlatButton* S_Btn_3;
    tolvane::ui::Button* Btn_S02;
    tolvane::ui::Label* Label_AAA;
    tolvane::ui::FlatButton* S_Btn_3__;
    tolvane::ui::FlatButton* S_Btn_2__;
    tolvane::ui::FlatButton* S_Btn_1__;
    tolvane::ui::Button* Btn_O_1;
    tolvane::ui::Button* Btn_O_2;
    tolvane::ui::Button* Btn_O_3;

    tolvane::db::Query IBSQL;
    tolvane::db::Query IBSQL_UP;

    void FormShow();
    void Btn_ReturnClick() { close(); }
    void Btn_InClick();
    void Btn_ClearClick();
    void Btn_TimeClick();
    void S_Btn_XX_Click(tolvane::ui::FlatButton* sender);
    void Btn_S00Click() { toggleMarker(Btn_S00, Shape_1); }
    void Btn_S01Click() { toggleMarker(Btn_S01, Shape_2); }
    void Btn_S02Click() { toggleMarker(Btn_S02, Shape_3); }
    void Btn_O_1Click() { toggleMarker(Btn_O_1, Shape_4); }
    void Btn_O_2Click() { toggleMarker(Btn_O_2, Shape_5); }
    void Btn_O_3Click() { toggleMarker(Btn_O_3, Shape_6); }
    void Shape_1MouseDown(tolvane::ui::MouseButton b, tolvane::ui::ShiftState s, int x, int y);
    void Shape_2MouseDown(tolvane::ui::MouseButton b, tolvane::ui::ShiftState s, int x, int y);
    void Shape_3MouseDown(tolvane::ui::MouseButton b, tolvane::ui::ShiftState s, int x, int y);
    void Shape_1MouseMove(tolvane::ui::ShiftState s, int x, int) { moveBand(1, Shape_1, s, x); }
    void Shape_2MouseMove(tolvane::ui::ShiftState s, int x, int) { moveBand(2, Shape_2, s, x); }
    void Shape_3MouseMove(tolvane::ui::ShiftState s, int x, int) { moveBand(3, Shape_3, s, x); }
    void Shape_XX_MouseUp(tolvane::ui::Shape* sender);
    void Shape_YY_MouseDown(int x, int y);
    void Shape_4MouseMove(tolvane::ui::ShiftState, int x, int y) { moveCircle(Shape_4, x, y); }
    void Shape_5MouseMove(tolvane::ui::ShiftState, int x, int y) { moveCircle(Shape_5, x, y); }
    void Shape_6MouseMove(tolvane::ui::ShiftState, int x, int y) { moveCircle(Shape_6, x, y); }
    void Shape_YY_MouseUp() { FDragging = false; }
    void Btn_OKClick();

    // The twelve stored values of the markers as they stand (NEW_1_S ...
    // NEW_6_E): hidden markers give 0, 0.
    std::array<int, 12> markValues() const;

    bool FDragging = false;
    int FDownX = 0;
    int FDownY = 0;
    int FMode = 0;
    int FStartWidth = 0;

private:
    void SetPanelEnabled(const QString& onOff);
    void toggleMarker(tolvane::ui::Button* b, tolvane::ui::Shape* s);
    void blackFlatButtons();
    void bandDown(tolvane::ui::Shape* s, int x, int y);
    void moveBand(int n, tolvane::ui::Shape* s, tolvane::ui::ShiftState st, int x);
    void moveCircle(tolvane::ui::Shape* s, int x, int y);
    // Widens (never narrows) the window and the picture area for a chart of
    // pw x ph; the height only when `withHeight`. Never past the screen.
    void growFor(int pw, int ph, bool withHeight);
    void failed(const QString& detail);
    tolvane::ui::Shape* marker(int n) const;
    std::array<tolvane::ui::FlatButton*, 6> flatButtons() const;
};

extern TNew_Shio_InF* New_Shio_InF;
