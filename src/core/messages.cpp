#include "core/messages.h"

const QString KadaiTableMissingMessage =
    QStringLiteral("新しいデータベースフィールドが必要です") + QChar('\r') +
    QStringLiteral(" （課題用のデータベース） ") + QChar('\r') +
    QStringLiteral("「メンテナンス画面」にて") + QChar('\r') +
    QStringLiteral("新しいデータベースを作成してください");
