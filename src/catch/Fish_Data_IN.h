// The catch entry window: one new catch record (one fishing trip) is typed,
// with pick lists for place, boat or point, species and tide reference
// station, photos from files, a map from the rig-drawing program, and saved
// as a new FISH_DATA row by "入　力". After each save the window clears
// itself for the next record.
#pragma once

#include <QDate>
#include <QString>
#include <array>
#include <optional>

#include "db/fb.h"
#include "ui/controls.h"
#include "ui/form.h"
#include "ui/image.h"

// Reads a date typed as year/month/day separated by "/" (leading zeros
// optional; a two-digit year means 1950-2049) or as month/day alone (the
// current year). Blanks around the text and the parts are ignored.
std::optional<QDate> readShortDate(const QString& text);
// Hour and minute boxes as a time of day, "hh:mm"; nothing when they do not
// read as an hour 0-23 and a minute 0-59.
std::optional<QString> readTimeOfDay(const QString& hour, const QString& minute);
// A height: the text read as a decimal number, rounded to the nearest whole
// number with a half going to the even neighbour; nothing when it does not
// read as a number or does not fit a 32-bit integer.
std::optional<int> readRoundedHeight(const QString& text);

// Opens the entry window for a new record with `opener` as its owner:
// DataMode is NEW_Flg while it is open and OLD_Flg again however it ends.
void OpenFishDataIn(tolvane::ui::Form* opener);

class TFishDataIn : public tolvane::ui::Form {
public:
    explicit TFishDataIn(tolvane::ui::Form* owner);
    ~TFishDataIn() override;

    // Top bar and the buttons.
    tolvane::ui::Panel* Panel_Top;
    tolvane::ui::Label* Label_Title;
    tolvane::ui::Button* Btn_Close;
    tolvane::ui::Panel* Panel_Button;
    tolvane::ui::Button* Btn_New_Yes;
    tolvane::ui::Button* Btn_New_No;

    // Record boxes and their labels.
    tolvane::ui::Label* Label_No;
    tolvane::ui::Edit* Edit_No;
    tolvane::ui::Label* Label_Day;
    tolvane::ui::Edit* Edit_Day;
    tolvane::ui::Label* Label_Tenki;
    tolvane::ui::Edit* Edit_Tenki;
    tolvane::ui::Label* Label_Basyo;
    tolvane::ui::Edit* Edit_Basyo;
    tolvane::ui::Label* Label_x22;
    tolvane::ui::Edit* Edit_Fune;
    tolvane::ui::Label* Label_Shio;
    tolvane::ui::ComboBox* CBox_Shio;
    tolvane::ui::Label* Label_Kijyun;
    tolvane::ui::Edit* Edit_Shio_Kijyun;
    tolvane::ui::Label* Label_Old_Day;
    tolvane::ui::Edit* Edit_Old_Day;
    tolvane::ui::Edit* Edit_Old_Sho;

    tolvane::ui::Label* Label_Max;
    tolvane::ui::Edit* Edit_Max_T1;
    tolvane::ui::Edit* Edit_Max_T1_2;
    tolvane::ui::Edit* Edit_Max_H1;
    tolvane::ui::Edit* Edit_Max_T2;
    tolvane::ui::Edit* Edit_Max_T2_2;
    tolvane::ui::Edit* Edit_Max_H2;
    tolvane::ui::Label* Label_Min;
    tolvane::ui::Edit* Edit_Min_T1;
    tolvane::ui::Edit* Edit_Min_T1_2;
    tolvane::ui::Edit* Edit_Min_H1;
    tolvane::ui::Edit* Edit_Min_T2;
    tolvane::ui::Edit* Edit_Min_T2_2;
    tolvane::ui::Edit* Edit_Min_H2;

    tolvane::ui::Label* Label_F1;
    tolvane::ui::Edit* Edit_F1;
    tolvane::ui::Edit* Edit_F1_Max;
    tolvane::ui::Edit* Edit_F1_Min;
    tolvane::ui::Edit* Edit_F1_kazu;
    tolvane::ui::Label* Label_F2;
    tolvane::ui::Edit* Edit_F2;
    tolvane::ui::Edit* Edit_F2_Max;
    tolvane::ui::Edit* Edit_F2_Min;
    tolvane::ui::Edit* Edit_F2_kazu;
    tolvane::ui::Label* Label_F3;
    tolvane::ui::Edit* Edit_F3;
    tolvane::ui::Edit* Edit_F3_Max;
    tolvane::ui::Edit* Edit_F3_Min;
    tolvane::ui::Edit* Edit_F3_kazu;
    tolvane::ui::Label* Label_Size;
    tolvane::ui::Label* Label_Kazu;

    tolvane::ui::Label* Label_Shikake;
    tolvane::ui::Memo* Memo_Shikake;
    tolvane::ui::Label* Label_Cyouka;
    tolvane::ui::Memo* Memo_Cyouka;

    // Tide chart with the two rectangle markers, map, photos.
    tolvane::ui::Panel* Panel_Shio;
    tolvane::ui::Label* Label_Shio_Hint;
    tolvane::ui::Image* Image_Shio;
    tolvane::ui::Shape* Shape_1;
    tolvane::ui::Shape* Shape_2;
    tolvane::ui::Panel* Panel_Chizu;
    tolvane::ui::Label* Label_Chizu_Hint;
    tolvane::ui::Image* Image_Map;
    tolvane::ui::Label* Label_Photo;
    tolvane::ui::Label* Label_Photo_Note;
    tolvane::ui::Panel* Panel_Photo;
    tolvane::ui::Label* Label_A;
    tolvane::ui::Label* Label_B;
    tolvane::ui::Label* Label_C;
    tolvane::ui::Label* Label_D;
    tolvane::ui::Image* Image_A;
    tolvane::ui::Image* Image_B;
    tolvane::ui::Image* Image_C;
    tolvane::ui::Image* Image_D;

    // Tide and map frame, rig-drawing frame, lesson button.
    tolvane::ui::Bevel* Bevel_Input;
    tolvane::ui::Label* Label_Input1;
    tolvane::ui::Label* Label_Input2;
    tolvane::ui::Button* But_Cyoui;
    tolvane::ui::Button* Btn_Chizu;
    tolvane::ui::Bevel* Bevel_Rig;
    tolvane::ui::Label* Label_Rig1;
    tolvane::ui::Label* Label_Rig2;
    tolvane::ui::Button* BtnRigsketch;
    tolvane::ui::Button* Btn_Kadai;

    // IBSQL: the next record number; IBSQL_UP: the insert.
    tolvane::db::Query IBSQL;
    tolvane::db::Query IBSQL_UP;

    void FormShow();
    void Btn_New_NoClick();
    void Btn_CloseClick();
    void Btn_New_YesClick();
    void Image_ShioDblClick();
    void Image_MapDblClick();
    void Image_Photo_DblClick(tolvane::ui::Image* sender);
    void BtnRigsketchClick();
    void Btn_KadaiClick();

    // The Enter chain and the key filters, one handler per record box.
    void Edit_DayKeyPress(QChar& key);
    void Edit_TenkiKeyPress(QChar& key);
    void Edit_BasyoKeyPress(QChar& key);
    void Edit_FuneKeyPress(QChar& key);
    void CBox_ShioKeyPress(QChar& key);
    void Edit_Shio_KijyunKeyPress(QChar& key);
    void Edit_Old_DayKeyPress(QChar& key);
    void Edit_Max_T1KeyPress(QChar& key);
    void Edit_Max_T1_2KeyPress(QChar& key);
    void Edit_Max_H1KeyPress(QChar& key);
    void Edit_Max_T2KeyPress(QChar& key);
    void Edit_Max_T2_2KeyPress(QChar& key);
    void Edit_Max_H2KeyPress(QChar& key);
    void Edit_Min_T1KeyPress(QChar& key);
    void Edit_Min_T1_2KeyPress(QChar& key);
    void Edit_Min_H1KeyPress(QChar& key);
    void Edit_Min_T2KeyPress(QChar& key);
    void Edit_Min_T2_2KeyPress(QChar& key);
    void Edit_Min_H2KeyPress(QChar& key);
    void Edit_F1KeyPress(QChar& key);
    void Edit_F1_MaxKeyPress(QChar& key);
    void Edit_F1_MinKeyPress(QChar& key);
    void Edit_F1_kazuKeyPress(QChar& key);
    void Edit_F2KeyPress(QChar& key);
    void Edit_F2_MaxKeyPress(QChar& key);
    void Edit_F2_MinKeyPress(QChar& key);
    void Edit_F2_kazuKeyPress(QChar& key);
    void Edit_F3KeyPress(QChar& key);
    void Edit_F3_MaxKeyPress(QChar& key);
    void Edit_F3_MinKeyPress(QChar& key);
    void Edit_F3_kazuKeyPress(QChar& key);

    // The pick-list openers.
    void Edit_BasyoDblClick();
    void Edit_BasyoEnter();
    void Edit_FuneDblClick();
    void Edit_FuneEnter();
    void Edit_F1DblClick();
    void Edit_F1Enter();
    void Edit_F2DblClick();
    void Edit_F3DblClick();
    void Edit_Shio_KijyunDblClick();
    void Edit_Shio_KijyunEnter();

    // Puts Shape_1 and Shape_2 over the small tide chart from the rectangles
    // of ShioTimeRects, at half scale.
    void PlaceTimeShapes();

private:
    void ResetRecordForm();
    void ShowDataSel();
    // Empties `box`, asks the pick list for `kind` and puts the answer in.
    void pickInto(tolvane::ui::Edit* box, const QString& kind);
    // Sets Edit_Day to its date in the "yyyy/mm/dd" form; false when it does
    // not read as a date (the box then keeps its text).
    bool normaliseDay();
};

extern TFishDataIn* FishDataIn;
