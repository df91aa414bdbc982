// The editable combo boxes of the windows without an Enter chain (the catch
// entry window's tide box has its own test), each with its list dropped down
// and text no item begins with: Enter closes the list and the text stays.
#include <QAbstractItemView>
#include <functional>
#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include "address/Name_Show_F.h"
#include "core/handover.h"
#include "lessons/Kadai_Sel_F.h"
#include "memo/Input_F.h"
#include "memo/Select_F.h"
#include "memo/Show_F.h"
#include "support/test_sql.h"
#include "support/window_session.h"
#include "ui/testing/driver.h"

using namespace tolvane;
using tolvane::ui::ComboBox;
using tolvane::ui::Form;
using tolvane::ui::testing::Driver;

namespace {

struct Case {
    const char* window;
    std::function<std::unique_ptr<Form>()> make;
    std::vector<const char*> boxes;
    std::function<void(Driver&, Form&)> prepare = [](Driver&, Form&) {};   // makes the boxes usable
};

template <class T>
std::function<std::unique_ptr<Form>()> maker() {
    return [] { return std::make_unique<T>(nullptr); };
}

void tick(Driver& drv, Form& f, std::initializer_list<const char*> boxes) {
    for (const char* b : boxes) drv.click(f.findControl<ui::CheckBox>(b));
}

}  // namespace

TEST(EditableComboBoxes, EnterInADroppedListMatchingNothingClosesItAndKeepsTheText) {
    const std::vector<Case> cases = {
        {"InputF", maker<TInputF>(), {"CBox_F1", "CBox_F2", "CBox_F3", "CBox1", "CBox_Turi", "CBox_Basyo"}},
        {"SelectF", maker<TSelectF>(), {"CBox1", "CBox2"},
         [](Driver& drv, Form& f) { tick(drv, f, {"CheckBox1", "CheckBox2"}); }},
        {"ShowF", maker<TShowF>(), {"ComboBox_X"}},
        {"Kadai_SelF", maker<TKadai_SelF>(), {"CBox_Fish", "CBox_Basyo"},
         [](Driver& drv, Form& f) { tick(drv, f, {"Chk_Box_Fish", "Chk_Box_Basyo"}); }},
        {"Name_ShowF", [] { AddrMode = 1; return std::make_unique<TName_ShowF>(nullptr); }, {"ComboBox1"}},
    };
    for (const Case& c : cases) {
        test::WindowSession s;
        test::runSql(s.files.memoFile(), {"insert into FISH_MEMO (CODE, FISH1, FISH2, FISH3, BUNRUI, TURI,"
                                          " BASYO) values (1, 'アジ', 'サバ', 'イワシ', '釣り方', 'ウキ', '城ヶ島')",
                                          "insert into SYURUI (SYURUI) values ('釣り方')"});
        test::runSql(s.files.catchFile(),
                     {"insert into FISH_DATA (CODENO, FISH1, BASYO) values (1, 'アジ', '城ヶ島')"});
        Driver drv;
        std::unique_ptr<Form> f = c.make();
        drv.show(*f);
        c.prepare(drv, *f);
        for (const char* name : c.boxes) {
            SCOPED_TRACE(std::string(c.window) + "." + name);
            auto* box = f->findControl<ComboBox>(name);
            ASSERT_NE(box, nullptr);
            ASSERT_TRUE(box->isEditable());
            box->setItemIndex(-1);
            drv.focus(box);
            drv.pressKey(box, Qt::Key_F4);
            drv.type(box, "満");
            ASSERT_TRUE(box->view()->isVisible());
            EXPECT_FALSE(box->view()->currentIndex().isValid());
            drv.pressEnter(box);
            EXPECT_FALSE(box->view()->isVisible());
            EXPECT_EQ(box->text(), "満");
            EXPECT_TRUE(box->focused());
        }
        EXPECT_TRUE(drv.takeBoxes().empty());
    }
}
