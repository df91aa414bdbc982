// The memo viewer on fresh database files: the empty display, the moves, the
// direct pick, the correction of the text fields, the month toggles, and the
// refresh when the memo shown has left the set (the maintenance window
// included), and the corrections that cannot be stored.
#include <gtest/gtest.h>

#include "maintenance/Mente_F.h"
#include "memo/Show_F.h"
#include "memo_fixture.h"
#include "photo/Map_F.h"
#include "photo/Map_Shio_F.h"
#include "imaging/codec.h"
#include "ui/testing/driver.h"

using namespace tolvane;
using tolvane::ui::testing::Driver;
using memotest::Session;
using memotest::memoInsert;
using memotest::storedMemos;

namespace {

const QColor kWhite(255, 255, 255);
const QColor kSilver(192, 192, 192);

// Months shown as in the memo, 1-based.
std::vector<int> monthsShown(const TShowF& w) {
    std::vector<int> out;
    for (int i = 0; i < 12; ++i)
        if (TShowF::monthOn(w.Panels[static_cast<size_t>(i)])) out.push_back(i + 1);
    return out;
}

// Five memos, 1 ... 5, species A or B, genre and place by number.
void storeFive(Session& s) {
    s.sql({memoInsert(1, "A", "g1", "p1", "one", {1}), memoInsert(2, "B", "g2", "NULL", "two", {2, 3}),
           memoInsert(3, "A", "", "p3", "three"), memoInsert(4, "B", "g4", "p4", "four", {4}),
           memoInsert(5, "A", "g5", "p5", "five", {12})});
}

struct Viewer {
    explicit Viewer(Driver& drv) {
        ShowF = &w;
        drv.show(w);
    }
    ~Viewer() { ShowF = nullptr; }
    TShowF w{nullptr};
};

}  // namespace

TEST(MemoViewerShow, NoMemoGivesTheEmptyDisplayAndWritesChangeNothing) {
    Session s;
    Driver drv;
    Viewer v(drv);
    TShowF& w = v.w;
    EXPECT_EQ(w.caption(), "釣り関連メモ");
    EXPECT_EQ(w.minimumSize(), w.maximumSize());
    EXPECT_EQ(w.Label_CODE->caption(), "0");
    for (auto* e : {w.Edit_F1, w.Edit_F2, w.Edit_F3, w.Edit_Janru, w.Edit_Turi, w.Edit_Basyo})
        EXPECT_EQ(e->text(), "");
    EXPECT_EQ(w.Memo1->text(), "");
    EXPECT_TRUE(monthsShown(w).empty());
    EXPECT_EQ(w.Panel_Jiki->caption(), "時　　期");
    EXPECT_EQ(w.Panel_Jiki->bounds(), QRect(8, 116, 60, 69));
    EXPECT_TRUE(Driver::crowdedCaptions(w).isEmpty()) << Driver::crowdedCaptions(w).join(' ').toStdString();
    EXPECT_FALSE(w.Image_P1->enabled());
    EXPECT_EQ(w.ComboBox_X->itemCount(), 0);
    EXPECT_FALSE(w.Btn_Chenge_OK->enabled());
    EXPECT_TRUE(w.Btn_Close->focused());
    drv.click(w.Btn_P1);
    drv.click(w.Btn_Last);
    EXPECT_EQ(w.Label_CODE->caption(), "0");
    drv.dblClick(w.Panels[3]);
    EXPECT_TRUE(storedMemos(s.files.memoFile()).empty());
    // Number 0 names no memo: the toggle wrote nothing and says so.
    EXPECT_EQ(drv.takeMessages(), QStringList{"訂正に失敗しました"});
    EXPECT_TRUE(monthsShown(w).empty());
}

TEST(MemoViewerShow, TheFirstMemoWholeAndTheDirectPickList) {
    Session s;
    storeFive(s);
    s.sql({"update FISH_MEMO set FISH2 = \"C\", TURI = \"t1\" where CODE = 1"});
    memotest::storeBlob(s.files.memoFile(), 1, "F_PHOTO1", pictures::encodeJpeg(memotest::gradient(30, 20)).toStdString());
    memotest::storeBlob(s.files.memoFile(), 1, "F_MAP", pictures::encodeJpeg(memotest::gradient(50, 40)).toStdString());
    Driver drv;
    Viewer v(drv);
    TShowF& w = v.w;
    EXPECT_EQ(w.Label_CODE->caption(), "1");
    EXPECT_EQ(w.Edit_F1->text(), "A");
    EXPECT_EQ(w.Edit_F2->text(), "C");
    EXPECT_EQ(w.Edit_F3->text(), "");
    EXPECT_EQ(w.Edit_Janru->text(), "g1");
    EXPECT_EQ(w.Edit_Turi->text(), "t1");
    EXPECT_EQ(w.Edit_Basyo->text(), "p1");
    EXPECT_EQ(w.Memo1->text(), "one\r\n");   // the stored text as one added line
    EXPECT_EQ(monthsShown(w), std::vector<int>{1});
    EXPECT_EQ(w.Panels[0]->fontColor(), QColor(0, 0, 255));
    EXPECT_EQ(w.Panels[1]->color(), kSilver);
    EXPECT_TRUE(Driver::crowdedCaptions(w).isEmpty());   // white month panels too
    EXPECT_EQ(w.Image_M->picture().width(), 50);
    EXPECT_EQ(w.Image_S->picture().width(), 0);   // NULL read without the test: an empty picture
    EXPECT_EQ(w.Image_P1->picture().width(), 30);
    EXPECT_FALSE(w.Image_P2->hasPicture());
    EXPECT_TRUE(w.Image_P1->enabled());

    ASSERT_EQ(w.ComboBox_X->itemCount(), 5);
    EXPECT_EQ(w.ComboBox_X->itemText(0), "1 ： g1 ： p1");
    EXPECT_EQ(w.ComboBox_X->itemText(1), "2 ： g2 ： ");
    EXPECT_EQ(w.ComboBox_X->itemText(2), "3 ：  ： p3");
    EXPECT_EQ(w.ComboBox_X->text(), "");
    EXPECT_EQ(MemoCodes, (std::vector<int>{1, 2, 3, 4, 5}));

    drv.click(w.Btn_P1);
    EXPECT_EQ(w.Label_CODE->caption(), "2");
    EXPECT_FALSE(w.Image_P1->enabled());
    EXPECT_FALSE(w.Image_M->picture().width() > 0);   // not the last memo's map
}

TEST(MemoViewerMoves, MovesStopSilentlyAtBothEnds) {
    Session s;
    storeFive(s);
    Driver drv;
    Viewer v(drv);
    TShowF& w = v.w;
    auto code = [&] { return w.Label_CODE->caption(); };
    drv.click(w.Btn_M1);
    EXPECT_EQ(code(), "1");
    drv.click(w.Btn_P10);
    EXPECT_EQ(code(), "5");
    drv.click(w.Btn_P1);
    EXPECT_EQ(code(), "5");
    drv.click(w.Btn_Top);
    drv.click(w.Btn_P1);
    drv.click(w.Btn_P1);
    drv.click(w.Btn_P1);
    EXPECT_EQ(code(), "4");
    drv.click(w.Btn_M10);
    EXPECT_EQ(code(), "1");
    drv.click(w.Btn_Last);
    EXPECT_EQ(code(), "5");
    EXPECT_EQ(w.Memo1->text(), "five\r\n");
    EXPECT_EQ(monthsShown(w), std::vector<int>{12});
    // A pending change is dropped by a move.
    drv.type(w.Edit_F1, "x");
    ASSERT_TRUE(w.Btn_Chenge_OK->enabled());
    drv.click(w.Btn_M1);
    EXPECT_EQ(w.Edit_F1->text(), "B");
    EXPECT_FALSE(w.Btn_Chenge_OK->enabled());
    EXPECT_TRUE(drv.takeBoxes().empty());
}

TEST(MemoViewerPick, AChoiceShowsOneMemoTypedTextNothingAndShowAllComesBack) {
    Session s;
    storeFive(s);
    Driver drv;
    Viewer v(drv);
    TShowF& w = v.w;
    // Typed text picks nothing.
    drv.type(w.ComboBox_X, "3");
    EXPECT_EQ(w.Label_CODE->caption(), "1");
    EXPECT_TRUE(w.Btn_P1->enabled());

    w.ComboBox_X->setItemIndex(3);
    emit w.ComboBox_X->activated(3);   // the user's choice
    EXPECT_EQ(w.Label_CODE->caption(), "4");
    EXPECT_EQ(w.IBSQL_OutPut.recordCount(), 1);
    EXPECT_EQ(w.ComboBox_X->text(), "4 ： g4 ： p4");
    for (auto* b : {w.Btn_Top, w.Btn_M10, w.Btn_M1, w.Btn_P1, w.Btn_P10, w.Btn_Last})
        EXPECT_FALSE(b->enabled());

    drv.click(w.Btn_sel_1);
    EXPECT_EQ(w.Label_CODE->caption(), "1");
    EXPECT_EQ(w.IBSQL_OutPut.recordCount(), 5);
    EXPECT_EQ(w.ComboBox_X->text(), "");
    EXPECT_TRUE(w.Btn_Last->enabled());
}

TEST(MemoViewerCorrection, ButtonsFollowTheUsersChangesOnly) {
    Session s;
    storeFive(s);
    Driver drv;
    Viewer v(drv);
    TShowF& w = v.w;
    EXPECT_FALSE(w.Btn_Chenge_OK->enabled());
    drv.type(w.Edit_Janru, "z");
    EXPECT_FALSE(w.Btn_Chenge_OK->enabled());
    drv.type(w.Memo1, "m");
    EXPECT_TRUE(w.Btn_Chenge_OK->enabled());
    EXPECT_TRUE(w.Btn_Change_No->enabled());
    drv.click(w.Btn_Change_No);   // the stored values come back
    EXPECT_EQ(w.Memo1->text(), "one\r\n");
    EXPECT_EQ(w.Edit_Janru->text(), "g1");
    EXPECT_FALSE(w.Btn_Chenge_OK->enabled());
    for (auto* e : {w.Edit_F1, w.Edit_F2, w.Edit_F3, w.Edit_Turi, w.Edit_Basyo}) {
        drv.click(w.Btn_Change_No);
        drv.type(e, "k");
        EXPECT_TRUE(w.Btn_Chenge_OK->enabled()) << e->name().toStdString();
    }
    drv.click(w.Btn_Change_No);
    EXPECT_EQ(storedMemos(s.files.memoFile())[0].at("F_MEMO").text, "one");
}

TEST(MemoViewerCorrection, OkStoresTheTextFieldsAndAFailureShowsTheStoredOnes) {
    Session s;
    storeFive(s);
    Driver drv;
    Viewer v(drv);
    TShowF& w = v.w;
    drv.click(w.Btn_P1);   // memo 2
    w.Edit_Janru->setText("");
    drv.focus(w.Edit_F1);
    w.Edit_F1->selectAll();
    drv.type(w.Edit_F1, "D");
    drv.type(w.Edit_Basyo, "q");
    drv.click(w.Btn_Chenge_OK);
    EXPECT_TRUE(drv.takeBoxes().empty());
    auto rows = storedMemos(s.files.memoFile());
    const auto& r = rows[1];
    EXPECT_EQ(r.at("FISH1").text, "D");
    EXPECT_FALSE(r.at("FISH2").null);   // empty edits as empty text, never NULL
    EXPECT_EQ(r.at("FISH2").text, "");
    EXPECT_EQ(r.at("BUNRUI").text, "");
    EXPECT_FALSE(r.at("BUNRUI").null);
    EXPECT_EQ(r.at("BASYO").text, "q");
    EXPECT_EQ(r.at("F_MEMO").text, "two\r\n");   // the line break the display added
    EXPECT_EQ(r.at("M2").text, "1");
    EXPECT_EQ(w.Label_CODE->caption(), "2");
    EXPECT_EQ(w.Memo1->text(), "two\r\n\r\n");
    EXPECT_FALSE(w.Btn_Chenge_OK->enabled());
    // The direct-pick list keeps what it had until Show all.
    EXPECT_EQ(w.ComboBox_X->itemText(1), "2 ： g2 ： ");

    // Longer than the column (typing cannot get there, the program can):
    // nothing stored, the stored values shown again.
    drv.type(w.Edit_F1, "X");
    w.Edit_F1->setText("DABCDEFGHIJKLMNOPQRSTUVWXYZ");
    drv.click(w.Btn_Chenge_OK);
    EXPECT_EQ(drv.takeMessages(), QStringList{"訂正に失敗しました"});
    EXPECT_EQ(w.Edit_F1->text(), "D");
    EXPECT_EQ(storedMemos(s.files.memoFile())[1].at("FISH1").text, "D");
    // The transaction works on.
    drv.type(w.Edit_F1, "E");
    drv.click(w.Btn_Chenge_OK);
    EXPECT_EQ(storedMemos(s.files.memoFile())[1].at("FISH1").text, "DE");
    drv.click(w.Btn_P1);
    EXPECT_EQ(w.Label_CODE->caption(), "3");
}

TEST(MemoViewerMonths, OnOffAndTheNextMoveGoesOnFromTheMemo) {
    Session s;
    storeFive(s);
    Driver drv;
    Viewer v(drv);
    TShowF& w = v.w;
    drv.click(w.Btn_P1);   // memo 2: February and March
    drv.dblClick(w.Panels[3]);
    EXPECT_EQ(monthsShown(w), (std::vector<int>{2, 3, 4}));
    EXPECT_EQ(w.Panels[3]->color(), kWhite);
    EXPECT_EQ(storedMemos(s.files.memoFile())[1].at("M4").text, "1");
    drv.dblClick(w.Panels[1]);
    EXPECT_EQ(w.Panels[1]->color(), kSilver);
    EXPECT_TRUE(Driver::crowdedCaptions(w).isEmpty());   // white month panels too
    EXPECT_EQ(w.Panels[1]->fontColor(), QColor(128, 128, 128));
    EXPECT_EQ(storedMemos(s.files.memoFile())[1].at("M2").text, "0");
    drv.click(w.Btn_P1);
    EXPECT_EQ(w.Label_CODE->caption(), "3");
    drv.click(w.Btn_M1);
    EXPECT_EQ(monthsShown(w), (std::vector<int>{3, 4}));
    EXPECT_TRUE(drv.takeBoxes().empty());
}

TEST(MemoViewerMonths, AFailedMonthWriteShowsTheStoredMonths) {
    Session s;
    storeFive(s);
    s.sql({"create exception NO_MONTH 'no month'",
           "create trigger FISH_MEMO_NO_MONTH for FISH_MEMO before update as begin"
           " if (new.M6 <> old.M6) then exception NO_MONTH; end"});
    Driver drv;
    Viewer v(drv);
    TShowF& w = v.w;
    drv.dblClick(w.Panels[5]);
    EXPECT_EQ(drv.takeMessages(), QStringList{"訂正に失敗しました"});
    EXPECT_EQ(monthsShown(w), std::vector<int>{1});
    EXPECT_EQ(storedMemos(s.files.memoFile())[0].at("M6").text, "0");
    drv.dblClick(w.Panels[6]);
    EXPECT_EQ(monthsShown(w), (std::vector<int>{1, 7}));
}

TEST(MemoViewerRefresh, AMemoThatLeftTheSetIsNeverShownUnderItsOldNumber) {
    Session s;
    storeFive(s);
    Driver drv;
    Viewer v(drv);
    TShowF& w = v.w;
    // A search for species B: memos 2 and 4.
    drv.expectModal("SelectF", [&](ui::Form& f) {
        MemoSearchSql = " select * from FISH_MEMO where FISH1 = \"B\" order by CODE ";
        f.close();
    });
    drv.click(w.Btn_select);
    EXPECT_EQ(w.Label_CODE->caption(), "2");
    // Species corrected to A: memo 2 leaves the set; memo 4 is shown whole.
    w.Edit_F1->setText("A");
    drv.type(w.Edit_Turi, "t");
    drv.click(w.Btn_Chenge_OK);
    EXPECT_EQ(w.Label_CODE->caption(), "4");
    EXPECT_EQ(w.Memo1->text(), "four\r\n");
    EXPECT_EQ(w.Edit_F1->text(), "B");
    EXPECT_EQ(monthsShown(w), std::vector<int>{4});
    // The next correction goes to memo 4, memo 2 keeps what was stored.
    drv.type(w.Edit_Turi, "u");
    drv.click(w.Btn_Chenge_OK);
    auto rows = storedMemos(s.files.memoFile());
    EXPECT_EQ(rows[1].at("F_MEMO").text, "two\r\n");
    EXPECT_EQ(rows[1].at("FISH1").text, "A");
    EXPECT_EQ(rows[3].at("TURI").text, "u");
    EXPECT_EQ(rows[3].at("F_MEMO").text, "four\r\n");

    // Deleted meanwhile by another window: NO shows the memo now current.
    drv.click(w.Btn_sel_1);
    drv.click(w.Btn_Last);
    memotest::execMemo({"delete from FISH_MEMO where CODE = 5"});
    drv.type(w.Edit_F1, "x");
    drv.click(w.Btn_Change_No);
    EXPECT_EQ(w.Label_CODE->caption(), "4");
    EXPECT_EQ(w.Memo1->text(), "four\r\n\r\n");
    EXPECT_EQ(monthsShown(w), std::vector<int>{4});
}

TEST(MemoViewerPictures, AnUnreadablePictureIsEmptyAndTheOthersAreShown) {
    Session s;
    storeFive(s);
    const std::string jpeg = pictures::encodeJpeg(memotest::gradient(24, 16)).toStdString();
    for (const char* c : {"F_MAP", "F_SHIO", "F_PHOTO1", "F_PHOTO2"})
        memotest::storeBlob(s.files.memoFile(), 1, c, jpeg);
    memotest::storeBlob(s.files.memoFile(), 2, "F_MAP", "not a picture");
    memotest::storeBlob(s.files.memoFile(), 2, "F_SHIO", jpeg);
    memotest::storeBlob(s.files.memoFile(), 2, "F_PHOTO1", "\xFF\xD8 broken");
    memotest::storeBlob(s.files.memoFile(), 2, "F_PHOTO3", jpeg);
    Driver drv;
    Viewer v(drv);
    TShowF& w = v.w;
    EXPECT_EQ(w.Image_P2->picture().width(), 24);
    drv.click(w.Btn_P1);
    EXPECT_EQ(drv.takeErrors().size(), 2);
    EXPECT_FALSE(w.Image_M->hasPicture());   // not memo 1's
    EXPECT_EQ(w.Image_S->picture().width(), 24);
    EXPECT_FALSE(w.Image_P1->hasPicture());
    EXPECT_TRUE(w.Image_P1->enabled());   // the column is not NULL
    EXPECT_FALSE(w.Image_P2->hasPicture());
    EXPECT_EQ(w.Image_P3->picture().width(), 24);
    EXPECT_EQ(w.Label_CODE->caption(), "2");
    EXPECT_EQ(w.Memo1->text(), "two\r\n");
}

TEST(MemoViewerChildren, PicturesWithoutAColumnOpenNothing) {
    Session s;
    storeFive(s);
    Driver drv;
    Viewer v(drv);
    TShowF& w = v.w;
    // No script is queued: a window would fail the test.
    drv.click(w.Image_M);
    drv.dblClick(w.Image_S);
    drv.dblClick(w.Image_P1);
    EXPECT_EQ(drv.shownWindows(), QStringList{});
}

// The windows of the other subsystems, once they are part of the program.
// They are answered by name, so these cases need nothing of theirs but the
// window itself.
namespace {

// Closes the window opened by name after `during` ran.
void expectWindow(Driver& drv, const char* name, std::function<void()> during = {}) {
    drv.expectModal(QString::fromLatin1(name), [&drv, during](ui::Form& f) {
        if (during) during();
        drv.closeByTitleBar(f);
    });
}

void storeMapAndPhoto(Session& s) {
    const std::string jpeg = pictures::encodeJpeg(memotest::gradient(24, 16)).toStdString();
    memotest::storeBlob(s.files.memoFile(), 1, "F_MAP", jpeg);
    memotest::storeBlob(s.files.memoFile(), 1, "F_SHIO", jpeg);
    memotest::storeBlob(s.files.memoFile(), 1, "F_PHOTO1", jpeg);
}

}  // namespace

TEST(MemoViewerChildren, AClickOrADoubleClickOnAPictureOpensOneView) {
    Session s;
    storeFive(s);
    storeMapAndPhoto(s);
    Driver drv;
    Viewer v(drv);
    expectWindow(drv, "MapF");
    drv.dblClick(v.w.Image_M);
    expectWindow(drv, "Shio_NewF");
    drv.click(v.w.Image_S);
    EXPECT_EQ(drv.shownWindows().size(), 2);
    EXPECT_EQ(drv.pendingScripts(), 0);
}

TEST(MemoViewerChildren, TheMapWindowIsFollowedByTheStoredPictures) {
    Session s;
    storeFive(s);
    Driver drv;
    Viewer v(drv);
    drv.click(v.w.Btn_P1);
    expectWindow(drv, "Map_ShioF", [&] {
        EXPECT_TRUE(v.w.Btn_Chizu->focused());
        memotest::execMemo({"update FISH_MEMO set F_MAP = NULL where CODE = 2"});
    });
    drv.click(v.w.Btn_Chizu);
    expectWindow(drv, "Map_ShioF", [&] { EXPECT_FALSE(v.w.Btn_Chizu->focused()); });
    drv.click(v.w.Btn_Cyoui);
    EXPECT_EQ(v.w.Label_CODE->caption(), "2");
    EXPECT_EQ(drv.pendingScripts(), 0);
}

TEST(MemoViewerChildren, ThePhotoWindowIsFollowedByTheStoredPhotos) {
    Session s;
    storeFive(s);
    Driver drv;
    Viewer v(drv);
    ASSERT_FALSE(v.w.Image_P1->enabled());
    const std::string jpeg = pictures::encodeJpeg(memotest::gradient(24, 16)).toStdString();
    expectWindow(drv, "Photo_9F", [&] {
        tolvane::db::Query q(DM1->IBDB1, DM1->IBTr1);
        q.sqlAdd("update FISH_MEMO set F_PHOTO1 = :parF_PHOTO1 where CODE = 1");
        q.paramByName("parF_PHOTO1").setBlob(jpeg);
        q.execQuery();
        DM1->IBTr1.commitRetaining();
    });
    drv.click(v.w.Btn_Photo);
    EXPECT_TRUE(v.w.Image_P1->enabled());
    EXPECT_EQ(v.w.Image_P1->picture().width(), 24);
    expectWindow(drv, "Photo_9F");
    drv.dblClick(v.w.Image_P1);
    EXPECT_EQ(drv.pendingScripts(), 0);
}

// What a control like `like` draws of the JPEG file `bytes` from its full decode.
QImage drawnFromTheFullDecode(const ui::Image& like, const QByteArray& bytes) {
    ui::Form f(nullptr, QStringLiteral("ReferenceF"));
    ui::Image img(&f, QStringLiteral("Image_R"), 0, 0, like.width(), like.height());
    img.setProportional(like.proportional());
    img.setStretch(like.stretch());
    img.setCenter(like.center());
    img.setPicture(pictures::Picture::fromJpeg(bytes, pictures::decodeJpeg(bytes)));
    return img.displayPixels();
}

TEST(MemoViewerPictures, LargePicturesAreDrawnFromSmallDecodesAndTheWindowsOpenedGetTheWholePicture) {
    Session s;
    storeFive(s);
    const QImage big = memotest::gradient(1280, 960);
    const QByteArray map = pictures::encodeJpeg(big);
    const QByteArray photo = test::cameraJpeg(big);
    const QByteArray tide = pictures::writeBmp(memotest::gradient(640, 480));
    memotest::storeBlob(s.files.memoFile(), 1, "F_MAP", map.toStdString());
    memotest::storeBlob(s.files.memoFile(), 1, "F_SHIO", tide.toStdString());
    memotest::storeBlob(s.files.memoFile(), 1, "F_PHOTO2", photo.toStdString());
    Driver drv;
    Viewer v(drv);
    TShowF& w = v.w;
    // Onto the memo again: its copies are made beside the decodes, before any paint.
    w.Btn_P1Click();
    w.Btn_M1Click();
    for (const ui::Image* img : {w.Image_M, w.Image_S, w.Image_P2})
        EXPECT_EQ(img->displayPixels().size(), img->pictureRect().size()) << img->name().toStdString();
    w.grab();
    // Each JPEG picture is the stored file, drawn as the full decode would be.
    for (const auto& [img, bytes] : {std::pair{w.Image_M, map}, std::pair{w.Image_P2, photo}}) {
        ASSERT_TRUE(img->picture().isJpeg());
        EXPECT_EQ(img->picture().jpegBytes(), bytes);
        EXPECT_FALSE(img->picture().isDecoded());
        const QImage shown = img->displayPixels();
        ASSERT_EQ(shown.size(), img->pictureRect().size());
        const QImage reference = drawnFromTheFullDecode(*img, bytes);
        ASSERT_EQ(reference.size(), shown.size());
        EXPECT_LT(test::meanDifference(shown, reference), 3.0) << img->name().toStdString();
    }
    ASSERT_TRUE(w.Image_S->picture().isBitmap());   // a bitmap as it is
    EXPECT_EQ(w.Image_S->picture().pixels(), pictures::readBmp(tide));

    // The enlarged map at its own size; the map window stores the full-size
    // picture again, and the viewer shows what it stored.
    drv.expectModal<TMapF>([&](TMapF& f) {
        f.grab();
        EXPECT_EQ(f.Image_MM->displayPixels().size(), QSize(640, 480));
        drv.closeByTitleBar(f);
    });
    drv.click(w.Image_M);
    drv.expectModal<TMap_ShioF>([&](TMap_ShioF& f) { drv.click(f.Btn_Ok); });
    drv.click(w.Btn_Chizu);
    const std::string stored = storedMemos(s.files.memoFile())[0].at("F_MAP").bytes;
    EXPECT_EQ(stored, pictures::encodeJpeg(pictures::decodeJpeg(map)).toStdString());
    EXPECT_EQ(w.Image_M->picture().jpegBytes().toStdString(), stored);
    EXPECT_EQ(drv.pendingScripts(), 0);
}

// Deletes memo `code` in the real maintenance window opened by the viewer.
void deleteInMaintenance(Driver& drv, TShowF& w, int code) {
    drv.expectModal<TMenteF>([&drv, code](TMenteF& f) {
        drv.chooseRadio(f.RadioGp1, 1);
        drv.type(f.Edit_del, QString::number(code));
        drv.click(f.Btn_Del);
        drv.click(f.Btn_Return);
    });
    drv.click(w.Btn_Mente);
}

TEST(MemoViewerChildren, AfterTheMaintenanceWindowTheViewerShowsWhatTheFileHolds) {
    Session s;
    storeFive(s);
    memotest::execMemo({test::kCreateKadaiSql});
    Driver drv;
    Viewer v(drv);
    TShowF& w = v.w;
    // Another memo deleted: memo 1 stays, and so does its pending change.
    drv.type(w.Edit_Turi, "t");
    deleteInMaintenance(drv, w, 3);
    EXPECT_EQ(w.Label_CODE->caption(), "1");
    EXPECT_EQ(w.Edit_Turi->text(), "t");
    EXPECT_TRUE(w.Btn_Chenge_OK->enabled());
    EXPECT_EQ(w.IBSQL_OutPut.recordCount(), 4);
    drv.click(w.Btn_Change_No);
    // The memo shown deleted: the one now at its place, then the last one.
    deleteInMaintenance(drv, w, 1);
    EXPECT_EQ(w.Label_CODE->caption(), "2");
    EXPECT_EQ(w.Memo1->text(), "two\r\n");
    EXPECT_EQ(monthsShown(w), (std::vector<int>{2, 3}));
    drv.click(w.Btn_Last);
    deleteInMaintenance(drv, w, 5);
    EXPECT_EQ(w.Label_CODE->caption(), "4");
    EXPECT_EQ(w.ComboBox_X->itemCount(), 5);   // rebuilt by Show all only

    // A direct pick deleted: its set is empty now, and so is the display.
    w.ComboBox_X->setItemIndex(1);
    emit w.ComboBox_X->activated(1);
    deleteInMaintenance(drv, w, 2);
    EXPECT_EQ(w.Label_CODE->caption(), "0");
    EXPECT_EQ(w.Memo1->text(), "");
    EXPECT_EQ(w.Edit_F1->text(), "");
    EXPECT_TRUE(monthsShown(w).empty());
    EXPECT_TRUE(drv.takeBoxes().empty());
    EXPECT_EQ(drv.pendingScripts(), 0);

    // A correction there is refused aloud and keeps the text typed; a month
    // toggle too; nothing is written either way.
    const auto before = storedMemos(s.files.memoFile());
    ASSERT_EQ(before.size(), 1u);
    drv.type(w.Memo1, " edited");
    drv.click(w.Btn_Chenge_OK);
    EXPECT_EQ(drv.takeMessages(), QStringList{"訂正に失敗しました"});
    EXPECT_EQ(w.Memo1->text(), " edited");
    EXPECT_TRUE(w.Btn_Chenge_OK->enabled());
    drv.dblClick(w.Panels[4]);
    EXPECT_EQ(drv.takeMessages(), QStringList{"訂正に失敗しました"});
    const auto after = storedMemos(s.files.memoFile());
    ASSERT_EQ(after.size(), 1u);
    for (const auto& [column, value] : before[0]) EXPECT_EQ(after[0].at(column).bytes, value.bytes) << column;
}

TEST(MemoViewerCorrection, AMemoDeletedUnderTheViewerIsNeverCorrectedSilently) {
    Session s;
    storeFive(s);
    Driver drv;
    Viewer v(drv);
    TShowF& w = v.w;
    memotest::execMemo({"delete from FISH_MEMO where CODE = 1"});
    drv.type(w.Edit_F1, "Z");
    drv.type(w.Memo1, " edited");
    drv.click(w.Btn_Chenge_OK);
    EXPECT_EQ(drv.takeMessages(), QStringList{"訂正に失敗しました"});
    EXPECT_EQ(w.Label_CODE->caption(), "1");
    EXPECT_EQ(w.Edit_F1->text(), "AZ");
    EXPECT_EQ(w.Memo1->text(), " editedone\r\n");
    EXPECT_TRUE(w.Btn_Chenge_OK->enabled());
    EXPECT_TRUE(w.Btn_Change_No->enabled());
    drv.dblClick(w.Panels[5]);
    EXPECT_EQ(drv.takeMessages(), QStringList{"訂正に失敗しました"});
    const auto rows = storedMemos(s.files.memoFile());
    ASSERT_EQ(rows.size(), 4u);
    for (const auto& r : rows) {
        EXPECT_EQ(r.at("M6").text, "0");
        EXPECT_NE(r.at("FISH1").text, "AZ");
    }
}

TEST(MemoViewerCorrection, ACharacterShiftJisCannotHoldIsNamedWithItsBox) {
    Session s;
    storeFive(s);
    Driver drv;
    Viewer v(drv);
    TShowF& w = v.w;
    const auto before = storedMemos(s.files.memoFile());
    auto refusedFor = [&](const QString& label, const QString& c) {
        drv.click(w.Btn_Chenge_OK);
        EXPECT_EQ(drv.takeMessages(),
                  QStringList{"訂正に失敗しました\n「" + label + "」の「" + c + "」は登録できない文字です"});
        EXPECT_TRUE(w.Btn_Chenge_OK->enabled());
    };
    drv.type(w.Edit_F2, "x");
    w.Edit_F2->setText(QStringLiteral("ホッケ𩸽"));
    refusedFor("魚　　種", "𩸽");
    EXPECT_EQ(w.Edit_F2->text(), "ホッケ𩸽");
    w.Edit_F2->setText("ホッケ");
    w.Edit_Basyo->setText(QStringLiteral("부산"));
    refusedFor("場所・地域", "부");
    w.Edit_Basyo->setText("釜山");
    drv.type(w.Memo1, "한");
    refusedFor("内容", "한");
    EXPECT_EQ(w.Memo1->text(), "한one\r\n");
    const auto after = storedMemos(s.files.memoFile());
    for (const auto& [column, value] : before[0]) EXPECT_EQ(after[0].at(column).bytes, value.bytes) << column;

    // Mended, the same correction goes through.
    w.Memo1->setText("one");
    drv.click(w.Btn_Chenge_OK);
    EXPECT_TRUE(drv.takeBoxes().empty());
    const auto stored = storedMemos(s.files.memoFile())[0];
    EXPECT_EQ(stored.at("FISH2").text, "ホッケ");
    EXPECT_EQ(stored.at("BASYO").text, "釜山");
    EXPECT_EQ(stored.at("F_MEMO").text, "one");
}
