#include "exchange/sheet_cells.h"

#include "exchange/xml_reading.h"

#include <QXmlStreamReader>

#include <charconv>
#include <cmath>
#include <optional>
#include <utility>

namespace kolmaris::exchange_detail {

namespace {

// A decimal number of at most nine digits, nothing else.
std::optional<int> parseDigits(QStringView text) {
    if (text.isEmpty() || text.size() > 9) {
        return std::nullopt;
    }
    int value = 0;
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) {
            return std::nullopt;
        }
        value = value * 10 + (c.unicode() - '0');
    }
    return value;
}

// A 1-based row or column number up to `limit`.
std::optional<int> parseIndex(QStringView text, int limit) {
    const auto value = parseDigits(text);
    if (!value || *value < 1 || *value > limit) {
        return std::nullopt;
    }
    return value;
}

// "C5" to the 1-based column 3 and row 5; "$C$5" is not a cell's own reference.
std::optional<std::pair<int, int>> parseReference(QStringView ref) {
    qsizetype letters = 0;
    int col = 0;
    while (letters < ref.size() && letters < 3 && ref[letters] >= QLatin1Char('A') &&
           ref[letters] <= QLatin1Char('Z')) {
        col = col * 26 + (ref[letters].unicode() - 'A' + 1);
        ++letters;
    }
    const auto row = parseIndex(ref.mid(letters), maxSheetRow);
    if (letters == 0 || col > maxSheetCol || !row) {
        return std::nullopt;
    }
    return std::make_pair(col, *row);
}

// A number as the XML stores it: C notation, '.' as the decimal point, finite.
std::optional<double> parseXmlNumber(const QString& text) {
    QByteArray bytes = text.trimmed().toLatin1();
    if (bytes.startsWith('+')) {
        bytes.remove(0, 1);
    }
    double value = 0;
    const char* end = bytes.constData() + bytes.size();
    const auto [ptr, ec] = std::from_chars(bytes.constData(), end, value);
    if (bytes.isEmpty() || ec != std::errc() || ptr != end || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

// Reads one <c> element up to its end tag.
Cell readCell(QXmlStreamReader& xml, const std::vector<QString>& sharedStrings, int row, int col) {
    const QString type = xml.attributes().value(QLatin1String("t")).toString();
    std::optional<QString> value;
    std::optional<QString> inlineText;
    bool formula = false;
    for (int depth = 1; depth > 0;) {
        const auto token = nextToken(xml);
        if (token == QXmlStreamReader::StartElement) {
            const bool isValue = depth == 1 && xml.name() == QLatin1String("v");
            const bool isInline = depth == 1 && xml.name() == QLatin1String("is");
            // Spreadsheets would show one of two values and this reader take the other.
            if ((isValue && value) || (isInline && inlineText)) {
                reject(Kind::Damaged,
                       "In Zelle " + cellName(row - 1, col - 1) + " stehen zwei Werte.");
            }
            if (isValue) {
                value = elementText(xml);
            } else if (isInline) {
                inlineText = stringItemText(xml);
            } else {
                formula = formula || (depth == 1 && xml.name() == QLatin1String("f"));
                skipElement(xml); // formulas and anything else: the cached value is what counts
            }
        } else if (token == QXmlStreamReader::EndElement) {
            --depth;
        } else if (token == QXmlStreamReader::EndDocument) {
            damaged();
        }
    }

    const std::string where = cellName(row - 1, col - 1);
    Cell cell;
    if (type == QLatin1String("inlineStr")) {
        cell.type = Cell::Type::Text;
        cell.text = inlineText.value_or(QString());
    } else if (!value) {
        cell.type = formula ? Cell::Type::Formula : Cell::Type::Empty;
        return cell; // a styled blank, or a formula never calculated
    } else if (type.isEmpty() || type == QLatin1String("n")) {
        const auto number = parseXmlNumber(*value);
        if (!number) {
            reject(Kind::Damaged, "In Zelle " + where + " steht keine gültige Zahl.");
        }
        cell.type = Cell::Type::Number;
        cell.number = *number;
    } else if (type == QLatin1String("s")) {
        const auto index = parseDigits(value->trimmed());
        if (!index || static_cast<std::size_t>(*index) >= sharedStrings.size()) {
            damaged();
        }
        cell.type = Cell::Type::Text;
        cell.text = sharedStrings[static_cast<std::size_t>(*index)];
    } else if (type == QLatin1String("str")) {
        cell.type = Cell::Type::Text;
        cell.text = *value;
    } else {
        cell.type = Cell::Type::Other; // a truth value, an error value or a date
    }
    if (cell.type == Cell::Type::Text && cell.text.isEmpty()) {
        cell.type = Cell::Type::Empty;
    }
    return cell;
}

// A number below the table's last row: one result too many for a full table, or a result
// standing where the table has no row for it.
[[noreturn]] void refuseResultBelowTable(const Sheet& sheet, int row) {
    int filled = 0;
    for (int r = headerRows; r < keptRows; ++r) {
        const auto& cells = sheet[static_cast<std::size_t>(r)];
        filled += std::any_of(cells.begin(), cells.end(),
                              [](const Cell& c) { return c.type != Cell::Type::Empty; });
    }
    if (filled == maxResults) {
        reject(Kind::TooManyResults, "Sie enthält mehr als " + resultCount(maxResults) + ".");
    }
    reject(Kind::ForeignLayout, "Zeile " + std::to_string(row) +
                                    " liegt außerhalb der Ergebnistabelle: Ergebnisse stehen in "
                                    "den Zeilen " +
                                    std::to_string(headerRows + 1) + " bis " +
                                    std::to_string(keptRows) + ".");
}

// The row a <row> element opens: its r, which must lie past `previous`, or the next one.
int rowOpened(const QXmlStreamReader& xml, int previous) {
    const QXmlStreamAttributes attributes = xml.attributes(); // r views into these
    const QStringView r = attributes.value(QLatin1String("r"));
    const auto given = r.isEmpty() ? std::optional<int>(previous + 1) : parseIndex(r, maxSheetRow);
    if (!given || *given <= previous || *given > maxSheetRow) {
        damaged();
    }
    return *given;
}

// The column of a <c> element in `row`: its reference's, which must lie past `previous`, or the
// next one.
int cellColumn(const QXmlStreamReader& xml, int row, int previous) {
    const QXmlStreamAttributes attributes = xml.attributes();
    const QStringView r = attributes.value(QLatin1String("r"));
    int col = previous + 1;
    if (!r.isEmpty()) {
        const auto ref = parseReference(r);
        if (!ref || ref->second != row) {
            damaged();
        }
        col = ref->first;
    }
    if (col <= previous || col > maxSheetCol) {
        damaged();
    }
    return col;
}

// Keeps a cell read at `row`, `col` (1-based) where the table has it. Below the table only a
// text in column A (a sum, a remark) may stand, which leaves its row out.
void keepCell(Sheet& sheet, const Cell& cell, int row, int col, std::vector<int>& textRowsBelow) {
    // Column G and those past the inputs are the user's: remarks there cost nothing.
    if (cell.type == Cell::Type::Empty || col == tableCols + 1 || col > sheetCols ||
        (!textRowsBelow.empty() && textRowsBelow.back() == row)) {
        return;
    }
    if (row > keptRows) {
        // Cells come in column order, so A decides before the rest of its row is seen.
        if (col == 1 && cell.type == Cell::Type::Text) {
            textRowsBelow.push_back(row);
            return;
        }
        if (cell.type == Cell::Type::Number) {
            refuseResultBelowTable(sheet, row);
        }
        reject(Kind::ForeignLayout, "Unter der Ergebnistabelle stehen weitere Daten (Zelle " +
                                        cellName(row - 1, col - 1) + ").");
    }
    sheet[static_cast<std::size_t>(row - 1)][static_cast<std::size_t>(col - 1)] = cell;
}

} // namespace

Sheet readSheet(const QByteArray& bytes, const std::vector<QString>& sharedStrings,
                std::vector<int>& textRowsBelow) {
    Sheet sheet{};
    QXmlStreamReader xml(bytes);
    bool inSheetData = false;
    int row = 0; // 1-based, 0 before the first row
    int col = 0;
    bool inRow = false;
    bool sawSheet = false;
    while (nextToken(xml) != QXmlStreamReader::EndDocument) {
        if (xml.isEndElement()) {
            if (xml.name() == QLatin1String("sheetData")) {
                inSheetData = false;
            } else if (xml.name() == QLatin1String("row")) {
                inRow = false;
            }
            continue;
        }
        if (!xml.isStartElement()) {
            continue;
        }
        if (!sawSheet) {
            if (xml.name() != QLatin1String("worksheet")) {
                damaged();
            }
            sawSheet = true;
        } else if (xml.name() == QLatin1String("sheetData")) {
            inSheetData = true;
        } else if (inSheetData && !inRow && xml.name() == QLatin1String("row")) {
            row = rowOpened(xml, row);
            col = 0;
            inRow = true;
        } else if (inRow && xml.name() == QLatin1String("c")) {
            col = cellColumn(xml, row, col);
            keepCell(sheet, readCell(xml, sharedStrings, row, col), row, col, textRowsBelow);
        } else if (inRow) {
            skipElement(xml);
        }
    }
    if (!sawSheet) {
        damaged();
    }
    return sheet;
}

} // namespace kolmaris::exchange_detail
