// A picture control. It holds a Picture (nothing, a bitmap or a JPEG picture,
// kept as it is when copied to another control) and draws it:
//   - natural size from the top-left corner, cut off at the control's edges
//     (the default);
//   - proportional: shrunk to fit with its proportions when it is larger than
//     the control, at its own size otherwise;
//   - stretch + proportional: scaled to the largest size that fits, small
//     pictures enlarged as well;
//   - stretch alone: scaled to the control's size;
//   - centre: placed in the middle instead of the top-left corner.
// Mouse: OnClick, OnDblClick, OnMouseDown/Move/Up with buttons and keys held.
//
// What is drawn is a copy of the visible part at the size shown, in the
// screen's device pixels (twice the size on a screen scaled by two), so a
// picture is as sharp as the screen allows; what the picture holds is not
// touched. A JPEG
// picture keeps only its bytes and that copy: its full-size pixels are
// dropped once the copy is made, and decoded again only when something needs
// them (a re-encoding write). A new size of the control takes a decode at the
// smallest DCT scale that is at least the size drawn (Picture::pixelsToShow),
// or the smaller decode the picture keeps when that is large enough.
#pragma once

#include <QWidget>

#include "imaging/picture.h"
#include "ui/control.h"

namespace tolvane::ui {

class Image : public QWidget, public Control {
public:
    TOLVANE_CONTROL_NAMES
    Image(QWidget* parent, const QString& name, int left, int top, int width, int height);

    const pictures::Picture& picture() const { return picture_; }
    void setPicture(const pictures::Picture& p);
    // The pixels drawn now (the visible part at the size shown, in device
    // pixels: its devicePixelRatio() is the screen's; null when nothing is
    // drawn).
    const QImage& displayPixels() const { return display_; }
    void clearPicture() { setPicture(pictures::Picture()); }
    // True when it holds a picture (an empty 0 x 0 bitmap counts).
    bool hasPicture() const { return !picture_.isNone(); }

    void setStretch(bool on);
    void setProportional(bool on);
    void setCenter(bool on);
    bool stretch() const { return stretch_; }
    bool proportional() const { return proportional_; }
    bool center() const { return center_; }

    // Where the picture is drawn, in the control's coordinates (empty when
    // there is nothing to draw).
    QRect pictureRect() const;

protected:
    bool event(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;

private:
    // Makes display_ for the present geometry when it is not made yet, then
    // drops a JPEG picture's full pixels. False when nothing is to be drawn.
    bool prepareDisplay();

    pictures::Picture picture_;
    QImage display_;
    QRect displayFor_;     // pictureRect() it was made for
    QRect displayShown_;   // the part of the control it covers
    qreal displayRatio_ = 1;   // device pixels per pixel it was made for
    bool stretch_ = false;
    bool proportional_ = false;
    bool center_ = false;
};

}  // namespace tolvane::ui
