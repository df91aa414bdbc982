// A scroll box: a framed area holding controls, with scroll bars when its
// client area is made larger than what is visible. Controls are created on
// client(); the client follows the box's visible size, so controls anchored
// in it grow and shrink with the box. A click or double click on the box's
// own area (not on a control in it) runs OnClick / OnDblClick.
#pragma once

#include <QScrollArea>

#include "ui/control.h"

namespace tolvane::ui {

class ScrollBox : public QScrollArea, public Control {
public:
    TOLVANE_CONTROL_NAMES
    ScrollBox(QWidget* parent, const QString& name, int left, int top, int width, int height);

    // The parent of the controls in the box.
    QWidget* client() const { return client_; }

protected:
    bool event(QEvent* e) override;
    bool viewportEvent(QEvent* e) override;

private:
    QWidget* client_;
};

}  // namespace tolvane::ui
