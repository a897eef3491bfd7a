#include "results/result_store.h"

#include "results/results_table.h"
#include "results/table_layout.h"

#include <algorithm>
#include <cmath>

namespace kolmaris {

namespace {

const char* const notTaken = "Die Ergebnisse können nicht übernommen werden.";

[[noreturn]] void refuse(ResultsNotTaken::Kind kind, const std::string& headline,
                         const std::string& reason) {
    throw ResultsNotTaken(kind, headline + crlf + reason);
}

void checkAppendable(const GridModel& table, const std::vector<ResultValues>& results) {
    for (const ResultValues& v : results) {
        for (const double x : {v.velocity, v.lossPerMetre, v.lossTotal, v.reynolds, v.lambda}) {
            if (!std::isfinite(x)) {
                refuse(ResultsNotTaken::Kind::Damaged, notTaken,
                       "Die Datei enthält einen ungültigen Wert.");
            }
        }
        try {
            checkFittingItems(v.origin.fittings);
        } catch (const FittingError& error) {
            refuse(ResultsNotTaken::Kind::Damaged, notTaken, error.what());
        }
    }
    const int room = std::max(0, maxResults - standingResults(table));
    if (results.size() > static_cast<std::size_t>(room)) {
        refuse(ResultsNotTaken::Kind::TooManyResults,
               "Die Ergebnisse passen nicht mehr in die Tabelle.",
               "Die Datei enthält " + resultCount(static_cast<int>(results.size())) +
                   ", in der Tabelle ist nur noch Platz für " + std::to_string(room) + " von " +
                   std::to_string(maxResults) + ".");
    }
}

// The rows of an append, written as calculations would write them.
void appendRows(GridModel& table, const std::vector<ResultValues>& results,
                const NumberFormat& format) {
    // Room for the new rows plus the free row below them that prepareResultsTable's scan looks
    // for; it then cuts the grid to its usual size.
    const int needed = headerRows + standingResults(table) + static_cast<int>(results.size()) + 1;
    if (table.rows() < needed) {
        table.setRows(needed);
    }
    for (const ResultValues& values : results) {
        writeResultRow(table, values, format);
    }
    // The full-table message belongs to the start of a calculation: after an import the user
    // has just seen how many results stand, and the next "Berechnen" shows it anyway.
    SilentSink silent;
    prepareResultsTable(table, silent);
}

} // namespace

ResultStore::ResultStore() {
    initResultsTable(grid_);
    values_.reserve(maxResults);
}

int ResultStore::count() const {
    return standingResults(grid_);
}

const ResultValues* ResultStore::find(int resultNumber) const {
    if (resultNumber < 1 || resultNumber > static_cast<int>(values_.size())) {
        return nullptr;
    }
    return &values_[static_cast<std::size_t>(resultNumber - 1)];
}

void ResultStore::prepare(MessageSink& messages) {
    prepareResultsTable(grid_, messages);
}

int ResultStore::write(const ResultValues& values, const NumberFormat& format) {
    // Room first, so that keeping the numbers cannot fail once the row stands.
    values_.reserve(values_.size() + 1);
    const int number = writeResultRow(grid_, values, format);
    values_.push_back(values);
    return number;
}

void ResultStore::append(const std::vector<ResultValues>& results, const NumberFormat& format) {
    checkAppendable(grid_, results);
    // A rehearsal on a detached copy first: whatever the grid refuses, it refuses there, and
    // the real table (and the view watching it) only ever sees a complete append.
    GridModel rehearsal = grid_;
    rehearsal.setObserver(nullptr);
    appendRows(rehearsal, results, format);
    values_.reserve(values_.size() + results.size());
    appendRows(grid_, results, format);
    values_.insert(values_.end(), results.begin(), results.end());
}

void ResultStore::setFittings(int resultNumber, const std::vector<FittingItem>& items) {
    checkFittingItems(items);
    if (find(resultNumber) == nullptr) {
        throw GridSelectionRefused("no result " + std::to_string(resultNumber));
    }
    values_[static_cast<std::size_t>(resultNumber - 1)].origin.fittings = items;
}

} // namespace kolmaris
