// Messages that windows of several subsystems show.
#pragma once

#include <QString>

// The four lines shown when the lessons table cannot be read (at start, and
// by the lesson windows), separated by a single carriage return.
extern const QString KadaiTableMissingMessage;
