#include "exchange/sheet_results.h"

#include "calc/media.h"
#include "exchange/package_parts.h"
#include "exchange/sheet_cells.h"
#include "exchange/xml_bounds.h"
#include "results/recalculation.h"

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kolmaris::exchange_detail {

namespace {

// A cell's text without its surrounding blanks, as a view: a cell may hold megabytes.
QStringView trimmedText(const Cell& cell) {
    return QStringView(cell.text).trimmed();
}

bool isText(const Cell& cell, const QString& expected) {
    // Spreadsheets and their users trim blanks; the words are what identifies the table.
    return expected.isEmpty() ? cell.type == Cell::Type::Empty ||
                                    (cell.type == Cell::Type::Text && trimmedText(cell).isEmpty())
                              : cell.type == Cell::Type::Text && trimmedText(cell) == expected;
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
    bool fittings = false;
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
    layout.fittings = layout.notes && titled(FittingItems);
    return layout;
}

// The row's fittings from their text; a text that does not read leaves them out and says why.
void readFittings(const Cell& cell, int sheetRow, ResultValues& values, WorkbookResults& read) {
    if (cell.type == Cell::Type::Empty) {
        return;
    }
    try {
        if (cell.type != Cell::Type::Text) {
            throw FittingError("In Zelle " + cellName(sheetRow - 1, firstInputCol + FittingItems) +
                               " steht kein Text.");
        }
        // Only as much of a hostile cell as the parser will look at is converted: one shared
        // string may stand in every row.
        const QString text = cell.text.left(static_cast<qsizetype>(maxFittingsTextLength) + 1);
        values.origin.fittings = parseFittingsText(text.toStdString());
    } catch (const FittingError& error) {
        read.leftOut.push_back({sheetRow, LeftOutRow::Reason::Fittings, error.what()});
    }
}

// Spreadsheet users retype names: case and surrounding blanks do not matter. A text longer
// than any name with its blanks names nothing, like any other unknown name.
template <typename Choice, std::size_t N>
std::optional<Choice> choiceNamed(const Cell& cell, const Choice (&choices)[N]) {
    if (cell.type != Cell::Type::Text ||
        static_cast<std::size_t>(cell.text.size()) > maxNameCellChars) {
        return std::nullopt;
    }
    const QStringView name = trimmedText(cell);
    for (const Choice choice : choices) {
        if (name.compare(QString::fromUtf8(nameOf(choice)), Qt::CaseInsensitive) == 0) {
            return choice;
        }
    }
    return std::nullopt;
}

// "H5", "H5 und I5", "H5, I5 und J5".
std::string listed(const std::vector<std::string>& names) {
    std::string text;
    for (std::size_t i = 0; i < names.size(); ++i) {
        text += (i == 0 ? "" : i + 1 == names.size() ? " und " : ", ") + names[i];
    }
    return text;
}

// A row's inputs when all of them are there and known. Otherwise nothing, and `unusable` names
// the cells that are not: "J5 leer", "H5 und I5 keine Zahl, L5 unbekannt".
std::optional<ResultInputs> rowInputs(const Sheet& sheet, int r, std::string& unusable) {
    const auto input = [&sheet, r](int inputCol) -> const Cell& {
        return cellAt(sheet, r, firstInputCol + inputCol);
    };
    enum Problem { Blank, NotANumber, Unknown, problems };
    const char* const problemText[problems] = {"leer", "keine Zahl", "unbekannt"};
    std::vector<std::string> cells[problems];
    const auto unusableCell = [&](int inputCol, Problem otherwise) {
        const Problem problem = isText(input(inputCol), {}) ? Blank : otherwise;
        cells[problem].push_back(cellName(r, firstInputCol + inputCol));
    };
    double numbers[numericInputs] = {};
    for (int i = 0; i < numericInputs; ++i) {
        if (input(i).type == Cell::Type::Number) {
            numbers[i] = input(i).number;
        } else {
            unusableCell(i, NotANumber);
        }
    }
    const auto& media = mediumOrder.items;
    const auto& materials = materialOrder.items;
    const auto medium = choiceNamed(input(MediumName), media);
    const auto material = choiceNamed(input(MaterialName), materials);
    if (!medium) {
        unusableCell(MediumName, Unknown);
    }
    if (!material) {
        unusableCell(MaterialName, Unknown);
    }
    for (int p = 0; p < problems; ++p) {
        if (!cells[p].empty()) {
            unusable += (unusable.empty() ? "" : ", ") + listed(cells[p]) + " " + problemText[p];
        }
    }
    if (!unusable.empty() || !medium || !material) {
        return std::nullopt;
    }
    return ResultInputs{numbers[0], numbers[1], numbers[2], numbers[3], *medium, *material};
}

bool anyFilled(const Sheet& sheet, int r, int fromCol, int toCol) {
    for (int c = fromCol; c < toCol; ++c) {
        if (cellAt(sheet, r, c).type != Cell::Type::Empty) {
            return true;
        }
    }
    return false;
}

// Refuses the sheet unless the cell holds a number.
void requireNumber(const Sheet& sheet, int r, int c) {
    const Cell& cell = cellAt(sheet, r, c);
    if (cell.type == Cell::Type::Formula) {
        reject(Kind::ForeignLayout, "In Zelle " + cellName(r, c) + " steht eine Formel " +
                                        "ohne gespeicherten Wert. Bitte die Arbeitsmappe " +
                                        "im Tabellenprogramm neu berechnen und speichern.");
    }
    if (cell.type != Cell::Type::Number) {
        reject(Kind::ForeignLayout, "In Zelle " + cellName(r, c) + " steht keine Zahl.");
    }
}

// Whether a row is a result. Its number is not needed (a spreadsheet may have cleared it), but
// a text there marks a sum or a remark, and so do texts or gaps beside an empty one: such rows
// are left out. A numbered row must hold numbers, and a formula never calculated or a value of
// another kind (a truth value, an error) refuses the sheet.
bool isResult(const Sheet& sheet, int r) {
    const Cell::Type number = cellAt(sheet, r, 0).type;
    if (number == Cell::Type::Text) {
        return false;
    }
    bool allNumbers = true;
    for (int c = 1; c < tableCols; ++c) {
        const Cell::Type type = cellAt(sheet, r, c).type;
        if (number != Cell::Type::Empty || type == Cell::Type::Formula ||
            type == Cell::Type::Other) {
            requireNumber(sheet, r, c);
        }
        allNumbers = allNumbers && type == Cell::Type::Number;
    }
    if (number != Cell::Type::Empty) {
        requireNumber(sheet, r, 0);
    }
    return allNumbers;
}

// A row's inputs and notes stand beside the values they gave, and a sort of columns A to F
// alone or a value typed over parts them. Only inputs that give the values read once more are
// kept, and the row is then what they give; otherwise it keeps its values without inputs or
// notes, and says so.
void keepInputsThatAgree(ResultValues& values, int sheetRow, std::vector<LeftOutRow>& leftOut) {
    if (!values.origin.inputs) {
        values.origin = {}; // incomplete inputs are listed already
        return;
    }
    if (auto confirmed = confirmedByInputs(values)) {
        values = std::move(*confirmed);
        return;
    }
    values.origin = {};
    leftOut.push_back({sheetRow, LeftOutRow::Reason::Mismatch});
}

WorkbookResults resultRows(const Sheet& sheet) {
    const InputLayout layout = inputLayout(sheet);
    // A remark in the notes column alone makes no result.
    const int usedCols = layout.inputs ? firstInputCol + Notes : tableCols;
    WorkbookResults read;
    for (int r = headerRows; r < keptRows; ++r) {
        const int sheetRow = r + 1;
        if (!anyFilled(sheet, r, 0, tableCols)) {
            if (anyFilled(sheet, r, firstInputCol, usedCols)) {
                read.leftOut.push_back({sheetRow, LeftOutRow::Reason::NoResultNumber});
            }
            continue; // a blank line left by the user
        }
        if (!isResult(sheet, r)) {
            read.leftOut.push_back({sheetRow, LeftOutRow::Reason::NoResultNumber});
            continue;
        }
        ResultValues values{cellAt(sheet, r, 1).number, cellAt(sheet, r, 2).number,
                            cellAt(sheet, r, 3).number, cellAt(sheet, r, 4).number,
                            cellAt(sheet, r, 5).number};
        const bool withInputs =
            layout.inputs && anyFilled(sheet, r, firstInputCol, firstInputCol + Notes);
        if (withInputs) {
            std::string unusable;
            values.origin.inputs = rowInputs(sheet, r, unusable);
            if (!values.origin.inputs) {
                read.leftOut.push_back({sheetRow, LeftOutRow::Reason::Inputs, unusable});
            }
        }
        const Cell& notes = cellAt(sheet, r, firstInputCol + Notes);
        if (layout.notes && notes.type == Cell::Type::Text) {
            // Notes of ours stand only at the start, and parsing reads no further: the rest of a
            // long text is never converted.
            const QByteArray start =
                QStringView(notes.text).left(static_cast<qsizetype>(maxNotesTextBytes)).toUtf8();
            values.origin.notes = parseNotesText(
                std::string_view(start.constData(), static_cast<std::size_t>(start.size())));
        }
        if (layout.fittings) {
            readFittings(cellAt(sheet, r, firstInputCol + FittingItems), sheetRow, values, read);
        }
        if (withInputs) {
            keepInputsThatAgree(values, sheetRow, read.leftOut);
        }
        read.results.push_back(std::move(values));
    }
    return read;
}

} // namespace

WorkbookResults resultsOfParts(const QByteArray& sheetBytes, const QByteArray& sharedStringsBytes,
                               XmlBudget& budget) {
    if (sheetBytes.size() > maxPartBytes || sharedStringsBytes.size() > maxPartBytes) {
        tooLarge();
    }
    checkXmlBounds(sheetBytes, budget);
    checkXmlBounds(sharedStringsBytes, budget);
    const auto sharedStrings = readSharedStrings(sharedStringsBytes);
    std::vector<int> textRowsBelow;
    const Sheet sheet = readSheet(sheetBytes, sharedStrings, textRowsBelow);
    checkHeaders(sheet);
    WorkbookResults read = resultRows(sheet);
    for (const int row : textRowsBelow) {
        read.leftOut.push_back({row, LeftOutRow::Reason::NoResultNumber});
    }
    return read;
}

WorkbookResults readResultsSheet(const std::string& sheet, const std::string& sharedStrings) {
    XmlBudget budget;
    return resultsOfParts(QByteArray::fromStdString(sheet),
                          QByteArray::fromStdString(sharedStrings), budget);
}

} // namespace kolmaris::exchange_detail
