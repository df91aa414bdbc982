// Pictures as other programs write them, for the picture tests.
#pragma once

#include <QByteArray>
#include <QImage>

namespace tolvane::test {

// A JPEG file as a camera or another program writes it with plain libjpeg:
// quality 75 (not our encoder's 90), colour or greyscale, baseline or
// progressive.
QByteArray cameraJpeg(const QImage& src, bool grey = false, bool progressive = false);

}  // namespace tolvane::test
