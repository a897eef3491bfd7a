// The fittings of each result through a workbook and back, a workbook from before they were
// kept, and items' cells that do not read.
#include "calc/calculation.h"
#include "calculated.h"
#include "exchange/workbook.h"
#include "number_formats.h"
#include "results/section_loss.h"
#include "workbook_fixtures.h"

#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace kolmaris {
namespace {

using namespace test_support;

FittingItem item(FittingKind kind, int count, double a = 0, double b = 0) {
    FittingItem made{kind, {a, b}, count};
    return made;
}

ResultValues calculated(double diameter, double flowRate, Medium medium,
                        std::vector<FittingItem> fittings) {
    ResultValues values = calculatedFrom({diameter, flowRate, 12.5, 60, medium, Material::Copper});
    values.origin.fittings = std::move(fittings);
    return values;
}

// Every way to a ζ, numbers that need all 17 digits, a row whose Z cannot be had (no inputs
// kept) and one without fittings.
std::vector<ResultValues> resultsWithFittings() {
    using K = FittingKind;
    std::vector<ResultValues> results = {
        calculated(16, 7.5, Medium::Water,
                   {item(K::Bend90, 4, 1.5), item(K::TeeBranchSplit, 1, 0.1 + 0.2, 2.0 / 3),
                    item(K::BallValve, 2), item(K::UserKv, 1, 1.0 / 3), item(K::UserZeta, 0, 0)}),
        calculated(54, 300, Medium::CompressedAir,
                   {item(K::SuddenExpansion, 1, 0.5), item(K::ExitToVessel, 1),
                    item(K::MitreBend, 999, 149.99999999999997)}),
        calculated(20, 15, Medium::FuelOil, {}),
        {0.85, 60.25, 753.125, 15433, 0.02346, {}},
    };
    results[3].origin.fittings = {item(K::Bend45, 2, 1)};
    return results;
}

TEST(FittingsWorkbook, CarryEachResultsItemsAndGiveTheSameZBack) {
    const auto written = resultsWithFittings();
    for (const NumberFormat& format : {german, english}) {
        QTemporaryDir dir;
        const QString path = dir.filePath("mit-einzelwiderstaenden.xlsx");
        writeResultsWorkbook(written, format, path.toStdString());
        const WorkbookResults read = readResultsWorkbook(path.toStdString());
        EXPECT_TRUE(read.leftOut.empty());
        ASSERT_EQ(read.results.size(), written.size());

        const QByteArray sheet = unzipFile(path).at("xl/worksheets/sheet1.xml");
        const auto number = [&sheet](const QString& ref) {
            const QRegularExpression cell("<c r=\"" + ref + "\"[^>]*><v>([^<]*)</v>");
            const auto match = cell.match(QString::fromUtf8(sheet));
            return match.hasMatch() ? match.captured(1).toDouble() : -1.0;
        };
        for (std::size_t i = 0; i < written.size(); ++i) {
            SCOPED_TRACE(std::to_string(i) + " " + format.decimalSeparator);
            EXPECT_EQ(read.results[i].origin, written[i].origin);
            // The table keeps two decimals of v; the inputs give the exact v back.
            const SectionLoss before = sectionLossOf(written[i]);
            const SectionLoss after = sectionLossOf(read.results[i]);
            ASSERT_EQ(after.fittings.has_value(), before.fittings.has_value());
            const QString row = QString::number(i + 3);
            if (!before.fittings) {
                EXPECT_EQ(number("Q" + row), -1.0); // no Z written where there is none
                continue;
            }
            EXPECT_EQ(after.fittings->loss, before.fittings->loss);
            EXPECT_EQ(after.fittings->zetaSum, before.fittings->zetaSum);
            EXPECT_EQ(number("P" + row), before.fittings->zetaSum);
            EXPECT_EQ(number("Q" + row), before.fittings->loss);
            EXPECT_EQ(number("R" + row), *before.total());
        }
        EXPECT_GT(sectionLossOf(written[0]).fittings->loss, 0);
    }
}

QString inlineText(const QString& ref, const QString& text) {
    return QStringLiteral("<c r=\"%1\" t=\"inlineStr\"><is><t>%2</t></is></c>").arg(ref, text);
}

// The values the inputs of sheetWithInputs give, as a workbook keeps them: the reader takes
// inputs only with the values they give.
QStringList valuesOfTheInputs() {
    const ResultValues v = calculated(16, 7.5, Medium::Water, {});
    const double cells[tableCols] = {1,           v.velocity, v.lossPerMetre,
                                     v.lossTotal, v.reynolds, v.lambda};
    QStringList out;
    for (int c = 0; c < tableCols; ++c) {
        out << QString::fromStdString(xmlNumber(shownValue(cells[c], columnDecimals[c])));
    }
    return out;
}

// A sheet as the version before the fittings wrote it, or with an items column `fittings`.
std::string sheetWithInputs(const QStringList& fittings) {
    QString headers = headerRowsXml();
    QString titles;
    const char* names[] = {"Durchmesser", "Volumenstrom", "Länge",  "Temperatur",
                           "Medium",      "Rohrmaterial", "Hinweis"};
    for (int i = 0; i < 7; ++i) {
        titles += inlineText(QChar('H' + i) + QStringLiteral("1"), names[i]);
    }
    if (!fittings.isEmpty()) {
        titles += inlineText("O1", "Einzelwiderstände");
    }
    headers.insert(headers.indexOf("</row>"), titles);
    QString rows;
    const QStringList values = valuesOfTheInputs();
    for (int r = 0; r < std::max<int>(2, fittings.size()); ++r) {
        const QString n = QString::number(r + 3);
        QString inputs = "<c r=\"H" + n + "\"><v>16</v></c><c r=\"I" + n +
                         "\"><v>7.5</v></c><c r=\"J" + n + "\"><v>12.5</v></c><c r=\"K" + n +
                         "\"><v>60</v></c>" + inlineText("L" + n, "Wasser") +
                         inlineText("M" + n, "Kupferrohr");
        if (r < fittings.size()) {
            inputs += fittings[r];
        }
        rows += numberRowXml(r + 3, values).replace("</row>", inputs + "</row>");
    }
    return zipBytes(minimalWorkbook(worksheetXml(headers + rows)));
}

TEST(FittingsWorkbook, AnOlderWorkbookReadsWithoutItemsAndABadCellLeavesOnlyItsItemsOut) {
    using Reason = LeftOutRow::Reason;
    const WorkbookResults older = readResultsWorkbookBytes(sheetWithInputs({}));
    ASSERT_EQ(older.results.size(), 2u);
    EXPECT_TRUE(older.leftOut.empty());
    for (const ResultValues& values : older.results) {
        EXPECT_TRUE(values.origin.inputs.has_value());
        EXPECT_TRUE(values.origin.fittings.empty());
    }

    const WorkbookResults read = readResultsWorkbookBytes(
        sheetWithInputs({inlineText("O3", "2 × foo (r/d=1,5)"), "<c r=\"O4\"><v>3</v></c>",
                         inlineText("O5", "2 × bogen90 (r/d=1,5); 1 × auslauf"),
                         inlineText("O6", "1 × kv (Kv=0)")}));
    ASSERT_EQ(read.results.size(), 4u);
    const std::vector<LeftOutRow> expected = {
        {3, Reason::Fittings, "Einzelwiderstand 1: Zeichen 5: unbekannte Art „foo“."},
        {4, Reason::Fittings, "In Zelle O4 steht kein Text."},
        {6, Reason::Fittings,
         "Einzelwiderstand 1 (Kv-Wert (eigene Angabe)): Kv-Wert = 0 m³/h liegt nicht im "
         "erlaubten Bereich über 0."},
    };
    EXPECT_EQ(read.leftOut, expected);
    for (const ResultValues& values : read.results) {
        EXPECT_TRUE(values.origin.inputs.has_value()); // the rest of each row stays
    }
    EXPECT_EQ(read.results[2].origin.fittings,
              (std::vector<FittingItem>{item(FittingKind::Bend90, 2, 1.5),
                                        item(FittingKind::ExitToVessel, 1)}));
    EXPECT_EQ(leftOutText(read.leftOut),
              "Ohne ihre Einzelwiderstände eingelesen: Zeilen 3 bis 4 und 6 (in Zeile 3: "
              "Einzelwiderstand 1: Zeichen 5: unbekannte Art „foo“).");
}

} // namespace
} // namespace kolmaris
