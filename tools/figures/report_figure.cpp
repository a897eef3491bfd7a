// Writes the report of a heating strand of ten sections as a PDF, for the README's picture of
// its first page; with a second name, the same results as a workbook for `--report`.
// Usage: kolmaris_report_figure OUTPUT.pdf [RESULTS.xlsx] (run under QT_QPA_PLATFORM=offscreen)

#include "app/report/report.h"
#include "calc/calculation.h"
#include "exchange/workbook.h"
#include "figure_support.h"
#include "results/result_store.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char* argv[]) {
    using namespace kolmaris;
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: %s OUTPUT.pdf [RESULTS.xlsx]\n", argv[0]);
        return 2;
    }
    QApplication app(argc, argv);

    struct Section {
        double diameter, flow, length, temperature;
        Medium medium;
        Material material;
    };
    // Boiler to the last radiator, then a cold-water branch and a thin laminar one.
    const Section sections[] = {
        {80, 600, 12, 70, Medium::Water, Material::BlackIron},
        {65, 450, 18.5, 70, Medium::Water, Material::BlackIron},
        {50, 300, 9, 70, Medium::Water, Material::BlackIron},
        {40, 180, 14, 68, Medium::Water, Material::BlackIron},
        {28, 90, 22, 65, Medium::Water, Material::Copper},
        {22, 45, 16.5, 65, Medium::Water, Material::Copper},
        {18, 20, 8, 62, Medium::Water, Material::Copper},
        {16, 8, 6, 60, Medium::Water, Material::Plastic},
        {25.4, 40, 25, 12, Medium::Water, Material::GalvanisedIron},
        {10, 0.5, 3, 12, Medium::Water, Material::Plastic},
    };
    figures::EchoSink messages;
    std::vector<ResultValues> results;
    for (const Section& s : sections) {
        CalculationRecord record{};
        record.diameterInput = s.diameter;
        record.flowRateInput = s.flow;
        record.lengthInput = s.length;
        record.temperatureInput = s.temperature;
        calculate(record, s.medium, s.material, messages);
        results.push_back(resultOf(record, s.medium, s.material));
    }
    const QLocale german(QLocale::German, QLocale::Germany);
    const NumberSettings numbers = numberSettingsOf(german);
    const NumberFormat& format = numbers.format;
    ResultStore table;
    try {
        table.append(results, format);
        saveReportPdf(argv[1], table.values(),
                      {numbers, QDateTime(QDate(2026, 12, 8), QTime(14, 30))});
        if (argc == 3) {
            writeResultsWorkbook(results, format, argv[2]);
        }
    } catch (const KolmarisError& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
