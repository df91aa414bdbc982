// What the map and photo windows share: reading their opener's controls by
// name (a control the opener lacks reads as no text and no picture) and the
// record numbers they convert.
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

}  // namespace tolvane::photo
