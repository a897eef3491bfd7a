// Random sequences of what the window does to the table: prepare it alone (a reset or a failed
// calculation), or prepare it and write a finished result, which the full table refuses.
// The table never holds more than maxResults results, the header rows stay exact, no standing
// result ever changes, and the numbers kept beside the grid stay in step with it.

#include "fuzz_support.h"
#include "results/result_store.h"
#include "results/table_layout.h"

#include <string>
#include <vector>

using namespace kolmaris;
using namespace kolmaris::fuzzing;

namespace {

using Row = std::vector<std::string>;

Row rowOf(const GridModel& grid, int row) {
    Row cells;
    for (int c = 0; c < grid.cols(); ++c) {
        cells.push_back(grid.cell(row, c));
    }
    return cells;
}

void checkTable(const GridModel& grid, const std::vector<Row>& standing,
                const std::vector<Row>& header) {
    if (grid.cols() != tableCols || grid.rows() > headerRows + maxResults ||
        standing.size() > static_cast<std::size_t>(maxResults)) {
        broken("the table outgrew its shape");
    }
    for (int r = 0; r < headerRows; ++r) {
        if (rowOf(grid, r) != header[static_cast<std::size_t>(r)]) {
            broken("a header row changed");
        }
    }
    for (std::size_t k = 0; k < standing.size(); ++k) {
        if (rowOf(grid, static_cast<int>(k) + headerRows) != standing[k]) {
            broken("a standing result changed");
        }
    }
    const int next = static_cast<int>(standing.size()) + headerRows;
    if (next < grid.rows() && !grid.cell(next, 1).empty()) {
        broken("a result appeared that nobody wrote");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ByteReader in(data, size);
    ResultStore store;
    const GridModel& grid = store.grid();
    CountingSink sink;
    const std::vector<Row> header = {rowOf(grid, 0), rowOf(grid, 1)};
    std::vector<Row> standing;
    const NumberFormat format{in.take<std::uint8_t>() % 2 ? ',' : '.'};

    for (int step = 0; step < 200 && !in.empty(); ++step) {
        const bool writes = in.take<std::uint8_t>() % 2;
        const int before = sink.count;
        store.prepare(sink);
        if ((sink.count != before) !=
            (standing.size() == static_cast<std::size_t>(maxResults - 3))) {
            broken("the full-table message came at the wrong count");
        }
        if (writes) {
            ResultValues r;
            r.velocity = in.take<double>();
            r.lossPerMetre = in.take<double>();
            r.lossTotal = in.take<double>();
            r.reynolds = in.take<double>();
            r.lambda = in.take<double>();
            try {
                store.write(r, format);
                standing.push_back(rowOf(grid, static_cast<int>(standing.size()) + headerRows));
                if (standing.back()[0] != std::to_string(standing.size())) {
                    broken("a result got the wrong number");
                }
            } catch (const GridSelectionRefused&) {
                if (standing.size() != static_cast<std::size_t>(maxResults)) {
                    broken("a write was refused with room in the table");
                }
            }
        }
        checkTable(grid, standing, header);
        if (store.count() != static_cast<int>(standing.size()) ||
            store.values().size() != standing.size()) {
            broken("the numbers kept left the table's step");
        }
    }
    return 0;
}
