#include "edited_workbooks.h"
#include "exchange/workbook.h"
#include "number_formats.h"
#include "results/result_store.h"
#include "table_support.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <clocale>
#include <string>

namespace kolmaris {
namespace {

using test_support::english;
using test_support::german;

using test_support::cellsOf;
using test_support::sampleResults;
using test_support::tableOf;

// Writes `written` under `from`, reads it back and appends it to a fresh table under `to`.
GridModel throughWorkbook(const std::vector<ResultValues>& results, const NumberFormat& from,
                          const NumberFormat& to) {
    QTemporaryDir dir;
    const std::string path = dir.filePath("Kolmaris-Ergebnisse.xlsx").toStdString();
    writeResultsWorkbook(results, from, path);
    ResultStore store;
    test_support::RecordingSink sink;
    store.prepare(sink);
    store.append(readResultsWorkbook(path).results, to);
    return store.grid();
}

std::vector<ResultValues> fullTable() {
    std::vector<ResultValues> out = sampleResults;
    for (int i = static_cast<int>(out.size()); i < maxResults; ++i) {
        out.push_back({i * 1.005, i * 10.125, i * 12345.675, i * 1e5 + 0.5, 1.0 / (i + 7)});
    }
    return out;
}

TEST(RoundTrip, BringsBackTheSameTexts) {
    for (const NumberFormat& format : {german, english}) {
        for (const auto& results : {sampleResults, fullTable()}) {
            EXPECT_EQ(cellsOf(throughWorkbook(results, format, format)),
                      cellsOf(tableOf(results, format)))
                << format.decimalSeparator << " " << results.size();
        }
    }
}

TEST(RoundTrip, CarriesTheShownValuesAcrossSeparators) {
    // Written from a German table, read into an English one: the numbers, not the texts, travel.
    EXPECT_EQ(cellsOf(throughWorkbook(sampleResults, german, english)),
              cellsOf(tableOf(sampleResults, english)));
}

TEST(RoundTrip, WorksWhileTheProcessRunsUnderAGermanNumericLocale) {
    const std::string previous = std::setlocale(LC_NUMERIC, nullptr);
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr) {
        GTEST_SKIP() << "locale de_DE.UTF-8 missing (scripts/install-deps.sh generates it)";
    }
    const auto cells = cellsOf(throughWorkbook(fullTable(), german, german));
    const auto expected = cellsOf(tableOf(fullTable(), german));
    std::setlocale(LC_NUMERIC, previous.c_str());
    EXPECT_EQ(cells, expected);
}

// Results with every kind of origin: inputs whose shortest texts need all 17 digits, none at
// all (read from an older workbook), and every note.
std::vector<ResultValues> resultsWithOrigins() {
    using test_support::calculatedFrom;
    std::vector<ResultValues> results = sampleResults;
    results[0] = calculatedFrom(
        {0.1 + 0.2, 1.0 / 3, 1e-7, -273.15, Medium::CompressedAir, Material::Plastic});
    results[2] = calculatedFrom({1000, 1e6, 12.5, 20, Medium::Water, Material::StainlessSteel});
    results.push_back(calculatedFrom({32, 60, 25, 120, Medium::Water, Material::StainlessSteel}));
    return results;
}

// A row with its inputs comes back exactly as it was calculated, its values unrounded.
TEST(RoundTrip, KeepsEachResultsInputsAndNotesExactly) {
    const auto results = resultsWithOrigins();
    std::vector<ResultNote::Kind> kinds;
    for (const ResultValues& values : results) {
        for (const ResultNote& note : values.origin.notes) {
            kinds.push_back(note.kind);
        }
    }
    ASSERT_EQ(kinds.size(), 4u) << "every note once";
    for (const NumberFormat& format : {german, english}) {
        QTemporaryDir dir;
        const std::string path = dir.filePath("mit-eingaben.xlsx").toStdString();
        writeResultsWorkbook(results, format, path);
        const auto read = readResultsWorkbook(path);
        EXPECT_TRUE(read.leftOut.empty());
        ASSERT_EQ(read.results.size(), results.size());
        for (std::size_t i = 0; i < read.results.size(); ++i) {
            const ResultValues& back = read.results[i];
            EXPECT_EQ(back.origin, results[i].origin) << i << " " << format.decimalSeparator;
            if (back.origin.inputs) {
                EXPECT_EQ(back.velocity, results[i].velocity) << i;
                EXPECT_EQ(back.lossTotal, results[i].lossTotal) << i;
                EXPECT_EQ(back.lambda, results[i].lambda) << i;
            }
        }
    }
}

TEST(RoundTrip, AWorkbookOfTheVersionBeforeInputsStillReads) {
    const auto read = readResultsWorkbook(KOLMARIS_FIXTURES "/written-without-inputs.xlsx").results;
    ASSERT_EQ(read.size(), 3u);
    EXPECT_DOUBLE_EQ(read[2].lossTotal, -12345678.9);
    for (const ResultValues& values : read) {
        EXPECT_EQ(values.origin, ResultOrigin{});
    }
}

} // namespace
} // namespace kolmaris
