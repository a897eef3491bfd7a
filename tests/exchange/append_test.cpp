#include "exchange/workbook.h"
#include "number_formats.h"
#include "table_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace kolmaris {
namespace {

using test_support::german;

using test_support::cellsOf;
using test_support::tableOf;
using Kind = WorkbookError::Kind;

std::vector<ResultValues> generated(int first, int count) {
    std::vector<ResultValues> out;
    for (int i = first; i < first + count; ++i) {
        out.push_back({0.5 + i * 0.137, 10.0 * i + 0.005, 1000.0 * i + 0.125, 2000.0 + 313.5 * i,
                       0.02 + i * 0.000013});
        out.back().origin.inputs =
            ResultInputs{10.0 + i, 5.0 * i, 100, 20, Medium::Water, Material::Copper};
    }
    return out;
}

class CountingObserver : public GridObserver {
public:
    void gridShapeAboutToChange(int, int) override { ++changes; }
    void gridShapeChanged() override { ++changes; }
    void gridCellChanged(int, int) override { ++changes; }
    int changes = 0;
};

TEST(AppendResults, LeavesTheTableAsCalculationsOfTheSameResultsWould) {
    const struct {
        int standing, added;
    } cases[] = {{0, 1}, {0, 3}, {3, 2}, {24, 1}, {24, 2}, {25, 3}, {0, maxResults}, {27, 1}};
    for (const auto& c : cases) {
        GridModel table = tableOf(generated(0, c.standing), german);
        CountingObserver view;
        table.setObserver(&view);
        ResultOrigins origins;
        const auto added = generated(c.standing, c.added);
        appendResults(table, origins, added, german);
        EXPECT_EQ(cellsOf(table), cellsOf(tableOf(generated(0, c.standing + c.added), german)))
            << c.standing << " + " << c.added;
        EXPECT_GT(view.changes, 0);         // the view hears of the real append
        for (int i = 0; i < c.added; ++i) { // kept under the numbers the rows got
            EXPECT_EQ(origins.of(c.standing + 1 + i), added[static_cast<std::size_t>(i)].origin);
        }
    }
}

TEST(AppendResults, NothingToAppendOnlySizesTheTable) {
    GridModel table = tableOf(generated(0, 4), german);
    const auto before = cellsOf(table);
    ResultOrigins origins;
    appendResults(table, origins, {}, german);
    EXPECT_EQ(cellsOf(table), before);
}

// The failure appending raises, after which the table must be exactly as before, unseen by
// its view.
Kind refusal(GridModel& table, const std::vector<ResultValues>& results, std::string* message) {
    const auto before = cellsOf(table);
    CountingObserver view;
    table.setObserver(&view);
    Kind kind = Kind::CannotWrite;
    ResultOrigins origins;
    try {
        appendResults(table, origins, results, german);
        ADD_FAILURE() << "appended";
    } catch (const WorkbookError& e) {
        kind = e.kind();
        if (message != nullptr) {
            *message = e.what();
        }
    }
    EXPECT_EQ(cellsOf(table), before);
    EXPECT_EQ(view.changes, 0);
    EXPECT_FALSE(origins.of(1).inputs);
    table.setObserver(nullptr);
    return kind;
}

TEST(AppendResults, RefusesWhatDoesNotFitAndChangesNothing) {
    GridModel nearlyFull = tableOf(generated(0, 25), german);
    std::string message;
    EXPECT_EQ(refusal(nearlyFull, generated(25, 4), &message), Kind::TooManyResults);
    EXPECT_EQ(message, "Die Ergebnisse passen nicht mehr in die Tabelle.\r\n"
                       "Die Datei enthält 4 Ergebnisse, in der Tabelle ist nur noch Platz für 3 "
                       "von 28.");

    GridModel full = tableOf(generated(0, maxResults), german);
    EXPECT_EQ(refusal(full, generated(0, 1), &message), Kind::TooManyResults);
    EXPECT_NE(message.find("1 Ergebnis,"), std::string::npos);
    EXPECT_NE(message.find("Platz für 0 von 28"), std::string::npos);
}

TEST(AppendResults, RefusesUnusableInput) {
    GridModel table = tableOf(generated(0, 2), german);
    for (const double bad : {std::numeric_limits<double>::infinity(),
                             -std::numeric_limits<double>::infinity(), std::nan("")}) {
        auto results = generated(2, 2);
        results[1].lambda = bad;
        EXPECT_EQ(refusal(table, results, nullptr), Kind::Damaged);
    }
    GridModel bare; // never set up
    EXPECT_EQ(refusal(bare, generated(0, 1), nullptr), Kind::TableUnusable);
}

} // namespace
} // namespace kolmaris
