#include "core/columns.h"

#include <QByteArray>
#include <cctype>
#include <stdexcept>
#include <string>

#include "db/fb.h"
#include "ui/controls.h"

namespace {

struct Width {
    const char* table;
    const char* column;
    int bytes;
};

// Every VARCHAR column of schema/sorvenda.sql and schema/keldmark.sql, and
// of the lessons table the maintenance window creates.
constexpr Width kWidths[] = {
    {"FISH_DATA", "DAY_DATA", 20},  {"FISH_DATA", "TENNKI", 20},   {"FISH_DATA", "FUNE", 20},
    {"FISH_DATA", "BASYO", 20},     {"FISH_DATA", "SHIO", 20},     {"FISH_DATA", "KIJYUNN", 20},
    {"FISH_DATA", "KYUUREKI", 10},  {"FISH_DATA", "OLD_SHIO", 20}, {"FISH_DATA", "MAX1", 10},
    {"FISH_DATA", "MAX2", 10},      {"FISH_DATA", "MIN1", 10},     {"FISH_DATA", "MIN2", 10},
    {"FISH_DATA", "FISH1", 20},     {"FISH_DATA", "FISH2", 20},    {"FISH_DATA", "FISH3", 20},
    {"FISH_ADDR", "A02_SHOP", 80},  {"FISH_ADDR", "A03_NAME", 60}, {"FISH_ADDR", "A04_TEL", 40},
    {"FISH_ADDR", "A05_FAX", 40},   {"FISH_ADDR", "A06_MOBILE", 40},
    {"FISH_ADDR", "A07_ADDR1", 120}, {"FISH_ADDR", "A08_ADDR2", 120},
    {"FISH_ADDR", "A10_WWW", 200},  {"SYUBETU", "S01_SYUBETU", 40}, {"FISH_PASS", "P02_PASSWD", 20},
    {"FISH_MEMO", "FISH1", 20},     {"FISH_MEMO", "FISH2", 20},    {"FISH_MEMO", "FISH3", 20},
    {"FISH_MEMO", "BUNRUI", 20},    {"FISH_MEMO", "TURI", 40},     {"FISH_MEMO", "BASYO", 40},
    {"SYURUI", "SYURUI", 20},       {"FISH_KADAI", "K01_FISH", 40}, {"FISH_KADAI", "K02_PLACE", 40},
    {"FISH_KADAI", "K03_TUKI", 10},
};

bool sameName(std::string_view a, const char* b) {
    const std::string_view bb(b);
    if (a.size() != bb.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(a[i])) != bb[i]) return false;
    return true;
}

int requiredWidth(std::string_view table, std::string_view column) {
    const int w = columnWidth(table, column);
    if (w <= 0)
        throw std::invalid_argument("No text column " + std::string(table) + "." + std::string(column));
    return w;
}

}  // namespace

int columnWidth(std::string_view table, std::string_view column) {
    for (const Width& w : kWidths)
        if (sameName(table, w.table) && sameName(column, w.column)) return w.bytes;
    return 0;
}

void limitToColumn(tolvane::ui::Edit* box, std::string_view table, std::string_view column) {
    box->setMaxBytes(requiredWidth(table, column));
}

void limitToColumn(tolvane::ui::ComboBox* box, std::string_view table, std::string_view column) {
    box->setMaxBytes(requiredWidth(table, column));
}

std::optional<QString> unstorableCharacter(const QString& text) {
    try {
        tolvane::db::toShiftJis(text.toStdString());
        return std::nullopt;
    } catch (const tolvane::db::Error&) {
    }
    for (char32_t cp : text.toUcs4()) {
        const QString c = QString::fromUcs4(&cp, 1);
        try {
            tolvane::db::toShiftJis(c.toStdString());
        } catch (const tolvane::db::Error&) {
            return c;
        }
    }
    return std::nullopt;
}

QString unstorableCharacterLine(const QString& label, const QString& character) {
    return QStringLiteral("「%1」の「%2」は登録できない文字です").arg(label, character);
}

QString unstorableTextLine(const std::vector<BoxText>& texts) {
    for (const BoxText& t : texts)
        if (const auto c = unstorableCharacter(t.text)) return unstorableCharacterLine(t.box, *c);
    return QString();
}

QString failureMessage(const QString& message, const QString& line) {
    return line.isEmpty() ? message : message + QLatin1Char('\n') + line;
}

void setSearchText(tolvane::db::Param& param, const QString& value) {
    if (unstorableCharacter(value)) param.clear();
    else param.setString(value.toStdString());
}

QString searchLiteral(const QString& value) {
    if (unstorableCharacter(value)) return QStringLiteral("NULL");
    return QString::fromStdString(tolvane::db::quoted(value.toStdString()));
}
