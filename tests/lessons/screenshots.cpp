// The lesson windows for scripts/screenshots.sh: the entry window with a
// lesson typed, the search dialog with two conditions, the display with a
// lesson shown.
#include "core/DM_1.h"
#include "core/handover.h"
#include "lessons/Kadai_In_F.h"
#include "lessons/Kadai_Out_F.h"
#include "lessons/Kadai_Sel_F.h"
#include "ui/testing/screenshots.h"

namespace {

void ensureDataModule() {
    if (DM1 == nullptr) createDataModule();
}

const char kSample[] =
    "朝マズメは潮上の沈み根を先に攻める。\r\n"
    "ハリスは１．５号まで落とす。\r\n"
    "コマセは足元に少しずつ、刺し餌と同調させる。";

TOLVANE_SCREENSHOT("Kadai_InF", [](const tolvane::ui::screenshots::Context& ctx) {
    ensureDataModule();
    KadaiMode = 1;
    KadaiPlace = "城ヶ島";
    KadaiFish = "メジナ";
    KadaiMonth = "3";
    KadaiPapaNo = 12;
    auto f = std::make_unique<TKadai_InF>(ctx.owner);
    TKadai_InF* w = f.get();
    auto show = w->OnShow;
    w->OnShow = [w, show] {
        show();
        w->Label_No->setCaption("8");   // the sample files may lack the table
        w->Btn_In->setEnabled(true);
        w->Memo1->setText(QString::fromUtf8(kSample));
    };
    return std::unique_ptr<tolvane::ui::Form>(std::move(f));
});

TOLVANE_SCREENSHOT("Kadai_SelF", [](const tolvane::ui::screenshots::Context& ctx) {
    ensureDataModule();
    auto f = std::make_unique<TKadai_SelF>(ctx.owner);
    TKadai_SelF* w = f.get();
    w->CBox_Fish->clearItems();
    w->CBox_Fish->addItems({"メジナ", "アジ", "クロダイ"});
    w->Chk_Box_Fish->setChecked(true);
    w->CBox_Fish->setItemIndex(0);
    w->CBox_FishChange();
    w->Chk_Box_Tuki->setChecked(true);
    w->Btn_MMM_Click(w->monthButtons[2]);
    return std::unique_ptr<tolvane::ui::Form>(std::move(f));
});

TOLVANE_SCREENSHOT("Kadai_OutF", [](const tolvane::ui::screenshots::Context& ctx) {
    ensureDataModule();
    KadaiMode = 3;   // no search: the lesson is filled in below
    auto f = std::make_unique<TKadai_OutF>(ctx.owner);
    TKadai_OutF* w = f.get();
    w->OnShow = [w] {
        w->Edit_Place->setText("城ヶ島");
        w->Edit_Fish->setText("メジナ");
        w->Edit_Tuki->setText(" 3 月");
        w->Memo1->setText(QString::fromUtf8(kSample));
        w->Btn_Prior->setFocus();
    };
    return std::unique_ptr<tolvane::ui::Form>(std::move(f));
});

}  // namespace
