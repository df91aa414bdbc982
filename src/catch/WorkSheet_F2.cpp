#include "catch/WorkSheet_F2.h"

#include <QStyle>
#include <algorithm>

#include "catch/Fishdata_F.h"
#include "core/handover.h"

using namespace tolvane::ui;

TWorkSheetF2* WorkSheetF2 = nullptr;

namespace {

TFishdataF* browserOf(const Form* sheet) { return dynamic_cast<TFishdataF*>(sheet->owner()); }

// A column at least wide enough for `sample` in the grid's font, with the
// margins a cell keeps around its text, so a four-digit number or a whole
// date is not cut short where the font's digits run wider.
int fitted(const QTableView* grid, int width, const QString& sample) {
    const int margin = grid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, grid) + 1;
    return std::max(width, grid->fontMetrics().horizontalAdvance(sample) + 2 * margin + 4);
}

}  // namespace

TWorkSheetF2::TWorkSheetF2(Form* owner) : Form(owner, "WorkSheetF2") {
    setCaption(QStringLiteral("釣果記録"));
    setMinClientSize(800, 600);
    setClientSize(800, 600);
    setPosition(Position::OwnerCenter);
    setFontPx(16);

    Panel1 = new Panel(this, "Panel1", 0, 0, 800, 49);
    Label1 = new Label(Panel1, "Label1", QStringLiteral("選択して戻ると詳細表示になります"), 376, 27);
    Label1->setFontPx(13, true);
    Label1->setFontColor(QColor(0, 0, 128));
    Btn_Close = new Button(Panel1, "Btn_Close", QStringLiteral("戻　る"), 600, 8, 153, 33);
    Btn_Close->setFontPx(16, true);

    DBGrid1 = new DBGrid(this, "DBGrid1", 0, 49, 800, 551);
    DBGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    auto column = [](const char* field, const QString& title, int width) {
        GridColumn c;
        c.fieldName = QString::fromLatin1(field);
        c.title = title;
        c.width = width;
        c.titleAlignment = Qt::AlignHCenter;
        return c;
    };
    DBGrid1->setColumns({column("CODENO", QStringLiteral("Ｎｏ"), fitted(DBGrid1, 40, QStringLiteral("9999"))),
                         column("DAY_DATA", QStringLiteral("日付"), fitted(DBGrid1, 90, QStringLiteral("2024/12/31"))),
                         column("BASYO", QStringLiteral("釣り場"), 140),
                         column("FUNE", QStringLiteral("船"), 120),
                         column("FISH1", QStringLiteral("対象魚　１"), 120),
                         column("FISH2", QStringLiteral("対象魚　２"), 120),
                         column("FISH3", QStringLiteral("対象魚　３"), 120)});

    OnShow = [this] { FormShow(); };
    OnResize = [this] { FormResize(); };
    Btn_Close->OnClick = [this] { Btn_CloseClick(); };
}

TWorkSheetF2::~TWorkSheetF2() = default;

void TWorkSheetF2::FormShow() {
    if (TFishdataF* browser = browserOf(this)) DBGrid1->setDataSource(&browser->DS_OUT);
}

void TWorkSheetF2::FormResize() {
    Panel1->setWidth(QWidget::width());
    DBGrid1->setBounds(0, 49, QWidget::width(), QWidget::height() - 49);
}

void TWorkSheetF2::Btn_CloseClick() {
    if (TFishdataF* browser = browserOf(this)) DataBookmark = browser->IBSQL_2.getBookmark();
    close();
}
