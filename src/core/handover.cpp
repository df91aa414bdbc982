#include "core/handover.h"

QString DataMode;
int ShioPicFlag = 0;
int MapPicFlag = 0;
int ShioMode = 0;
QString FuneWord;
QString SelKind;
QString SelResult;
int AddrCode = 0;
int AddrMode = 0;
std::array<int, 12> ShioNewMarks{};
std::array<int, 8> ShioTimeRects{};
int PhotoNo = 0;
tolvane::db::Bookmark DataBookmark;
tolvane::db::Bookmark PhotoBookmark;
tolvane::db::Bookmark MemoBookmark;
int SearchMask = 0;
QString SearchFish;
QString SearchPlace;
QString SearchMonth;
int KadaiMask = 0;
int KadaiMode = 0;
QString KadaiPlace;
QString KadaiFish;
QString KadaiMonth;
int KadaiPapaNo = 0;
int TotalMode = 0;
QString TotalFish;

void ResetHandOverVariables() {
    DataMode.clear();
    ShioPicFlag = 0;
    MapPicFlag = 0;
    ShioMode = 0;
    FuneWord.clear();
    SelKind.clear();
    SelResult.clear();
    AddrCode = 0;
    AddrMode = 0;
    ShioNewMarks.fill(0);
    ShioTimeRects.fill(0);
    PhotoNo = 0;
    DataBookmark = {};
    PhotoBookmark = {};
    MemoBookmark = {};
    SearchMask = 0;
    SearchFish.clear();
    SearchPlace.clear();
    SearchMonth.clear();
    KadaiMask = 0;
    KadaiMode = 0;
    KadaiPlace.clear();
    KadaiFish.clear();
    KadaiMonth.clear();
    KadaiPapaNo = 0;
    TotalMode = 0;
    TotalFish.clear();
}
