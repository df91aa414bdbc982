// The variables through which windows hand data to each other. The opener
// sets them before it shows a modal window and reads them after it closes;
// the modal window reads and sets them while it is open. Plain globals: the
// writer assigns, the reader reads.
#pragma once

#include <array>

#include <QString>

#include "db/fb.h"

// Entry mode of the map and tide-chart editors.
inline const QString OLD_Flg = QStringLiteral("OLD_Flg");   // they update a stored record
inline const QString NEW_Flg = QStringLiteral("NEW_Flg");   // they hand their result to the entry window

extern QString DataMode;            // OLD_Flg or NEW_Flg
extern int ShioPicFlag;             // 1: the record in hand has a tide chart
extern int MapPicFlag;              // 1: the record shown in the browser has a map
extern int ShioMode;                // tide-chart style: 1 rectangles, 0 bands and circles
extern QString FuneWord;            // "船" or "ポイント"; empty counts as ポイント

extern QString SelKind;             // pick-list request: BASYO, FUNE, SAKANA, KIJYUNN
extern QString SelResult;           // the value picked; empty = nothing

extern int AddrCode;                // A00_CODENO of the address to show; -1 = none
extern int AddrMode;                // 0 show and correct AddrCode, other = new address

extern std::array<int, 12> ShioNewMarks;   // NEW_1_S ... NEW_6_E of a record not yet saved
extern std::array<int, 8> ShioTimeRects;   // TIME1_L ... TIME2_H of a record not yet saved
extern int PhotoNo;                        // 1..4: the photo the single-photo window works on

extern tolvane::db::Bookmark DataBookmark;   // row chosen in the catch list sheet
extern tolvane::db::Bookmark PhotoBookmark;  // browser row kept while its photo window is open
extern tolvane::db::Bookmark MemoBookmark;   // row chosen in the memo list sheet

extern int SearchMask;              // catch search: bit 1 fish, 2 month, 4 place; 0 cancelled
extern QString SearchFish;
extern QString SearchPlace;
extern QString SearchMonth;         // "01".."12" (catch search) or "1".."12" (lesson search)

extern int KadaiMask;               // lesson search: bits as SearchMask
extern int KadaiMode;               // 1 entry allowed, 0 search accepted, 3 search cancelled
extern QString KadaiPlace;
extern QString KadaiFish;
extern QString KadaiMonth;          // "1".."12"
extern int KadaiPapaNo;

extern int TotalMode;               // 0 per year, 1 per month, 2 year by month, 4 picker cancelled
extern QString TotalFish;

// Puts every variable back to its start value (zero, empty, no bookmark).
// Used when the program starts and by tests between runs.
void ResetHandOverVariables();
