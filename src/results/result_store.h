#pragma once

#include "calc/errors.h"
#include "calc/message_sink.h"
#include "results/grid_model.h"
#include "results/number_format.h"
#include "results/result_row.h"

#include <string>
#include <vector>

namespace kolmaris {

// Results could not be taken into the table, and it is as it was. what() is a German message
// for the user, its lines joined by CR LF.
class ResultsNotTaken : public KolmarisError {
public:
    enum class Kind {
        Damaged,        // a value is not a finite number
        TooManyResults, // more results than the table can still take
    };
    ResultsNotTaken(Kind kind, const std::string& message) : KolmarisError(message), kind_(kind) {}
    Kind kind() const { return kind_; }

private:
    Kind kind_;
};

// The standing results as numbers, with their origins, numbered like the table that shows them
// as texts. Every change of the results goes through here, so that the grid and the numbers
// never disagree: the grid shows count() results, values() holds them in the same order.
class ResultStore {
public:
    // Sets the table up as the window first shows it.
    ResultStore();

    // The table's texts, for reading: only the store writes them.
    const GridModel& grid() const { return grid_; }
    // The one view told of every change of the texts; nullptr to detach. The observer must be
    // detached before it dies.
    void setGridObserver(GridObserver* observer) { grid_.setObserver(observer); }
    // The results standing, as the table counts them.
    int count() const;
    // Result 1 first; exactly count() of them.
    const std::vector<ResultValues>& values() const { return values_; }
    // The result with this number, or nullptr outside 1 to count().
    const ResultValues* find(int resultNumber) const;

    // Before each calculation and after each reset of the inputs: prepareResultsTable.
    void prepare(MessageSink& messages);
    // Writes a calculated result into the next row and keeps its numbers under the result
    // number written, which it returns. The full table refuses (GridSelectionRefused) and
    // nothing changes.
    int write(const ResultValues& values, const NumberFormat& format);
    // Appends results below those standing, numbered on from them in the table's own number
    // texts, then sizes the grid and rewrites its header rows as prepare() does, without its
    // full-table message. Throws ResultsNotTaken when a value is not finite or they do not all
    // fit, and then the table is as it was, its view told of nothing.
    void append(const std::vector<ResultValues>& results, const NumberFormat& format);
    // Keeps `items` as the fittings of the result with this number, in place of those it had;
    // the grid's texts, the straight pipe's, stay. Throws FittingError for items
    // checkFittingItems refuses and GridSelectionRefused for a number outside 1 to count(), and
    // then nothing changes.
    void setFittings(int resultNumber, const std::vector<FittingItem>& items);

private:
    GridModel grid_;
    std::vector<ResultValues> values_; // [number - 1]
};

} // namespace kolmaris
