#include "exchange/workbook.h"
#include "exchange/workbook_support.h"

#include "calc/message_sink.h"
#include "results/results_table.h"

#include <algorithm>
#include <cmath>

namespace kolmaris {

namespace {

using namespace exchange_detail;

const char* const headline = "Die Ergebnisse können nicht übernommen werden.";

// The full-table message belongs to the start of a calculation: after an import the user has
// just seen how many results stand, and the next "Berechnen" shows it anyway.
class SilentSink : public MessageSink {
public:
    void showMessage(const std::string&, MessageStyle, const std::string&) override {}
};

// Returns the numbers the results were written under, in their order.
std::vector<int> append(GridModel& table, const std::vector<ResultValues>& results,
                        const NumberFormat& format) {
    const int standing = standingResults(table);
    const int room = std::max(0, maxResults - standing);
    if (results.size() > static_cast<std::size_t>(room)) {
        fail(WorkbookError::Kind::TooManyResults,
             "Die Ergebnisse passen nicht mehr in die Tabelle.",
             "Die Datei enthält " + resultCount(static_cast<int>(results.size())) +
                 ", in der Tabelle ist nur noch Platz für " + std::to_string(room) + " von " +
                 std::to_string(maxResults) + ".");
    }
    // Room for the new rows plus the free row below them that prepareResultsTable's scan looks
    // for; it then cuts the grid to its usual size.
    const int needed = headerRows + standing + static_cast<int>(results.size()) + 1;
    if (table.rows() < needed) {
        table.setRows(needed);
    }
    std::vector<int> numbers;
    for (const ResultValues& values : results) {
        // The table's own row writer numbers and formats exactly as a calculation would.
        numbers.push_back(writeResultRow(table, values, format));
    }
    SilentSink silent;
    prepareResultsTable(table, silent);
    return numbers;
}

} // namespace

void appendResults(GridModel& table, ResultOrigins& origins,
                   const std::vector<ResultValues>& results, const NumberFormat& format) {
    if (!isSetUp(table)) {
        fail(WorkbookError::Kind::TableUnusable, headline, "Die Tabelle ist nicht eingerichtet.");
    }
    for (const ResultValues& v : results) {
        for (const double x : {v.velocity, v.lossPerMetre, v.lossTotal, v.reynolds, v.lambda}) {
            if (!std::isfinite(x)) {
                fail(WorkbookError::Kind::Damaged, headline,
                     "Die Datei enthält einen ungültigen Wert.");
            }
        }
    }
    // A rehearsal on a detached copy first: whatever the grid refuses, it refuses there, and
    // the real table (and the view watching it) only ever sees a complete append.
    GridModel rehearsal = table;
    rehearsal.setObserver(nullptr);
    append(rehearsal, results, format);
    const std::vector<int> numbers = append(table, results, format);
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        origins.keep(numbers[i], results[i].origin);
    }
}

} // namespace kolmaris
