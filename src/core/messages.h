// Messages that windows of several subsystems show.
#pragma once

#include <QString>

// The four lines shown when the lessons table cannot be read (at start, and
// by the lesson windows), separated by a single carriage return.
extern const QString KadaiTableMissingMessage;

// The names a refused save gives the text boxes that have no label of their
// own: the memo text (so its column is titled elsewhere), and the text of a
// lesson.
extern const QString MemoTextBoxName;     // 内容
extern const QString LessonTextBoxName;   // 課題
