#include "exchange/workbook.h"
#include "exchange/workbook_support.h"
#include "exchange/xml_bounds.h"

#include "calc/media.h"

#include <unzip.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QXmlStreamReader>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstring>
#include <optional>
#include <set>
#include <string>
#include <vector>

#ifndef _WIN32
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace kolmaris {

namespace {

using namespace exchange_detail;
using Kind = WorkbookError::Kind;

// A results workbook is a few kilobytes. These bounds are far above anything a spreadsheet
// writes for 28 rows and far below what would hurt, whatever the file claims about itself.
constexpr qint64 maxFileBytes = 16 * 1024 * 1024;
constexpr qint64 maxPartBytes = 8 * 1024 * 1024; // any one part, inflated
constexpr int maxEntries = 1000;
constexpr int maxSharedStrings = 200000;
constexpr int maxSheetRow = 1048576; // the spreadsheet format's own limits
constexpr int maxSheetCol = 16384;

// Sheet rows kept, 0-based: the two header rows and room for every result the table holds.
constexpr int keptRows = headerRows + maxResults;

const char* const headline = "Die Datei kann nicht eingelesen werden.";
const char* const notAWorkbook = "Sie ist keine Excel-Arbeitsmappe (.xlsx) oder ist beschädigt.";

[[noreturn]] void reject(Kind kind, const std::string& reason) {
    fail(kind, headline, reason);
}
[[noreturn]] void damaged() {
    reject(Kind::Damaged, notAWorkbook);
}
[[noreturn]] void tooLarge() {
    reject(Kind::Damaged, "Sie ist zu groß für eine Ergebnistabelle.");
}

// ---- The zip container ----------------------------------------------------------------------
//
// Read with the system's minizip, the same one libxlsxwriter writes with. (QuaZip carries its
// own copy of minizip under the same symbol names; with both in one process libxlsxwriter's
// calls land in QuaZip's copy and crash.)

// The bytes of the file, seen by minizip through its I/O callbacks.
struct MemoryFile {
    const QByteArray* bytes = nullptr;
    ZPOS64_T position = 0;
};

voidpf memoryOpen(voidpf opaque, const void*, int mode) {
    return (mode & ZLIB_FILEFUNC_MODE_WRITE) ? nullptr : opaque;
}

uLong memoryRead(voidpf, voidpf stream, void* buf, uLong size) {
    auto* file = static_cast<MemoryFile*>(stream);
    const auto total = static_cast<ZPOS64_T>(file->bytes->size());
    const ZPOS64_T available = file->position < total ? total - file->position : 0;
    const ZPOS64_T n = std::min<ZPOS64_T>(size, available);
    std::memcpy(buf, file->bytes->constData() + file->position, static_cast<std::size_t>(n));
    file->position += n;
    return static_cast<uLong>(n);
}

uLong memoryWrite(voidpf, voidpf, const void*, uLong) {
    return 0;
}

ZPOS64_T memoryTell(voidpf, voidpf stream) {
    return static_cast<MemoryFile*>(stream)->position;
}

long memorySeek(voidpf, voidpf stream, ZPOS64_T offset, int origin) {
    auto* file = static_cast<MemoryFile*>(stream);
    const auto total = static_cast<ZPOS64_T>(file->bytes->size());
    ZPOS64_T base = 0;
    switch (origin) {
    case ZLIB_FILEFUNC_SEEK_SET:
        base = 0;
        break;
    case ZLIB_FILEFUNC_SEEK_CUR:
        base = file->position;
        break;
    case ZLIB_FILEFUNC_SEEK_END:
        base = total;
        break;
    default:
        return -1;
    }
    if (offset > total || base > total - offset) {
        return -1; // offsets come from the file and may point anywhere
    }
    file->position = base + offset;
    return 0;
}

int memoryClose(voidpf, voidpf) {
    return 0;
}

int memoryError(voidpf, voidpf) {
    return 0;
}

class Package {
public:
    explicit Package(const QByteArray& bytes) : bytes_(bytes) {
        memory_.bytes = &bytes_;
        zlib_filefunc64_def io{};
        io.zopen64_file = memoryOpen;
        io.zread_file = memoryRead;
        io.zwrite_file = memoryWrite;
        io.ztell64_file = memoryTell;
        io.zseek64_file = memorySeek;
        io.zclose_file = memoryClose;
        io.zerror_file = memoryError;
        io.opaque = &memory_;
        zip_ = unzOpen2_64("", &io);
        if (zip_ == nullptr) {
            damaged();
        }
        unz_global_info64 info{};
        if (unzGetGlobalInfo64(zip_, &info) != UNZ_OK) {
            unzClose(zip_);
            damaged();
        }
        if (info.number_entry > static_cast<ZPOS64_T>(maxEntries)) {
            unzClose(zip_);
            tooLarge();
        }
        try {
            if (info.number_entry > 0) {
                refuseDuplicateNames();
            }
        } catch (...) {
            unzClose(zip_);
            throw;
        }
    }
    ~Package() { unzClose(zip_); }
    Package(const Package&) = delete;
    Package& operator=(const Package&) = delete;

    // A part by name, inflated; nothing when the package has no such part. Part names in the
    // container are case-insensitive.
    std::optional<QByteArray> part(const QString& name) {
        const QByteArray wanted = name.toUtf8();
        if (wanted.isEmpty() || wanted.size() >= 256) {
            return std::nullopt;
        }
        const int located = unzLocateFile(zip_, wanted.constData(), 2 /* case-insensitive */);
        if (located == UNZ_END_OF_LIST_OF_FILE) {
            return std::nullopt;
        }
        if (located != UNZ_OK || unzOpenCurrentFile(zip_) != UNZ_OK) {
            damaged();
        }
        QByteArray out;
        char chunk[16384];
        for (;;) {
            // The sizes in the entry's header are not trusted: the count is what was inflated.
            const int n = unzReadCurrentFile(zip_, chunk, sizeof chunk);
            if (n < 0) {
                unzCloseCurrentFile(zip_);
                damaged();
            }
            if (n == 0) {
                break;
            }
            if (out.size() + n > maxPartBytes) {
                unzCloseCurrentFile(zip_);
                tooLarge();
            }
            out.append(chunk, n);
        }
        if (unzCloseCurrentFile(zip_) != UNZ_OK) { // the CRC, once everything was read
            damaged();
        }
        return out;
    }

private:
    // With two entries of one name this reader would take the first and other programs the
    // last, so the same file would show two different tables. Names compare as the lookup
    // compares them, without regard to ASCII case.
    void refuseDuplicateNames() {
        std::set<std::string> seen;
        int status = unzGoToFirstFile(zip_);
        for (int count = 0; status == UNZ_OK; status = unzGoToNextFile(zip_)) {
            unz_file_info64 info{};
            if (++count > maxEntries || unzGetCurrentFileInfo64(zip_, &info, nullptr, 0, nullptr, 0,
                                                                nullptr, 0) != UNZ_OK) {
                damaged();
            }
            std::string name(info.size_filename, '\0');
            if (unzGetCurrentFileInfo64(zip_, nullptr, name.data(), static_cast<uLong>(name.size()),
                                        nullptr, 0, nullptr, 0) != UNZ_OK) {
                damaged();
            }
            for (char& c : name) {
                c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
            }
            if (!seen.insert(name).second) {
                reject(Kind::Damaged, "Sie enthält einen Teil mehrfach unter demselben Namen.");
            }
        }
        if (status != UNZ_END_OF_LIST_OF_FILE) {
            damaged();
        }
    }

    QByteArray bytes_;
    MemoryFile memory_;
    unzFile zip_ = nullptr;
};

// ---- XML helpers ----------------------------------------------------------------------------

// Reads the next token; a malformed document or any DTD (the parts never have one, and it is
// the door to entity tricks) counts as damage.
QXmlStreamReader::TokenType nextToken(QXmlStreamReader& xml) {
    const auto token = xml.readNext();
    if (xml.hasError() || token == QXmlStreamReader::DTD ||
        token == QXmlStreamReader::EntityReference) {
        damaged();
    }
    return token;
}

bool isStart(const QXmlStreamReader& xml, const char* localName) {
    return xml.isStartElement() && xml.name() == QLatin1String(localName);
}

// The text of a <t> element. Its content is text only.
QString elementText(QXmlStreamReader& xml) {
    const QString text = xml.readElementText(QXmlStreamReader::ErrorOnUnexpectedElement);
    if (xml.hasError()) {
        damaged();
    }
    return text;
}

// Walks to the end of the current element, however deep its content.
void skipElement(QXmlStreamReader& xml) {
    for (int depth = 1; depth > 0;) {
        const auto token = nextToken(xml);
        if (token == QXmlStreamReader::StartElement) {
            ++depth;
        } else if (token == QXmlStreamReader::EndElement) {
            --depth;
        } else if (token == QXmlStreamReader::EndDocument) {
            damaged();
        }
    }
}

// The concatenated <t> texts of a string item (<si> or <is>), phonetic runs left out; ends
// after the item's end tag.
QString stringItemText(QXmlStreamReader& xml) {
    QString text;
    for (int depth = 1; depth > 0;) {
        const auto token = nextToken(xml);
        if (token == QXmlStreamReader::StartElement) {
            if (xml.name() == QLatin1String("t")) {
                text += elementText(xml);
                if (text.size() > maxPartBytes) {
                    tooLarge();
                }
            } else if (xml.name() == QLatin1String("rPh")) {
                skipElement(xml);
            } else {
                ++depth;
            }
        } else if (token == QXmlStreamReader::EndElement) {
            --depth;
        } else if (token == QXmlStreamReader::EndDocument) {
            damaged();
        }
    }
    return text;
}

// The value of the relationship id attribute (r:id), whatever prefix its namespace got.
QString relationshipId(const QXmlStreamReader& xml) {
    for (const auto& attribute : xml.attributes()) {
        if (attribute.name() == QLatin1String("id") && !attribute.namespaceUri().isEmpty()) {
            return attribute.value().toString();
        }
    }
    return {};
}

// ---- Finding the parts ----------------------------------------------------------------------

struct Relationship {
    QString id;
    QString type;
    QString target; // resolved to a part name
};

// The relationships part that belongs to `partName`, e.g. xl/_rels/workbook.xml.rels.
QString relationshipsPartOf(const QString& partName) {
    const int slash = partName.lastIndexOf(QLatin1Char('/'));
    const QString folder = slash < 0 ? QString() : partName.left(slash + 1);
    return folder + QStringLiteral("_rels/") + partName.mid(slash + 1) + QStringLiteral(".rels");
}

// A relationship target relative to the folder of `sourcePart`, or absolute from the package
// root. Empty when it points outside the package.
QString resolveTarget(const QString& sourcePart, const QString& target) {
    QString path;
    if (target.startsWith(QLatin1Char('/'))) {
        path = target.mid(1);
    } else {
        const int slash = sourcePart.lastIndexOf(QLatin1Char('/'));
        path = (slash < 0 ? QString() : sourcePart.left(slash + 1)) + target;
    }
    path = QDir::cleanPath(path);
    if (path.startsWith(QLatin1String("..")) || path.startsWith(QLatin1Char('/'))) {
        return {};
    }
    return path;
}

std::vector<Relationship> readRelationships(Package& package, const QString& sourcePart) {
    std::vector<Relationship> out;
    const auto bytes = package.part(relationshipsPartOf(sourcePart));
    if (!bytes) {
        return out;
    }
    checkXmlBounds(*bytes);
    QXmlStreamReader xml(*bytes);
    while (nextToken(xml) != QXmlStreamReader::EndDocument) {
        if (isStart(xml, "Relationship") &&
            xml.attributes().value(QLatin1String("TargetMode")) != QLatin1String("External")) {
            const auto attributes = xml.attributes();
            out.push_back(
                {attributes.value(QLatin1String("Id")).toString(),
                 attributes.value(QLatin1String("Type")).toString(),
                 resolveTarget(sourcePart, attributes.value(QLatin1String("Target")).toString())});
            if (out.size() > static_cast<std::size_t>(maxEntries)) {
                tooLarge();
            }
        }
    }
    return out;
}

const Relationship* byType(const std::vector<Relationship>& relationships, const char* suffix) {
    for (const auto& r : relationships) {
        if (r.type.endsWith(QLatin1String(suffix))) {
            return &r;
        }
    }
    return nullptr;
}

// The id of the first sheet listed in the workbook part.
QString firstSheetId(const QByteArray& workbook) {
    checkXmlBounds(workbook);
    QXmlStreamReader xml(workbook);
    while (nextToken(xml) != QXmlStreamReader::EndDocument) {
        if (isStart(xml, "sheet")) {
            return relationshipId(xml);
        }
    }
    return {};
}

struct Parts {
    QString sheet;
    QString sharedStrings;
};

// The first worksheet and the shared strings, through the package's relationships; where
// those are missing, the names every spreadsheet uses.
Parts locateParts(Package& package) {
    Parts parts{QStringLiteral("xl/worksheets/sheet1.xml"), QStringLiteral("xl/sharedStrings.xml")};

    QString workbookPart = QStringLiteral("xl/workbook.xml");
    const auto rootRelationships = readRelationships(package, QString());
    if (const auto* office = byType(rootRelationships, "/officeDocument")) {
        if (!office->target.isEmpty()) {
            workbookPart = office->target;
        }
    }
    const auto workbook = package.part(workbookPart);
    if (!workbook) {
        return parts;
    }
    const auto relationships = readRelationships(package, workbookPart);
    if (const auto* strings = byType(relationships, "/sharedStrings")) {
        parts.sharedStrings = strings->target;
    }
    const QString sheetId = firstSheetId(*workbook);
    for (const auto& r : relationships) {
        if (!sheetId.isEmpty() && r.id == sheetId && r.type.endsWith(QLatin1String("/worksheet")) &&
            !r.target.isEmpty()) {
            parts.sheet = r.target;
        }
    }
    return parts;
}

// No bytes: the workbook has no shared strings.
std::vector<QString> readSharedStrings(const QByteArray& bytes) {
    std::vector<QString> strings;
    if (bytes.isEmpty()) {
        return strings;
    }
    QXmlStreamReader xml(bytes);
    while (nextToken(xml) != QXmlStreamReader::EndDocument) {
        if (isStart(xml, "si")) {
            if (strings.size() >= static_cast<std::size_t>(maxSharedStrings)) {
                tooLarge();
            }
            strings.push_back(stringItemText(xml));
        }
    }
    return strings;
}

// ---- The sheet ------------------------------------------------------------------------------

struct Cell {
    enum class Type { Empty, Number, Text, Formula, Other } type = Type::Empty; // Formula: no value
    double number = 0;
    QString text;
};

using Sheet = std::array<std::array<Cell, sheetCols>, keptRows>;

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
            if (depth == 1 && xml.name() == QLatin1String("v")) {
                value = elementText(xml);
            } else if (depth == 1 && xml.name() == QLatin1String("is")) {
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

// The cells of the first kept rows and columns. Cell references are checked, not trusted: each
// must lie in its row, rows and cells must come in order, so no cell can appear twice.
Sheet readSheet(const QByteArray& bytes, const std::vector<QString>& sharedStrings) {
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
            const QXmlStreamAttributes attributes = xml.attributes(); // r views into these
            const QStringView r = attributes.value(QLatin1String("r"));
            const auto given =
                r.isEmpty() ? std::optional<int>(row + 1) : parseIndex(r, maxSheetRow);
            if (!given || *given <= row || *given > maxSheetRow) {
                damaged();
            }
            row = *given;
            col = 0;
            inRow = true;
        } else if (inRow && xml.name() == QLatin1String("c")) {
            const QXmlStreamAttributes attributes = xml.attributes();
            const QStringView r = attributes.value(QLatin1String("r"));
            int cellCol = col + 1;
            if (!r.isEmpty()) {
                const auto ref = parseReference(r);
                if (!ref || ref->second != row) {
                    damaged();
                }
                cellCol = ref->first;
            }
            if (cellCol <= col || cellCol > maxSheetCol) {
                damaged();
            }
            col = cellCol;
            const Cell cell = readCell(xml, sharedStrings, row, col);
            // Column G and those past the inputs are the user's: remarks there cost nothing.
            if (cell.type == Cell::Type::Empty || col == tableCols + 1 || col > sheetCols) {
                continue;
            }
            if (row > keptRows) {
                if (cell.type == Cell::Type::Number) {
                    refuseResultBelowTable(sheet, row);
                }
                reject(Kind::ForeignLayout,
                       "Unter der Ergebnistabelle stehen weitere Daten (Zelle " +
                           cellName(row - 1, col - 1) + ").");
            }
            sheet[static_cast<std::size_t>(row - 1)][static_cast<std::size_t>(col - 1)] = cell;
        } else if (inRow) {
            skipElement(xml);
        }
    }
    if (!sawSheet) {
        damaged();
    }
    return sheet;
}

// ---- The table in the sheet -----------------------------------------------------------------

bool isText(const Cell& cell, const QString& expected) {
    // Spreadsheets and their users trim blanks; the words are what identifies the table.
    return expected.isEmpty() ? cell.type == Cell::Type::Empty ||
                                    (cell.type == Cell::Type::Text && cell.text.trimmed().isEmpty())
                              : cell.type == Cell::Type::Text && cell.text.trimmed() == expected;
}

const Cell& cellAt(const Sheet& sheet, int row, int col) {
    return sheet[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)];
}

void checkHeaders(const Sheet& sheet) {
    for (int r = 0; r < headerRows; ++r) {
        for (int c = 0; c < tableCols; ++c) {
            if (!isText(cellAt(sheet, r, c), QString::fromUtf8(headerText(r, c)).trimmed())) {
                reject(Kind::ForeignLayout,
                       "Das erste Tabellenblatt hat nicht die Überschriften der Ergebnistabelle.");
            }
        }
    }
}

// Which of the input columns are ours: the inputs when all their titles stand, the notes when
// theirs does. Workbooks of older versions have neither, and other data there is the user's.
struct InputLayout {
    bool inputs = false;
    bool notes = false;
};

InputLayout inputLayout(const Sheet& sheet) {
    const auto titled = [&sheet](int inputCol) {
        return isText(cellAt(sheet, 0, firstInputCol + inputCol),
                      QString::fromUtf8(inputHeaderText(0, inputCol)));
    };
    InputLayout layout;
    layout.inputs = true;
    for (int i = 0; i < Notes; ++i) {
        layout.inputs = layout.inputs && titled(i);
    }
    layout.notes = layout.inputs && titled(Notes);
    return layout;
}

template <typename Choice, std::size_t N>
std::optional<Choice> choiceNamed(const QString& text, const Choice (&choices)[N]) {
    for (const Choice choice : choices) {
        if (text.trimmed() == QString::fromUtf8(nameOf(choice))) {
            return choice;
        }
    }
    return std::nullopt;
}

// A row's inputs: none when all their cells are empty, all of them otherwise.
std::optional<ResultInputs> rowInputs(const Sheet& sheet, int r) {
    const auto input = [&sheet, r](int inputCol) -> const Cell& {
        return cellAt(sheet, r, firstInputCol + inputCol);
    };
    bool any = false;
    for (int i = 0; i < Notes; ++i) {
        any = any || input(i).type != Cell::Type::Empty;
    }
    if (!any) {
        return std::nullopt;
    }
    double numbers[numericInputs] = {};
    for (int i = 0; i < numericInputs; ++i) {
        if (input(i).type != Cell::Type::Number) {
            reject(Kind::ForeignLayout,
                   "In Zelle " + cellName(r, firstInputCol + i) + " steht keine Zahl.");
        }
        numbers[i] = input(i).number;
    }
    constexpr Medium media[] = {Medium::Water, Medium::FuelOil, Medium::NaturalGas,
                                Medium::CompressedAir};
    constexpr Material materials[] = {Material::GalvanisedIron, Material::BlackIron,
                                      Material::StainlessSteel, Material::Plastic,
                                      Material::Copper};
    const auto medium = input(MediumName).type == Cell::Type::Text
                            ? choiceNamed(input(MediumName).text, media)
                            : std::nullopt;
    if (!medium) {
        reject(Kind::ForeignLayout,
               "In Zelle " + cellName(r, firstInputCol + MediumName) + " steht kein Medium.");
    }
    const auto material = input(MaterialName).type == Cell::Type::Text
                              ? choiceNamed(input(MaterialName).text, materials)
                              : std::nullopt;
    if (!material) {
        reject(Kind::ForeignLayout, "In Zelle " + cellName(r, firstInputCol + MaterialName) +
                                        " steht kein Rohrmaterial.");
    }
    return ResultInputs{numbers[0], numbers[1], numbers[2], numbers[3], *medium, *material};
}

std::vector<ResultValues> resultRows(const Sheet& sheet) {
    const InputLayout layout = inputLayout(sheet);
    // A remark in the notes column alone makes no result.
    const int usedCols = layout.inputs ? firstInputCol + Notes : tableCols;
    std::vector<ResultValues> results;
    for (int r = headerRows; r < keptRows; ++r) {
        const auto& row = sheet[static_cast<std::size_t>(r)];
        bool any = false;
        for (int c = 0; c < usedCols; ++c) {
            any = any || row[static_cast<std::size_t>(c)].type != Cell::Type::Empty;
        }
        if (!any) {
            continue; // a blank line left by the user
        }
        // The result number is not needed, but anything other than a number there means the
        // sheet is something else.
        for (int c = 0; c < tableCols; ++c) {
            const Cell& cell = row[static_cast<std::size_t>(c)];
            const bool ok =
                cell.type == Cell::Type::Number || (c == 0 && cell.type == Cell::Type::Empty);
            if (cell.type == Cell::Type::Formula) {
                reject(Kind::ForeignLayout, "In Zelle " + cellName(r, c) + " steht eine Formel " +
                                                "ohne gespeicherten Wert. Bitte die Arbeitsmappe " +
                                                "im Tabellenprogramm neu berechnen und speichern.");
            }
            if (!ok) {
                reject(Kind::ForeignLayout, "In Zelle " + cellName(r, c) + " steht keine Zahl.");
            }
        }
        ResultValues values{row[1].number, row[2].number, row[3].number, row[4].number,
                            row[5].number};
        if (layout.inputs) {
            values.origin.inputs = rowInputs(sheet, r);
        }
        const Cell& notes = cellAt(sheet, r, firstInputCol + Notes);
        if (layout.notes && notes.type == Cell::Type::Text) {
            values.origin.notes = parseNotesText(notes.text.toStdString());
        }
        results.push_back(std::move(values));
    }
    return results;
}

std::vector<ResultValues> resultsOfParts(const QByteArray& sheetBytes,
                                         const QByteArray& sharedStringsBytes) {
    if (sheetBytes.size() > maxPartBytes || sharedStringsBytes.size() > maxPartBytes) {
        tooLarge();
    }
    checkXmlBounds(sheetBytes);
    checkXmlBounds(sharedStringsBytes);
    const auto sharedStrings = readSharedStrings(sharedStringsBytes);
    const Sheet sheet = readSheet(sheetBytes, sharedStrings);
    checkHeaders(sheet);
    return resultRows(sheet);
}

std::vector<ResultValues> readWorkbook(const QByteArray& bytes) {
    if (bytes.size() > maxFileBytes) {
        tooLarge();
    }
    Package package(bytes);
    const Parts parts = locateParts(package);
    const auto sheetBytes = package.part(parts.sheet);
    if (!sheetBytes) {
        reject(Kind::Damaged, "Die Arbeitsmappe enthält kein Tabellenblatt.");
    }
    return resultsOfParts(*sheetBytes, package.part(parts.sharedStrings).value_or(QByteArray()));
}

} // namespace

std::vector<ResultValues> exchange_detail::readResultsSheet(const std::string& sheet,
                                                            const std::string& sharedStrings) {
    return resultsOfParts(QByteArray::fromStdString(sheet),
                          QByteArray::fromStdString(sharedStrings));
}

std::vector<ResultValues> readResultsWorkbook(const std::string& path) {
#ifdef _WIN32
    const QString name = QString::fromStdString(path);
    if (!QFileInfo::exists(name)) {
        reject(Kind::CannotOpen, "Die Datei gibt es nicht.");
    }
    QFile file(name);
    if (!QFileInfo(name).isFile() || !file.open(QIODevice::ReadOnly)) {
        reject(Kind::CannotOpen, "Die Datei lässt sich nicht öffnen.");
    }
    // Read one byte past the limit rather than trusting size().
    const QByteArray bytes = file.read(maxFileBytes + 1);
    if (bytes.size() > maxFileBytes) {
        tooLarge();
    }
    if (file.error() != QFileDevice::NoError) {
        reject(Kind::CannotOpen, "Die Datei lässt sich nicht lesen.");
    }
    return readWorkbook(bytes);
#else
    // A pipe blocks the first read until a writer comes, a device may never end: only a regular
    // file is read. The check before opening keeps devices closed; the one after it catches a
    // file swapped in between, and O_NONBLOCK keeps even that open from waiting.
    auto refuseUnlessRegular = [](const struct stat& info) {
        if (S_ISDIR(info.st_mode)) {
            reject(Kind::CannotOpen, "Das ist ein Ordner, keine Datei.");
        }
        if (!S_ISREG(info.st_mode)) {
            reject(Kind::CannotOpen, "Das ist keine gewöhnliche Datei, sondern etwa eine Pipe "
                                     "oder ein Gerät.");
        }
    };
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        reject(Kind::CannotOpen, errno == ENOENT || errno == ENOTDIR
                                     ? "Die Datei gibt es nicht."
                                     : "Die Datei lässt sich nicht öffnen.");
    }
    refuseUnlessRegular(info);
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        reject(Kind::CannotOpen, "Die Datei lässt sich nicht öffnen.");
    }
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    if (::fstat(fd, &info) != 0) {
        reject(Kind::CannotOpen, "Die Datei lässt sich nicht öffnen.");
    }
    refuseUnlessRegular(info);
    // Read one byte past the limit rather than trusting the size the file system reports.
    QByteArray bytes;
    char chunk[65536];
    for (;;) {
        const ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            reject(Kind::CannotOpen, "Die Datei lässt sich nicht lesen.");
        }
        if (n == 0) {
            break;
        }
        bytes.append(chunk, static_cast<qsizetype>(n));
        if (bytes.size() > maxFileBytes) {
            tooLarge();
        }
    }
    return readWorkbook(bytes);
#endif
}

std::vector<ResultValues> readResultsWorkbookBytes(const std::string& bytes) {
    if (static_cast<qint64>(bytes.size()) > maxFileBytes) {
        tooLarge();
    }
    return readWorkbook(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

} // namespace kolmaris
