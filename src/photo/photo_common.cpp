#include "photo/photo_common.h"

#include "ui/image.h"

namespace tolvane::photo {

QString textOf(const ui::Form* form, const QString& name) {
    if (auto* e = controlOf<ui::Edit>(form, name)) return e->text();
    if (auto* l = controlOf<ui::Label>(form, name)) return l->caption();
    return QString();
}

pictures::Picture pictureOf(const ui::Form* form, const QString& name) {
    if (auto* img = controlOf<ui::Image>(form, name)) return img->picture();
    return pictures::Picture();
}

std::optional<int> wholeNumber(const QString& text) {
    bool ok = false;
    const int v = text.trimmed().toInt(&ok, 10);
    if (!ok) return std::nullopt;
    return v;
}

}  // namespace tolvane::photo
