// The address list and the address window (new entry and correction) for
// scripts/screenshots.sh.
#include "address/Name_Show_F.h"
#include "address/Name_sel_F.h"
#include "core/DM_1.h"
#include "core/handover.h"
#include "ui/testing/screenshots.h"

namespace {

void ensureDataModule() {
    if (DM1 == nullptr) createDataModule();
}

TOLVANE_SCREENSHOT("Name_SelF", [](const tolvane::ui::screenshots::Context& ctx) {
    ensureDataModule();
    auto f = std::make_unique<TName_SelF>(ctx.owner);
    TName_SelF* w = f.get();
    w->OnShow = [w] {
        w->ListBox1->clearItems();
        for (const char* shop : {"釣具いそや", "磯渡し丸", "第一丸", "第二渡船", "フィッシング三崎",
                                 "つり船　清水丸", "城ヶ島渡船", "", "釣具センター"})
            w->ListBox1->addItem(QString::fromUtf8(shop));
        w->Btn_all->setFocus();
    };
    return std::unique_ptr<tolvane::ui::Form>(std::move(f));
});

TOLVANE_SCREENSHOT("Name_ShowF", [](const tolvane::ui::screenshots::Context& ctx) {
    ensureDataModule();
    AddrMode = 1;
    return std::unique_ptr<tolvane::ui::Form>(new TName_ShowF(ctx.owner));
});

TOLVANE_SCREENSHOT("Name_ShowF_edit", [](const tolvane::ui::screenshots::Context& ctx) {
    ensureDataModule();
    AddrMode = 1;
    auto f = std::make_unique<TName_ShowF>(ctx.owner);
    TName_ShowF* w = f.get();
    auto show = w->OnShow;
    w->OnShow = [w, show] {
        show();
        // The correction face, filled as a stored entry would fill it.
        w->Btn_In->setCaption("訂正");
        w->Edit0->setVisible(true);
        w->Label0->setVisible(true);
        w->Edit0->setText("12");
        w->ComboBox1->setItemIndex(3);
        w->Edit2->setText("磯渡し丸");
        w->Edit3->setText("山田　一郎");
        w->Edit4->setText("046-881-0000");
        w->Edit5->setText("046-881-0001");
        w->Edit6->setText("090-1234-5678");
        w->Edit7->setText("神奈川県三浦市三崎町城ヶ島１－１");
        w->Edit8->setText("渡船桟橋前");
        w->Edit9->setText("http://isowatashi.example.jp/");
        w->Memo1->setText("出船は午前５時。予約は前日１７時まで。");
    };
    return std::unique_ptr<tolvane::ui::Form>(std::move(f));
});

}  // namespace
