#include "exchange/sheet_results.h"

#include "calc/media.h"
#include "exchange/package_parts.h"
#include "exchange/sheet_cells.h"
#include "exchange/xml_bounds.h"

#include <optional>
#include <utility>

namespace kolmaris::exchange_detail {

namespace {

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

} // namespace

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

std::vector<ResultValues> readResultsSheet(const std::string& sheet,
                                           const std::string& sharedStrings) {
    return resultsOfParts(QByteArray::fromStdString(sheet),
                          QByteArray::fromStdString(sharedStrings));
}

} // namespace kolmaris::exchange_detail
