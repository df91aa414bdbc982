#include "ui/colors.h"

#include <QApplication>

namespace tolvane::ui {

QPalette classicPalette() {
    const QColor face(240, 240, 240), black(0, 0, 0), white(255, 255, 255), grey(109, 109, 109);
    QPalette p;
    for (auto g : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        const bool off = g == QPalette::Disabled;
        p.setColor(g, QPalette::Window, face);
        p.setColor(g, QPalette::WindowText, off ? grey : black);
        p.setColor(g, QPalette::Base, off ? face : white);
        p.setColor(g, QPalette::AlternateBase, QColor(247, 247, 247));
        p.setColor(g, QPalette::ToolTipBase, QColor(255, 255, 225));
        p.setColor(g, QPalette::ToolTipText, black);
        p.setColor(g, QPalette::PlaceholderText, grey);
        p.setColor(g, QPalette::Text, off ? grey : black);
        p.setColor(g, QPalette::Button, face);
        p.setColor(g, QPalette::ButtonText, off ? grey : black);
        p.setColor(g, QPalette::BrightText, white);
        p.setColor(g, QPalette::Light, white);
        p.setColor(g, QPalette::Midlight, QColor(227, 227, 227));
        p.setColor(g, QPalette::Mid, QColor(160, 160, 160));
        p.setColor(g, QPalette::Dark, QColor(160, 160, 160));
        p.setColor(g, QPalette::Shadow, QColor(105, 105, 105));
        p.setColor(g, QPalette::Highlight, off ? face : QColor(0, 120, 215));
        p.setColor(g, QPalette::HighlightedText, off ? grey : white);
        p.setColor(g, QPalette::Link, QColor(0, 0, 255));
        p.setColor(g, QPalette::LinkVisited, QColor(255, 0, 255));
    }
    return p;
}

void installClassicPalette() {
    static bool done = false;
    if (done || qApp == nullptr) return;
    done = true;
    // Every role is set, so a later change of the desktop's scheme resolves
    // nothing from it either.
    QApplication::setPalette(classicPalette());
}

}  // namespace tolvane::ui
