// What the map and photo windows share: reading their opener's controls by
// name (a control the opener lacks reads as no text and no picture), the
// record numbers they convert, and the size label that shows a carriage return as a line break.
#pragma once

#include <QString>
#include <optional>

#include "pictures/picture.h"
#include "ui/controls.h"
#include "ui/form.h"

namespace tolvane::photo {

// The control `name` of `form` (nullptr without the form or the control).
template <class T>
T* controlOf(const ui::Form* form, const QString& name) {
    return form != nullptr ? form->findControl<T>(name) : nullptr;
}

// The text of an edit or the caption of a label of `form`; "" when missing.
QString textOf(const ui::Form* form, const QString& name);
// The picture of an image of `form`; nothing when missing.
pictures::Picture pictureOf(const ui::Form* form, const QString& name);

// A record or memo number: the whole text as a decimal integer (blanks
// around it allowed); nothing otherwise.
std::optional<int> wholeNumber(const QString& text);

// A size label: its caption is kept as set (the carriage return of the file
// load's text included) and drawn with that carriage return as a line break.
class SizeLabel : public ui::Label {
public:
    SizeLabel(QWidget* parent, const QString& name, int left, int top, int width, int height);

protected:
    void paintEvent(QPaintEvent* e) override;
};

}  // namespace tolvane::photo
