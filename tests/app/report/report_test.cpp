#include "report_support.h"

#include "calc/media.h"
#include "locales.h"
#include "results/check_text.h"
#include "results/recalculation.h"
#include "results/section_loss.h"
#include "results/table_layout.h"

#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <map>

namespace kolmaris {
namespace {

using namespace test_support;

const QDateTime aMoment(QDate(2026, 12, 8), QTime(9, 5));

QString exactText(double value, const NumberFormat& format) {
    return QString::fromStdString(formatExact(value, format));
}

class ReportPdf : public ::testing::TestWithParam<QLocale> {
protected:
    ReportContext context() const { return {numberSettingsOf(GetParam()), aMoment}; }
    QTemporaryDir dir_;
};

INSTANTIATE_TEST_SUITE_P(Settings, ReportPdf, ::testing::Values(german, english),
                         [](const auto& info) { return info.param.name().toStdString(); });

TEST_P(ReportPdf, SaysEveryTextOfTheGridAndEveryInputInRealText) {
    const NumberFormat format = context().numbers.format;
    std::vector<ResultValues> results = calculatedResults(10);
    results[2].origin = {}; // read from a workbook that kept no inputs
    const GridModel table = tableOf(results, format);
    const QString path = dir_.filePath(QStringLiteral("bericht.pdf"));
    saveReportPdf(path.toStdString(), results, context());
    const QString text = pdfText(path);

    for (int row = 0; row < headerRows + 10; ++row) {
        for (int col = 0; col < tableCols; ++col) {
            const QString cell = QString::fromStdString(table.cell(row, col)).trimmed();
            EXPECT_TRUE(text.contains(cell))
                << "cell " << row << ", " << col << ": " << cell.toStdString();
        }
    }
    int notes = 0;
    for (const ResultValues& result : results) {
        const auto& in = result.origin.inputs;
        if (!in) {
            continue;
        }
        for (double value : {in->diameter, in->flowRate, in->length, in->temperature}) {
            EXPECT_TRUE(text.contains(exactText(value, format))) << value;
        }
        EXPECT_TRUE(text.contains(QString::fromUtf8(nameOf(in->medium))));
        EXPECT_TRUE(text.contains(QString::fromUtf8(nameOf(in->material))));
        for (const ResultNote& note : result.origin.notes) {
            ++notes;
            EXPECT_TRUE(text.contains(
                QString::fromStdString(noteText(note, in->medium, format)).simplified()));
        }
    }
    EXPECT_GE(notes, 3); // laminar, colder and hotter than the table
    EXPECT_TRUE(text.contains(QStringLiteral("Eingaben nicht gespeichert")));
    // Four media and a result without inputs: a sum for each, none over all of them.
    std::map<QString, std::pair<double, QStringList>> sums;
    for (std::size_t i = 0; i < results.size(); ++i) {
        const auto& in = results[i].origin.inputs;
        auto& group = sums[in ? QString::fromUtf8(nameOf(in->medium))
                              : QStringLiteral("Medium nicht gespeichert")];
        group.first += results[i].lossTotal;
        group.second << QString::number(i + 1);
    }
    ASSERT_EQ(sums.size(), 5u);
    EXPECT_TRUE(text.contains(QStringLiteral("die Summe der Druckverluste (DV Total) steht daher "
                                             "je Medium: ")));
    for (const auto& [medium, group] : sums) {
        const QString expected = medium + QStringLiteral(", Nr. ") +
                                 group.second.join(QStringLiteral(", ")) + QStringLiteral(": ") +
                                 QString::fromStdString(formatFixed(group.first, 2, format));
        EXPECT_TRUE(text.contains(expected)) << expected.toStdString();
    }
    EXPECT_FALSE(text.contains(QStringLiteral("Teilstrecken in Reihe, Nr. 1 bis 10")));
    // Results of one medium are the sections of one line.
    const std::vector<ResultValues> water = {results[0], results[4], results[8]};
    const QString oneMedium = dir_.filePath(QStringLiteral("wasser.pdf"));
    saveReportPdf(oneMedium.toStdString(), water, context());
    EXPECT_TRUE(pdfText(oneMedium).contains(
        QStringLiteral("Teilstrecken in Reihe, Nr. 1 bis 3: ") +
        QString::fromStdString(
            formatFixed(water[0].lossTotal + water[1].lossTotal + water[2].lossTotal, 2, format))));
    EXPECT_TRUE(text.contains(QStringLiteral("Erstellt am 08.12.2026 um 09:05 Uhr mit "
                                             "Davudeviredidara 1.00")));
    // The check beside every result with inputs, never in its place.
    EXPECT_TRUE(text.contains(QStringLiteral("Prüfrechnung Jedes Ergebnis mit gespeicherten")));
    for (const ResultValues& result : results) {
        if (const auto check = checkOf(result)) {
            const PropertyCheck& shown = check->iapws ? *check->iapws : *check->programProperties;
            EXPECT_TRUE(text.contains(
                QString::fromStdString(formatFixed(shown.lossPerMetre.value, 2, format) + " " +
                                       deviationText(shown.lossPerMetre.deviation, format))))
                << shown.lossPerMetre.value;
        }
    }
    EXPECT_TRUE(text.contains(QStringLiteral("Aufgestellt:")));
    // Words are found by a search: no ligature glyph stands for "ff" or "fi", not even in the
    // chart's legend.
    EXPECT_FALSE(text.contains(QRegularExpression(QStringLiteral("[\\x{FB00}-\\x{FB06}]"))));
    EXPECT_GE(text.count(QStringLiteral("Kunststoffrohr")), 2);
    EXPECT_TRUE(text.contains(QStringLiteral("Seite 1 von ")));
    // The constants of the method, with the user's separator.
    EXPECT_TRUE(
        text.contains(QStringLiteral("d · 3") + GetParam().decimalPoint() + QStringLiteral("72")));

    const QString info = popplerOutput(QStringLiteral("pdfinfo"), {path});
    EXPECT_TRUE(
        info.contains(QRegularExpression(QStringLiteral("Title: +Druckverlustberechnung"))));
    EXPECT_TRUE(
        info.contains(QRegularExpression(QStringLiteral("Creator: +Davudeviredidara 1.00"))));
    EXPECT_TRUE(info.contains(QStringLiteral("(A4)")));
    // name, type, encoding, then "emb sub uni" and the object: every font embedded.
    const QRegularExpression fontLine(QStringLiteral("(yes|no) +(yes|no) +(yes|no) +\\d+ +\\d+$"));
    int fonts = 0;
    for (const QString& line : popplerOutput(QStringLiteral("pdffonts"), {path}).split('\n')) {
        const auto match = fontLine.match(line);
        if (match.hasMatch()) {
            ++fonts;
            EXPECT_EQ(match.captured(1), QStringLiteral("yes")) << line.toStdString();
        }
    }
    EXPECT_GE(fonts, 2);
}

// Each row's fittings with ζ and source, its Z and R·l + Z, the sum with Z and the method.
TEST_P(ReportPdf, SaysEachSectionsFittingsTheirSumAndHowZIsFound) {
    const NumberFormat& format = context().numbers.format;
    std::vector<ResultValues> results = calculatedResults(4);
    using K = FittingKind;
    FittingItem bends = defaultFittingItem(K::Bend90);
    bends.count = 2;
    FittingItem valve = defaultFittingItem(K::UserKv);
    valve.values[0] = 2.5;
    results[0].origin.fittings = {bends, defaultFittingItem(K::BallValve), valve};
    results[2].origin.fittings = {defaultFittingItem(K::TeeRunMerge)};
    results[3].origin.inputs.reset(); // kept without inputs: no density, no Z
    results[3].origin.fittings = {defaultFittingItem(K::ExitToVessel)};
    const QString path = dir_.filePath(QStringLiteral("einzelwiderstaende.pdf"));
    saveReportPdf(path.toStdString(), results, context());
    const QString text = pdfText(path);
    const auto has = [&text](const QString& part) {
        EXPECT_TRUE(text.contains(part)) << part.toStdString();
    };
    const auto q = [](const std::string& s) { return QString::fromStdString(s); };
    const QString comma = QString(QChar::fromLatin1(format.decimalSeparator));

    double z = 0;
    for (std::size_t i = 0; i < results.size(); ++i) {
        const SectionLoss section = sectionLossOf(results[i]);
        if (!section.fittings) {
            continue;
        }
        z += section.fittings->loss;
        // Nr., R·l, Σζ, Z, R·l + Z in Pa and mbar.
        has(QStringLiteral("%1 %2 %3 %4 %5 %6")
                .arg(i + 1)
                .arg(q(pascalText(section.pipeLoss, format)),
                     q(zetaText(section.fittings->zetaSum, format)),
                     q(pascalText(section.fittings->loss, format)),
                     q(pascalText(*section.total(), format)),
                     q(formatFixed(*section.total() / 100, 2, format))));
        for (const FittingItemLoss& item : section.fittings->items) {
            has(q(zetaText(item.zeta, format)) + " " + q(zetaText(item.zetaTotal, format)));
        }
    }
    EXPECT_GT(z, 0);
    has(QStringLiteral("Bogen 90° (r/d = 1") + comma + "5) 2");
    has(QStringLiteral("Kv-Wert (eigene Angabe) (Kv = 2") + comma + "5 m³/h) 1");
    has(QStringLiteral("T-Stück Durchgang, Vereinigung (VA/V = 0") + comma + "5; dA/d = 1) 1");
    has(QStringLiteral("Rennels & Hudson, Pipe Flow (Wiley 2012)"));
    has(QStringLiteral("Crane TP-410M, Flow of Fluids (2009, mit Errata)"));
    has(QStringLiteral("Nr. 4: Z nicht bestimmbar, Die Eingaben der Zeile sind nicht gespeichert"));
    // The four sections carry four media (the last one unknown): one sum for each.
    QStringList sums;
    for (const ResultValues& result : results) {
        const SectionLoss section = sectionLossOf(result);
        const double sum = section.fittings ? *section.total() : section.pipeLoss;
        sums << (result.origin.inputs ? QString::fromUtf8(nameOf(result.origin.inputs->medium))
                                      : QStringLiteral("Medium nicht gespeichert")) +
                    ": " + q(pressureText(sum, format)) +
                    ", darin Z = " + q(pressureText(sum - section.pipeLoss, format));
    }
    has(QStringLiteral("Summe R·l + Z der Teilstrecken in Reihe je Medium, ") + sums.join("; ") +
        QStringLiteral("; ohne das Z von Nr. 4, das sich nicht bestimmen lässt."));
    // The method: Z, fT and every kind used with its way to ζ and its source.
    has(QStringLiteral("Z = Σ Anzahl · ζ · ρ · v² / 2 + Σ Anzahl · Δp(Kv)"));
    has(QStringLiteral(
        "Kugelhahn ζ = 3·fT (voller Durchgang) Crane TP-410M, Flow of Fluids (2009)"));
    has(QStringLiteral("Auslauf in einen Behälter ζ = 1: die ganze Geschwindigkeitshöhe geht "
                       "verloren Rennels & Hudson"));
}

// A full table runs onto a second page, and there its header rows come first again.
TEST_P(ReportPdf, ATableCutByAPageStartsTheNextWithItsHeaderRows) {
    const std::vector<ResultValues> results = calculatedResults(maxResults);
    const QString path = dir_.filePath(QStringLiteral("lang.pdf"));
    saveReportPdf(path.toStdString(), results, context());

    const QStringList page1 = pdfPageLines(path, 1);
    const QStringList page2 = pdfPageLines(path, 2);
    ASSERT_GE(page2.size(), 3);
    // The last row that starts on page 1, above the footer (a note may wrap below its row).
    int cut = 0;
    for (qsizetype line = page1.size() - 2; line >= 0 && cut == 0; --line) {
        const auto row = QRegularExpression(QStringLiteral("^(\\d+) ")).match(page1[line]);
        cut = row.hasMatch() ? row.captured(1).toInt() : 0;
    }
    ASSERT_GT(cut, 0) << "page 1 ends inside a table: " << page1.join('\n').toStdString();
    // Which table was cut: its header rows, as on page 1, then the next row.
    const int header = page1.indexOf(QRegularExpression(QStringLiteral("^Nr\\. Durchmesser.*")));
    ASSERT_GE(header, 0);
    EXPECT_EQ(page2[0], page1[header]);
    EXPECT_EQ(page2[1], page1[header + 1]);
    EXPECT_TRUE(page2[2].startsWith(QString::number(cut + 1) + QLatin1Char(' ')))
        << page2[2].toStdString();
    EXPECT_TRUE(page2.last().endsWith(QStringLiteral("Seite 2 von 3")) ||
                page2.last().endsWith(QStringLiteral("Seite 2 von 4")))
        << page2.last().toStdString();
}

// The printer gets the same pages, or those of the range the dialog chose.
TEST_P(ReportPdf, PrintsTheSamePagesInTheChosenRange) {
    const std::vector<ResultValues> results = calculatedResults(maxResults);
    const QString saved = dir_.filePath(QStringLiteral("gespeichert.pdf"));
    saveReportPdf(saved.toStdString(), results, context());
    const QRegularExpression pageNumber(QStringLiteral("Seite \\d+ von \\d+"));
    const int pages = pdfText(saved).count(pageNumber);

    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QString printed = dir_.filePath(QStringLiteral("gedruckt.pdf"));
    printer.setOutputFileName(printed);
    printReport(printer, results, context());
    EXPECT_EQ(pdfText(printed), pdfText(saved));

    printer.setPrintRange(QPrinter::PageRange);
    printer.setFromTo(2, 2);
    printReport(printer, results, context());
    const QString second = pdfText(printed);
    EXPECT_EQ(second.count(pageNumber), 1);
    EXPECT_TRUE(second.contains(QStringLiteral("Seite 2 von %1").arg(pages)));
}

} // namespace
} // namespace kolmaris
