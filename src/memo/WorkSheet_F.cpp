#include "memo/WorkSheet_F.h"

#include "core/handover.h"
#include "memo/Show_F.h"

using namespace tolvane::ui;

TWorkSheetF* WorkSheetF = nullptr;

TWorkSheetF::TWorkSheetF(Form* owner) : Form(owner, "WorkSheetF") {
    setCaption(QStringLiteral("釣り関連メモ"));
    setClientSize(800, 600);
    setMinClientSize(800, 600);
    setPosition(Position::OwnerCenter);
    setColor(QColor(200, 206, 221));
    // The platform's dialog font: a four-digit number fits the No column.
    setFontPx(12);

    Panel1 = new Panel(this, "Panel1", 0, 0, 800, 49);
    Panel1->setAnchors(akLeft | akTop | akRight);
    Label1 = new Label(Panel1, "Label1", QStringLiteral("選択して戻ると詳細表示になります"), 16, 16);
    Label1->setFontPx(16, true);
    Label1->setFontColor(QColor(0, 0, 128));
    Button1 = new Button(Panel1, "Button1", QStringLiteral("戻　る"), 680, 10, 105, 30);
    Button1->setAnchors(akTop | akRight);

    DBGrid1 = new DBGrid(this, "DBGrid1", 0, 49, 800, 551);
    DBGrid1->setAnchors(akLeft | akTop | akRight | akBottom);
    auto column = [](const char* field, const char* title, int width) {
        GridColumn c;
        c.fieldName = QString::fromLatin1(field);
        c.title = QString::fromUtf8(title);
        c.width = width;
        c.titleAlignment = Qt::AlignHCenter;
        return c;
    };
    DBGrid1->setColumns({column("CODE", "No", 40), column("BUNRUI", "分類", 110),
                         column("BASYO", "場所", 150), column("TURI", "釣り方", 150),
                         column("FISH1", "対象魚　１", 100), column("FISH2", "対象魚　２", 100),
                         column("FISH3", "対象魚　３", 100)});

    OnShow = [this] { FormShow(); };
    Button1->OnClick = [this] { Button1Click(); };
}

void TWorkSheetF::FormShow() {
    if (ShowF != nullptr) DBGrid1->setDataSource(&ShowF->DS_OutPut);
}

void TWorkSheetF::Button1Click() {
    if (ShowF != nullptr) MemoBookmark = ShowF->IBSQL_OutPut.getBookmark();
    close();
}
