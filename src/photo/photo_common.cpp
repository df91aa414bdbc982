#include "photo/photo_common.h"

#include "ui/image.h"

namespace tolvane::photo {

pictures::Picture pictureOf(const ui::Form* form, const QString& name) {
    if (auto* img = controlOf<ui::Image>(form, name)) return img->picture();
    return pictures::Picture();
}

}  // namespace tolvane::photo
