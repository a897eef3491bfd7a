#include "grid_cells.h"
#include "number_formats.h"
#include "recording_sink.h"
#include "results/result_store.h"
#include "results/table_layout.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

namespace kolmaris {
namespace {

using test_support::german;

using test_support::cellsOf;
using test_support::RecordingSink;
using Kind = ResultsNotTaken::Kind;

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

// A grid with its store, the results written the way the calculate command writes them.
struct Table {
    explicit Table(const std::vector<ResultValues>& results) {
        for (const ResultValues& v : results) {
            store.prepare(sink);
            store.write(v, german);
        }
        store.prepare(sink);
    }
    ResultStore store;
    RecordingSink sink;
};

// The store holds exactly the results the grid shows, in their order.
void expectInStep(const ResultStore& store, const std::vector<ResultValues>& results) {
    ASSERT_EQ(store.count(), static_cast<int>(results.size()));
    ASSERT_EQ(store.values().size(), results.size());
    for (int n = 1; n <= store.count(); ++n) {
        const ResultValues& want = results[static_cast<std::size_t>(n - 1)];
        ASSERT_NE(store.find(n), nullptr);
        EXPECT_EQ(store.find(n)->reynolds, want.reynolds) << n;
        EXPECT_EQ(store.find(n)->origin, want.origin) << n;
    }
    EXPECT_EQ(store.find(0), nullptr);
    EXPECT_EQ(store.find(store.count() + 1), nullptr);
}

class CountingObserver : public GridObserver {
public:
    void gridShapeAboutToChange(int, int) override { ++changes; }
    void gridShapeChanged() override { ++changes; }
    void gridCellChanged(int, int) override { ++changes; }
    int changes = 0;
};

TEST(ResultStore, KeepsEveryWrittenResultAndRefusesTheOneTooMany) {
    const auto all = generated(0, maxResults + 1);
    Table table({});
    for (int n = 1; n <= maxResults; ++n) {
        table.store.prepare(table.sink);
        EXPECT_EQ(table.store.write(all[static_cast<std::size_t>(n - 1)], german), n);
    }
    const auto full = std::vector<ResultValues>(all.begin(), all.end() - 1);
    expectInStep(table.store, full);
    const auto before = cellsOf(table.store.grid());
    table.store.prepare(table.sink);
    EXPECT_THROW(table.store.write(all.back(), german), GridSelectionRefused);
    EXPECT_EQ(cellsOf(table.store.grid()), before);
    expectInStep(table.store, full);
}

TEST(AppendResults, LeavesTheTableAsCalculationsOfTheSameResultsWould) {
    const struct {
        int standing, added;
    } cases[] = {{0, 1}, {0, 3}, {3, 2}, {24, 1}, {24, 2}, {25, 3}, {0, maxResults}, {27, 1}};
    for (const auto& c : cases) {
        auto table = std::make_unique<Table>(generated(0, c.standing));
        CountingObserver view;
        table->store.setGridObserver(&view);
        const auto added = generated(c.standing, c.added);
        table->store.append(added, german);
        const Table calculated(generated(0, c.standing + c.added));
        EXPECT_EQ(cellsOf(table->store.grid()), cellsOf(calculated.store.grid()))
            << c.standing << " + " << c.added;
        EXPECT_GT(view.changes, 0); // the view hears of the real append
        expectInStep(table->store, generated(0, c.standing + c.added));
        table->store.setGridObserver(nullptr);
    }
}

TEST(AppendResults, NothingToAppendOnlySizesTheTable) {
    Table table(generated(0, 4));
    const auto before = cellsOf(table.store.grid());
    table.store.append({}, german);
    EXPECT_EQ(cellsOf(table.store.grid()), before);
}

// The failure appending raises, after which the table must be exactly as before, unseen by
// its view.
Kind refusal(Table& table, const std::vector<ResultValues>& results, std::string* message) {
    const auto before = cellsOf(table.store.grid());
    const auto kept = table.store.values();
    CountingObserver view;
    table.store.setGridObserver(&view);
    Kind kind = Kind::Damaged;
    try {
        table.store.append(results, german);
        ADD_FAILURE() << "appended";
    } catch (const ResultsNotTaken& e) {
        kind = e.kind();
        if (message != nullptr) {
            *message = e.what();
        }
    }
    EXPECT_EQ(cellsOf(table.store.grid()), before);
    EXPECT_EQ(view.changes, 0);
    expectInStep(table.store, kept);
    table.store.setGridObserver(nullptr);
    return kind;
}

TEST(AppendResults, RefusesWhatDoesNotFitAndChangesNothing) {
    Table nearlyFull(generated(0, 25));
    std::string message;
    EXPECT_EQ(refusal(nearlyFull, generated(25, 4), &message), Kind::TooManyResults);
    EXPECT_EQ(message, "Die Ergebnisse passen nicht mehr in die Tabelle.\r\n"
                       "Die Datei enthält 4 Ergebnisse, in der Tabelle ist nur noch Platz für 3 "
                       "von 28.");

    Table full(generated(0, maxResults));
    EXPECT_EQ(refusal(full, generated(0, 1), &message), Kind::TooManyResults);
    EXPECT_NE(message.find("1 Ergebnis,"), std::string::npos);
    EXPECT_NE(message.find("Platz für 0 von 28"), std::string::npos);
}

TEST(AppendResults, RefusesUnusableInput) {
    Table table(generated(0, 2));
    for (const double bad : {std::numeric_limits<double>::infinity(),
                             -std::numeric_limits<double>::infinity(), std::nan("")}) {
        auto results = generated(2, 2);
        results[1].lambda = bad;
        EXPECT_EQ(refusal(table, results, nullptr), Kind::Damaged);
    }
}

} // namespace
} // namespace kolmaris
