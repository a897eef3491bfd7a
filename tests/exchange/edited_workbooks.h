#pragma once

#include "calc/calculation.h"
#include "calculated.h"
#include "exchange/workbook.h"
#include "results/result_row.h"
#include "workbook_fixtures.h"

#include <algorithm>
#include <string>
#include <vector>

// A table of five calculated results saved with their inputs, and what a spreadsheet user does
// to it before reading it back: the reader, "Einlesen" and --report must all tell which rows
// still agree with their inputs.
namespace kolmaris::test_support {

// The five results: water through copper and black iron, water above 100 °C, natural gas, and
// fuel oil in laminar flow.
inline const ResultInputs editedTableInputs[] = {
    {25, 30, 10, 60, Medium::Water, Material::Copper},
    {50, 100, 10, 20, Medium::Water, Material::BlackIron},
    {32, 60, 25, 120, Medium::Water, Material::StainlessSteel},
    {80, 2000, 50, 15, Medium::NaturalGas, Material::GalvanisedIron},
    {20, 8, 12.5, 40, Medium::FuelOil, Material::Plastic},
};

// One sheet row as XML texts: columns A to F, H to M (empty for a cleared cell) and N.
struct SheetRow {
    QStringList values;
    QStringList inputs;
    QString notes;
};

inline QString xmlNumberText(double value) {
    return QString::number(value, 'g', 17);
}

inline SheetRow sheetRowOf(int number, const ResultInputs& in) {
    const ResultValues v = calculatedFrom(in);
    const auto shown = [](double value, int col) {
        return xmlNumberText(shownValue(value, columnDecimals[col]));
    };
    return {{QString::number(number), shown(v.velocity, 1), shown(v.lossPerMetre, 2),
             shown(v.lossTotal, 3), shown(v.reynolds, 4), shown(v.lambda, 5)},
            {xmlNumberText(in.diameter), xmlNumberText(in.flowRate), xmlNumberText(in.length),
             xmlNumberText(in.temperature), QString::fromUtf8(nameOf(in.medium)),
             QString::fromUtf8(nameOf(in.material))},
            QString::fromStdString(notesText(v.origin, NumberFormat{','}))};
}

inline QString sheetXmlOf(const std::vector<SheetRow>& rows) {
    const auto cell = [](const QString& ref, const QString& text, bool number) {
        return number ? QStringLiteral("<c r=\"%1\"><v>%2</v></c>").arg(ref, text)
                      : QStringLiteral("<c r=\"%1\" t=\"inlineStr\"><is><t>%2</t></is></c>")
                            .arg(ref, text.toHtmlEscaped());
    };
    QString titles;
    const char* const inputTitles[] = {"Durchmesser", "Volumenstrom", "Länge",  "Temperatur",
                                       "Medium",      "Rohrmaterial", "Hinweis"};
    for (int i = 0; i < 7; ++i) {
        titles += cell(QStringLiteral("%1%2").arg(QChar('H' + i)).arg(1),
                       QString::fromUtf8(inputTitles[i]), false);
    }
    QString xml = headerRowsXml();
    xml.insert(xml.indexOf("</row>"), titles);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const int r = static_cast<int>(i) + 3;
        const auto ref = [r](char col) { return QStringLiteral("%1%2").arg(QChar(col)).arg(r); };
        xml += QStringLiteral("<row r=\"%1\">").arg(r);
        for (int c = 0; c < rows[i].values.size(); ++c) {
            xml += cell(ref(static_cast<char>('A' + c)), rows[i].values[c], true);
        }
        for (int c = 0; c < rows[i].inputs.size(); ++c) {
            if (!rows[i].inputs[c].isEmpty()) {
                xml += cell(ref(static_cast<char>('H' + c)), rows[i].inputs[c], c < 4);
            }
        }
        if (!rows[i].notes.isEmpty()) {
            xml += cell(ref('N'), rows[i].notes, false);
        }
        xml += QStringLiteral("</row>");
    }
    return xml;
}

struct EditedWorkbook {
    const char* edit;
    std::string bytes;
    std::vector<LeftOutRow> leftOut;
    const char* withInputs; // '+' for each result read with its inputs, '-' without
    std::string message;    // leftOutText, lines joined by CR LF
};

inline std::vector<EditedWorkbook> editedWorkbooks() {
    std::vector<SheetRow> table;
    for (const ResultInputs& in : editedTableInputs) {
        table.push_back(sheetRowOf(static_cast<int>(table.size()) + 1, in));
    }
    const auto edited = [&table](auto edit) {
        std::vector<SheetRow> rows = table;
        edit(rows);
        return zipBytes(minimalWorkbook(worksheetXml(sheetXmlOf(rows))));
    };
    using Reason = LeftOutRow::Reason;
    const std::string without = "Ohne ihre Eingaben eingelesen:\r\n";
    return {
        {"unchanged", edited([](auto&) {}), {}, "+++++", ""},
        // Sorting A3:F7 alone by DV Total moves every value but row 4's to other inputs.
        {"A3:F7 sorted by DV Total",
         edited([](std::vector<SheetRow>& rows) {
             std::vector<QStringList> values;
             for (const SheetRow& row : rows) {
                 values.push_back(row.values);
             }
             std::stable_sort(values.begin(), values.end(), [](const auto& a, const auto& b) {
                 return a[3].toDouble() < b[3].toDouble();
             });
             for (std::size_t i = 0; i < rows.size(); ++i) {
                 rows[i].values = values[i];
             }
         }),
         {{3, Reason::Mismatch},
          {5, Reason::Mismatch},
          {6, Reason::Mismatch},
          {7, Reason::Mismatch}},
         "-+---",
         without + "Zeilen 3 und 5 bis 7: Werte passen nicht zu den Eingaben"},
        {"length 10 changed to 20 in J4",
         edited([](std::vector<SheetRow>& rows) { rows[1].inputs[2] = QStringLiteral("20"); }),
         {{4, Reason::Mismatch}},
         "+-+++",
         without + "Zeile 4: Werte passen nicht zu den Eingaben"},
        {"DV Total typed as 1800 in D4",
         edited([](std::vector<SheetRow>& rows) { rows[1].values[3] = QStringLiteral("1800"); }),
         {{4, Reason::Mismatch}},
         "+-+++",
         without + "Zeile 4: Werte passen nicht zu den Eingaben"},
        // What the table shows is what counts: 0,854 shows as 0,85.
        {"velocity retyped as 0.854 in B4",
         edited([](std::vector<SheetRow>& rows) { rows[1].values[1] = QStringLiteral("0.854"); }),
         {},
         "+++++",
         ""},
        {"length cleared in J5",
         edited([](std::vector<SheetRow>& rows) { rows[2].inputs[2].clear(); }),
         {{5, Reason::Inputs, "J5 leer"}},
         "++-++",
         without + "Zeile 5: J5 leer"},
    };
}

} // namespace kolmaris::test_support
