#include "core/messages.h"

const QString KadaiTableMissingMessage =
    QStringLiteral("新しいデータベースフィールドが必要です") + QChar('\r') +
    QStringLiteral(" （課題用のデータベース） ") + QChar('\r') +
    QStringLiteral("「メンテナンス画面」にて") + QChar('\r') +
    QStringLiteral("新しいデータベースを作成してください");

const QString MemoTextBoxName = QStringLiteral("内容");
const QString LessonTextBoxName = QStringLiteral("課題");
