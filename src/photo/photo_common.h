// What the map and photo windows share: reading their opener's controls by
// name (a control the opener lacks reads as no picture; texts are read with
// ui::controlText).
#pragma once

#include <QString>

#include "imaging/picture.h"
#include "ui/controls.h"
#include "ui/form.h"

namespace tolvane::photo {

// The control `name` of `form` (nullptr without the form or the control).
template <class T>
T* controlOf(const ui::Form* form, const QString& name) {
    return form != nullptr ? form->findControl<T>(name) : nullptr;
}

// The picture of an image of `form`; nothing when missing.
pictures::Picture pictureOf(const ui::Form* form, const QString& name);

}  // namespace tolvane::photo
