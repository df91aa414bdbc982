// Taking a picture into a control: from the clipboard or from a file. Each
// procedure changes `picture` only when it succeeds; the platform services
// (clipboard, picture-open dialog, message box) are tolvane::ui::platform().
#pragma once

#include "imaging/picture.h"

#include <QString>
#include <QStringList>
#include <optional>

class QWidget;

namespace tolvane::pictures {

// The messages, as shown.
inline constexpr const char kNoPictureOnClipboard[] = "クリップボードに画像がありません";
inline constexpr const char kPasteFailed[] = "失敗しました";
inline constexpr const char kUnsupportedFormat[] = "対応していないフォーマットです";
inline constexpr const char kChooseJpegPhoto[] = "JPEGフォーマットの写真を指定してくださいを";

// Whether an empty clipboard is told with kNoPictureOnClipboard.
enum class Notice { Message, Silent };

// Bitmap paste: only the clipboard's bitmap format counts; the picture
// becomes a bitmap copy of it (a JPEG picture held before is replaced).
// A bitmap offered but unreadable (truncated, or too large to decode), or
// past the sizes a file load takes (checkIncomingSize), is a failed paste:
// kPasteFailed where the window shows messages, silence otherwise, and the
// picture unchanged. Returns whether a picture was taken.
bool bitmapPaste(QWidget* owner, Picture& picture, Notice notice);

// Any-picture paste: the clipboard's general picture format (a bitmap, or a
// vector picture the platform hands over drawn as pixels). The picture
// becomes a bitmap. Any error on the way, a picture past checkIncomingSize
// among them, shows kPasteFailed (in silent windows too) and leaves the
// picture as it was.
bool anyPicturePaste(QWidget* owner, Picture& picture, Notice notice);

// Extension-switch file load (map editor, rectangle-style tide editor):
// the default picture dialog; a path holding ".BMP" anywhere (any case) is
// loaded by its own extension as loadPictureFile does, with its errors
// thrown to the caller; else a path holding ".JPG" or ".JPEG" is decoded and
// the picture becomes a bitmap of its pixels (kUnsupportedFormat when that
// fails, the picture unchanged); else nothing is loaded. Returns the new
// size-label text (fileLoadSizeLabel of the picture now held), or nothing
// when the dialog was cancelled or the control holds no picture (the label
// then stays as it was).
std::optional<QString> extensionSwitchFileLoad(QWidget* owner, Picture& picture);

// Plain file load (catch entry photos, memo entry pictures, single photo):
// the two-entry JPEG dialog, then loadPictureFile; kChooseJpegPhoto when the
// file cannot be loaded, the picture then unchanged. Returns whether a
// picture was loaded.
bool plainFileLoad(QWidget* owner, Picture& picture);

// A file loaded by its extension (any case): .jpg and .jpeg give a JPEG
// picture holding the file's bytes unchanged (decoded here, so a file that is
// not JPEG is refused now), .bmp a bitmap, .ico a bitmap of the icon's
// largest image. Metafiles (.emf, .wmf) and every other extension are
// refused, and so is a picture past checkIncomingSize (more than 100
// megapixels, or a side past 65,500 pixels, which libjpeg could never
// store). Throws std::runtime_error (CodecError) with the reason.
Picture loadPictureFile(const QString& path);

// The dialogs' filters: the default one lists every type loadPictureFile
// takes; the plain load's has the two JPEG entries.
QStringList defaultPictureFilters();
QStringList jpegPictureFilters();

}  // namespace tolvane::pictures
