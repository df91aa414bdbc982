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
// or the smaller decode the picture keeps when that is large enough. The
// copy can be made on another thread, beside the decode (prepareToShow), so
// that the paint only draws it; it is made again when the control's size or
// the screen's ratio is no longer the one it was made for.
#pragma once

#include <QWidget>

#include "imaging/picture.h"
#include "ui/control.h"

namespace tolvane::ui {

// How a control shows its picture: its size, how it places the picture, and
// the screen's device pixels per pixel. What a display copy is made for.
struct ImageView {
    QSize box;
    bool stretch = false;
    bool proportional = false;
    bool center = false;
    qreal ratio = 1;
    bool operator==(const ImageView&) const = default;
};

// Where a picture of `size` is drawn in a control showing it as `view` (in
// the control's coordinates; empty when there is nothing to draw).
QRect pictureRectIn(QSize size, const ImageView& view);

// A picture's visible part at the size shown, in device pixels, for one view.
struct DisplayCopy {
    bool made = false;   // made for `view` (a picture with nothing visible, or one
                         // that does not decode, is made with no pixels)
    ImageView view;
    QRect shown;         // the part of the control it covers
    QImage pixels;       // its devicePixelRatio() is view.ratio
};

// A picture with its display copy made for `view`, for Image::setPicture.
// Made on any thread (it touches only what it is given): the decode's thread
// then also makes the copy, and the paint only draws. A JPEG picture keeps its
// bytes and any smaller decode it has; its full-size pixels are dropped.
struct Shown {
    pictures::Picture picture;
    DisplayCopy copy;
};
Shown prepareToShow(pictures::Picture picture, const ImageView& view);

class Image : public QWidget, public Control {
public:
    TOLVANE_CONTROL_NAMES
    Image(QWidget* parent, const QString& name, int left, int top, int width, int height);

    const pictures::Picture& picture() const { return picture_; }
    void setPicture(const pictures::Picture& p);
    // The picture with the copy made for it; the copy is kept when it was made
    // for view(), else it is made again at the next paint.
    void setPicture(Shown shown);
    // How the control shows its picture now (its thread only).
    ImageView view() const;
    // The pixels drawn now (the visible part at the size shown, in device
    // pixels: its devicePixelRatio() is the screen's; null when nothing is
    // drawn).
    const QImage& displayPixels() const { return display_.pixels; }
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
    // Makes display_ for the present view when it was made for another, then
    // drops a JPEG picture's full pixels. False when nothing is to be drawn.
    bool prepareDisplay();

    pictures::Picture picture_;
    DisplayCopy display_;
    bool stretch_ = false;
    bool proportional_ = false;
    bool center_ = false;
};

}  // namespace tolvane::ui
