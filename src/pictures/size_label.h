// The size label beside an editor's picture: its caption is kept as set (the
// carriage return of the file load's text included) and drawn with that
// carriage return as a line break.
#pragma once

#include "ui/controls.h"

namespace tolvane::pictures {

class SizeLabel : public ui::Label {
public:
    SizeLabel(QWidget* parent, const QString& name, int left, int top, int width, int height);

protected:
    void paintEvent(QPaintEvent* e) override;
};

}  // namespace tolvane::pictures
