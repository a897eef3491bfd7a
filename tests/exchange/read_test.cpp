#include "edited_workbooks.h"
#include "exchange/workbook.h"
#include "workbook_fixtures.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace kolmaris {
namespace {

using namespace test_support;
using Kind = WorkbookError::Kind;

// The kind of failure reading `bytes` raises, with its message checked for the headline.
Kind failureOf(const std::string& bytes) {
    try {
        readResultsWorkbookBytes(bytes);
    } catch (const WorkbookError& e) {
        EXPECT_EQ(std::string(e.what()).rfind("Die Datei kann nicht eingelesen werden.\r\n", 0), 0u)
            << e.what();
        return e.kind();
    }
    ADD_FAILURE() << "accepted";
    return Kind::CannotWrite;
}

std::string withRows(const QString& rows) {
    return zipBytes(minimalWorkbookWithRows(rows));
}

TEST(ReadWorkbook, TakesAWorkbookSavedAgainBySpreadsheet) {
    const auto results =
        readResultsWorkbookBytes(zipBytes(test_support::resavedWorkbook())).results;
    ASSERT_EQ(results.size(), 3u);
    EXPECT_DOUBLE_EQ(results[0].velocity, 1.23);
    EXPECT_DOUBLE_EQ(results[0].lossPerMetre, 45.67);
    EXPECT_DOUBLE_EQ(results[0].lossTotal, 2283.5);
    EXPECT_DOUBLE_EQ(results[0].reynolds, 15433);
    EXPECT_DOUBLE_EQ(results[0].lambda, 0.02346);
    EXPECT_DOUBLE_EQ(results[1].velocity, 0.5);
    EXPECT_DOUBLE_EQ(results[1].lambda, 0.03512);
    EXPECT_DOUBLE_EQ(results[2].velocity, -2.1);
    EXPECT_DOUBLE_EQ(results[2].reynolds, 64500);
}

QString inlineText(const QString& ref, const QString& text) {
    return QStringLiteral("<c r=\"%1\" t=\"inlineStr\"><is><t>%2</t></is></c>").arg(ref, text);
}

// The header rows with the input columns' titles, a remark's title in G and another far right.
QString headersWithInputs() {
    QString headers = headerRowsXml();
    const int endOfTitles = headers.indexOf("</row>");
    headers.insert(endOfTitles, inlineText("G1", "Bemerkung") + inlineText("H1", "Durchmesser") +
                                    inlineText("I1", " Volumenstrom") + inlineText("J1", "Länge") +
                                    inlineText("K1", "Temperatur") + inlineText("L1", "Medium") +
                                    inlineText("M1", "Rohrmaterial") + inlineText("N1", "Hinweis") +
                                    inlineText("P1", "Prüfer"));
    return headers;
}

// A result row with inputs and a note as a spreadsheet saves them again: blanks trimmed, a
// 17-digit number, remarks of the user's in column G and far right. The values are those of the
// inputs: 15 mm, 30.000000000000004 dm3/min, 100 m, -5 °C, water through copper.
QString rowWithInputs(int row) {
    return numberRowXml(row, {"1", "2.83", "6666.79", "666678.64", "23701", "0.025"})
        .replace("</row>", inlineText("G#", "Strang 2") +
                               "<c r=\"H#\"><v>15</v></c><c r=\"I#\"><v>30.000000000000004</v></c>"
                               "<c r=\"J#\"><v>1E2</v></c><c r=\"K#\"><v>-5</v></c>" +
                               inlineText("L#", "Wasser ") + inlineText("M#", "Kupferrohr") +
                               inlineText("N#", "unter 0 °C: Zähigkeit von 0–10 °C verwendet") +
                               inlineText("P#", "M. Muster") + "</row>")
        .replace("#", QString::number(row));
}

// The inputs come back; a row whose inputs were never kept has none.
TEST(ReadWorkbook, TakesTheInputsBackAndLeavesTheUsersColumnsAlone) {
    const QString headers = headersWithInputs();
    const QString row3 = rowWithInputs(3);
    const QString row4 = numberRowXml(4, goodRow);
    const auto read =
        readResultsWorkbookBytes(zipBytes(minimalWorkbook(worksheetXml(headers + row3 + row4))));
    EXPECT_TRUE(read.leftOut.empty());
    const auto& results = read.results;
    ASSERT_EQ(results.size(), 2u);
    const ResultInputs expected{15, 30.000000000000004, 100, -5, Medium::Water, Material::Copper};
    EXPECT_EQ(results[0].origin.inputs, expected);
    EXPECT_EQ(results[0].origin.notes,
              (std::vector<ResultNote>{{ResultNote::Kind::ColderThanTable, 0}}));
    EXPECT_EQ(results[1].origin, ResultOrigin{});
}

// A workbook edited by hand in a spreadsheet: what is still whole reads, the rest is left out
// and listed, and the other rows keep everything.
TEST(ReadWorkbook, LeavesOutWhatAHandEditBrokeAndSaysWhat) {
    using Reason = LeftOutRow::Reason;
    const ResultInputs kept{15, 30.000000000000004, 100, -5, Medium::Water, Material::Copper};
    const struct {
        const char* edit;
        QString from, to; // replaced in row 4 of three rows with inputs
        QString added;    // rows added below them
        std::vector<LeftOutRow> leftOut;
        bool row4Inputs;
    } cases[] = {
        {"diameter cleared",
         "<c r=\"H4\"><v>15</v></c>",
         "",
         "",
         {{4, Reason::Inputs, "H4 leer"}},
         false},
        {"flow and length cleared",
         "<c r=\"I4\"><v>30.000000000000004</v></c><c r=\"J4\"><v>1E2</v></c>",
         "",
         "",
         {{4, Reason::Inputs, "I4 und J4 leer"}},
         false},
        {"temperature blanked",
         "<c r=\"K4\"><v>-5</v></c>",
         inlineText("K4", " "),
         "",
         {{4, Reason::Inputs, "K4 leer"}},
         false},
        {"medium and material cleared",
         inlineText("L4", "Wasser ") + inlineText("M4", "Kupferrohr"),
         "",
         "",
         {{4, Reason::Inputs, "L4 und M4 leer"}},
         false},
        {"text for a number",
         "<c r=\"K4\"><v>-5</v></c>",
         inlineText("K4", "kalt"),
         "",
         {{4, Reason::Inputs, "K4 keine Zahl"}},
         false},
        {"unknown medium, no temperature",
         "<c r=\"K4\"><v>-5</v></c>" + inlineText("L4", "Wasser "),
         inlineText("L4", "Sole"),
         "",
         {{4, Reason::Inputs, "K4 leer, L4 unbekannt"}},
         false},
        {"medium in lower case", "Wasser ", " wasser", "", {}, true},
        {"material in capitals", "Kupferrohr", "KUPFERROHR", "", {}, true},
        {"medium in all the blanks a name may have",
         "Wasser ",
         QString(maxNameCellChars - 6, ' ') + "Wasser",
         "",
         {},
         true},
        {"medium in more blanks",
         "Wasser ",
         QString(maxNameCellChars - 5, ' ') + "Wasser",
         "",
         {{4, Reason::Inputs, "L4 unbekannt"}},
         false},
        {"note cleared",
         inlineText("N4", "unter 0 °C: Zähigkeit von 0–10 °C verwendet"),
         inlineText("N4", " "),
         "",
         {},
         true},
        {"sum row",
         "",
         "",
         "<row r=\"7\"><c r=\"A7\" t=\"inlineStr\"><is><t>Summe</t></is></c>"
         "<c r=\"D7\"><f>SUM(D3:D5)</f><v>6850.5</v></c></row>",
         {{7, Reason::NoResultNumber}},
         true},
        {"remark under the table",
         "",
         "",
         "<row r=\"40\"><c r=\"A40\" t=\"inlineStr\"><is><t>geprüft</t></is></c>"
         "<c r=\"B40\"><v>1</v></c></row>",
         {{40, Reason::NoResultNumber}},
         true},
        {"inputs without a result",
         "",
         "",
         "<row r=\"6\"><c r=\"H6\"><v>15</v></c></row>",
         {{6, Reason::NoResultNumber}},
         true},
    };
    for (const auto& c : cases) {
        const QString row4 =
            c.from.isEmpty() ? rowWithInputs(4) : QString(rowWithInputs(4)).replace(c.from, c.to);
        const auto read = readResultsWorkbookBytes(zipBytes(minimalWorkbook(worksheetXml(
            headersWithInputs() + rowWithInputs(3) + row4 + rowWithInputs(5) + c.added))));
        ASSERT_EQ(read.results.size(), 3u) << c.edit;
        EXPECT_EQ(read.leftOut, c.leftOut) << c.edit;
        EXPECT_EQ(read.results[0].origin.inputs, kept) << c.edit;
        EXPECT_EQ(read.results[2].origin.inputs, kept) << c.edit;
        EXPECT_EQ(read.results[1].origin.inputs.has_value(), c.row4Inputs) << c.edit;
        // The notes come from the inputs, even where the note was cleared, and go with them.
        EXPECT_EQ(read.results[1].origin.notes.size(), c.row4Inputs ? 1u : 0u) << c.edit;
    }
}

TEST(ReadWorkbook, NamesTheRowsLeftOutBriefly) {
    using Reason = LeftOutRow::Reason;
    EXPECT_EQ(leftOutText({}), "");
    EXPECT_EQ(leftOutText({{9, Reason::NoResultNumber}}),
              "Nicht eingelesen: Zeile 9 (keine Ergebnisnummer).");
    EXPECT_EQ(leftOutText({{4, Reason::Inputs, "J4 leer"},
                           {9, Reason::NoResultNumber},
                           {10, Reason::NoResultNumber},
                           {11, Reason::NoResultNumber},
                           {5, Reason::Mismatch},
                           {6, Reason::Inputs, "H6 und I6 keine Zahl"}}),
              "Nicht eingelesen: Zeilen 9 bis 11 (keine Ergebnisnummer).\r\n"
              "Ohne ihre Eingaben eingelesen:\r\n"
              "Zeile 5: Werte passen nicht zu den Eingaben\r\n"
              "Zeile 4: J4 leer\r\n"
              "Zeile 6: H6 und I6 keine Zahl");
    // A whole table of 28 rows gone wrong in every way still makes a short message.
    std::vector<LeftOutRow> many;
    for (int row = 31; row < 100000; row += 2) {
        many.push_back({row, Reason::NoResultNumber});
    }
    EXPECT_EQ(leftOutText(many), "Nicht eingelesen: Zeilen 31, 33, 35, 37, 39 und weitere "
                                 "(keine Ergebnisnummer).");
    for (int row = 3; row < 3 + maxResults; ++row) {
        many.push_back({row, row % 3 ? Reason::Mismatch : Reason::Inputs,
                        "H" + std::to_string(row) + ", I" + std::to_string(row) + " und J" +
                            std::to_string(row) + " keine Zahl, L" + std::to_string(row) +
                            " und M" + std::to_string(row) + " unbekannt"});
    }
    const std::string text = leftOutText(many);
    EXPECT_EQ(text.substr(text.find("\r\n") + 2),
              "Ohne ihre Eingaben eingelesen:\r\n"
              "Zeilen 4 bis 5, 7 bis 8, 10 bis 11, 13 bis 14, 16 bis 17 und weitere: Werte "
              "passen nicht zu den Eingaben\r\n"
              "Zeile 3: H3, I3 und J3 keine Zahl, L3 und M3 unbekannt\r\n"
              "Zeile 6: H6, I6 und J6 keine Zahl, L6 und M6 unbekannt\r\n"
              "und weitere Zeilen");
    EXPECT_LT(text.size(), 400u);
}

// Edited in a spreadsheet: a row keeps its inputs only where they give its values once more,
// and it then holds exactly what they give; the others keep their values as read, without
// inputs or notes, and are named.
TEST(ReadWorkbook, KeepsOnlyTheInputsThatGiveTheirRowsValues) {
    for (const EditedWorkbook& w : editedWorkbooks()) {
        const WorkbookResults read = readResultsWorkbookBytes(w.bytes);
        ASSERT_EQ(read.results.size(), 5u) << w.edit;
        EXPECT_EQ(read.leftOut, w.leftOut) << w.edit;
        EXPECT_EQ(leftOutText(read.leftOut), w.message) << w.edit;
        for (std::size_t i = 0; i < read.results.size(); ++i) {
            const ResultValues& row = read.results[i];
            if (w.withInputs[i] != '+') {
                EXPECT_EQ(row.origin, ResultOrigin{}) << w.edit << ", result " << i + 1;
                continue;
            }
            ASSERT_TRUE(row.origin.inputs) << w.edit << ", result " << i + 1;
            EXPECT_EQ(*row.origin.inputs, editedTableInputs[i]) << w.edit;
            const ResultValues exact = calculatedFrom(editedTableInputs[i]);
            EXPECT_EQ(row.lossTotal, exact.lossTotal) << w.edit << ", not the file's rounded value";
            EXPECT_EQ(row.lambda, exact.lambda) << w.edit;
            EXPECT_EQ(row.origin.notes, exact.origin.notes) << w.edit;
        }
    }
}

TEST(ReadWorkbook, TakesInlineStringsAndFindsTheConventionalSheetWithoutAWorkbookPart) {
    EXPECT_EQ(readResultsWorkbookBytes(withRows(numberRowXml(3, goodRow))).results.size(), 1u);

    const test_support::PartList bare = {
        {"xl/worksheets/sheet1.xml",
         worksheetXml(headerRowsXml() + numberRowXml(3, goodRow) + numberRowXml(4, goodRow))}};
    EXPECT_EQ(readResultsWorkbookBytes(zipBytes(bare)).results.size(), 2u);
}

TEST(ReadWorkbook, AnEmptyTableHasNoResults) {
    EXPECT_TRUE(readResultsWorkbookBytes(withRows({})).results.empty());
}

TEST(ReadWorkbook, RejectsWhatIsNoWorkbook) {
    const std::string good = withRows(numberRowXml(3, goodRow));
    std::mt19937 random(6);
    std::string noise(4096, '\0');
    for (char& c : noise) {
        c = static_cast<char>(random());
    }
    EXPECT_EQ(failureOf(""), Kind::Damaged);
    EXPECT_EQ(failureOf(noise), Kind::Damaged);
    EXPECT_EQ(failureOf("PK\x03\x04 almost a zip"), Kind::Damaged);
    for (std::size_t keep : {good.size() / 2, good.size() - 10, std::size_t{30}}) {
        EXPECT_EQ(failureOf(good.substr(0, keep)), Kind::Damaged) << keep;
    }
    // A flipped byte inside the compressed sheet: the inflater or the CRC must notice.
    std::string flipped = good;
    const auto at = flipped.find("sheet1.xml");
    flipped[at + 40] = static_cast<char>(flipped[at + 40] ^ 0x55);
    EXPECT_EQ(failureOf(flipped), Kind::Damaged);
}

TEST(ReadWorkbook, RejectsBrokenPackagesAndSheets) {
    auto without = [](const QString& name) {
        auto parts = minimalWorkbookWithRows(numberRowXml(3, goodRow));
        parts.erase(std::remove_if(parts.begin(), parts.end(),
                                   [&](const auto& p) { return p.first == name; }),
                    parts.end());
        return zipBytes(parts);
    };
    EXPECT_EQ(failureOf(without("xl/worksheets/sheet1.xml")), Kind::Damaged);
    EXPECT_EQ(failureOf(zipBytes({{"hello.txt", "hello"}})), Kind::Damaged);

    const QString rows = numberRowXml(3, goodRow);
    const std::vector<QByteArray> sheets = {
        worksheetXml(headerRowsXml() + rows).chopped(20),                    // cut off
        worksheetXml(headerRowsXml() + rows).replace("</row>", "</rwo>"),    // mismatched tag
        "<?xml version=\"1.0\"?><!DOCTYPE worksheet [<!ENTITY a \"aaaa\">]>" // entities
        "<worksheet><sheetData><row><c t=\"inlineStr\"><is><t>&a;</t></is></c></row>"
        "</sheetData></worksheet>",
        "<chartsheet/>",
        worksheetXml(headerRowsXml() + numberRowXml(3, goodRow).replace("15433", "inf")),
        worksheetXml(headerRowsXml() + numberRowXml(3, goodRow).replace("15433", "nan")),
        worksheetXml(headerRowsXml() + numberRowXml(3, goodRow).replace("15433", "1e999")),
        worksheetXml(headerRowsXml() + numberRowXml(3, goodRow).replace("15433", "1,5")),
    };
    for (const QByteArray& sheet : sheets) {
        EXPECT_EQ(failureOf(zipBytes(minimalWorkbook(sheet))), Kind::Damaged) << sheet.data();
    }
}

TEST(ReadWorkbook, NeverTrustsCellReferences) {
    const QString rows[] = {
        // the same cell twice
        "<row r=\"3\"><c r=\"B3\"><v>1</v></c><c r=\"B3\"><v>2</v></c></row>",
        // a cell claiming another row
        "<row r=\"3\"><c r=\"B4\"><v>1</v></c></row>",
        // rows going backwards, which would write row 3 twice
        "<row r=\"4\"><c r=\"B4\"><v>1</v></c></row><row r=\"3\"><c r=\"B3\"><v>1</v></c></row>",
        // past the format's last row and column, malformed, absolute
        "<row r=\"1048577\"><c r=\"B1048577\"><v>1</v></c></row>",
        "<row r=\"3\"><c r=\"XFE3\"><v>1</v></c></row>",
        "<row r=\"3\"><c r=\"3B\"><v>1</v></c></row>",
        "<row r=\"3\"><c r=\"$B$3\"><v>1</v></c></row>",
        "<row r=\"-3\"><c><v>1</v></c></row>",
        // a shared string that does not exist
        "<row r=\"3\"><c r=\"B3\" t=\"s\"><v>0</v></c></row>",
    };
    for (const QString& r : rows) {
        EXPECT_EQ(failureOf(withRows(r)), Kind::Damaged) << r.toStdString();
    }
    // The very last cell of a sheet is legal, and outside the table's columns it is the user's.
    EXPECT_TRUE(readResultsWorkbookBytes(
                    withRows("<row r=\"1048576\"><c r=\"XFD1048576\"><v>1</v></c></row>"))
                    .results.empty());
}

TEST(ReadWorkbook, RejectsOtherTables) {
    const std::string otherHeaders = zipBytes(minimalWorkbook(worksheetXml(
        QString(headerRowsXml()).replace("Lamda", "Lambda") + numberRowXml(3, goodRow))));
    EXPECT_EQ(failureOf(otherHeaders), Kind::ForeignLayout);
    const std::string noUnits = zipBytes(minimalWorkbook(worksheetXml(
        headerRowsXml().section("</row>", 0, 0) + "</row>" + numberRowXml(3, goodRow))));
    EXPECT_EQ(failureOf(noUnits), Kind::ForeignLayout);

    const QString textCell = "<row r=\"3\"><c r=\"A3\"><v>1</v></c><c r=\"B3\" "
                             "t=\"inlineStr\"><is><t>1,23</t></is></c></row>";
    EXPECT_EQ(failureOf(withRows(textCell)), Kind::ForeignLayout);
    EXPECT_EQ(failureOf(withRows(numberRowXml(3, {"1", "1", "1", "1", "1"}))),
              Kind::ForeignLayout); // lambda missing
    EXPECT_EQ(failureOf(withRows("<row r=\"3\"><c r=\"B3\" t=\"b\"><v>1</v></c></row>")),
              Kind::ForeignLayout);
    // Data below the table that no text in A marks as a sum or remark.
    EXPECT_EQ(failureOf(withRows("<row r=\"40\"><c r=\"B40\" t=\"inlineStr\"><is><t>Summe</t>"
                                 "</is></c></row>")),
              Kind::ForeignLayout);
}

TEST(ReadWorkbook, RejectsMoreResultsThanTheTableHolds) {
    QString rows;
    for (int r = 3; r < 3 + maxResults; ++r) {
        rows += numberRowXml(r, goodRow);
    }
    EXPECT_EQ(readResultsWorkbookBytes(withRows(rows)).results.size(), std::size_t(maxResults));
    EXPECT_EQ(failureOf(withRows(rows + numberRowXml(3 + maxResults, goodRow))),
              Kind::TooManyResults);
}

TEST(ReadWorkbook, RefusesOversizedInput) {
    // Eight megabytes of blanks inflate from a few kilobytes: the size in the zip is not the
    // limit, what comes out of the inflater is.
    const QByteArray bomb =
        worksheetXml(headerRowsXml() + QString(9 * 1024 * 1024, QLatin1Char(' ')));
    EXPECT_EQ(failureOf(zipBytes(minimalWorkbook(bomb))), Kind::Damaged);

    test_support::PartList many = minimalWorkbookWithRows({});
    for (int i = 0; i < 1001; ++i) {
        many.push_back({QStringLiteral("x/%1").arg(i), "x"});
    }
    EXPECT_EQ(failureOf(zipBytes(many)), Kind::Damaged);
}

TEST(ReadWorkbook, ReportsFilesThatCannotBeOpened) {
    QTemporaryDir dir;
    auto kindOf = [](const QString& path) {
        try {
            readResultsWorkbook(path.toStdString());
        } catch (const WorkbookError& e) {
            return e.kind();
        }
        return Kind::CannotWrite;
    };
    EXPECT_EQ(kindOf(dir.filePath("fehlt.xlsx")), Kind::CannotOpen);
    EXPECT_EQ(kindOf(dir.path()), Kind::CannotOpen);

    QFile file(dir.filePath("gut.xlsx"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray::fromStdString(withRows(numberRowXml(3, goodRow))));
    file.close();
    EXPECT_EQ(readResultsWorkbook(file.fileName().toStdString()).results.size(), 1u);
}

} // namespace
} // namespace kolmaris
