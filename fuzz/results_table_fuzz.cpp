// Random sequences of what the window does to the table: prepare it alone (a reset or a failed
// calculation), or prepare it and write a finished result, which the full table refuses.
// The table never holds more than 28 results, the header rows stay exact, and no standing
// result ever changes.

#include "fuzz_support.h"
#include "results/results_table.h"

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
    if (grid.cols() != 6 || grid.rows() > 30 || standing.size() > 28) {
        broken("the table outgrew its shape");
    }
    for (int r = 0; r < 2; ++r) {
        if (rowOf(grid, r) != header[static_cast<std::size_t>(r)]) {
            broken("a header row changed");
        }
    }
    for (std::size_t k = 0; k < standing.size(); ++k) {
        if (rowOf(grid, static_cast<int>(k) + 2) != standing[k]) {
            broken("a standing result changed");
        }
    }
    const int next = static_cast<int>(standing.size()) + 2;
    if (next < grid.rows() && !grid.cell(next, 1).empty()) {
        broken("a result appeared that nobody wrote");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ByteReader in(data, size);
    GridModel grid;
    CountingSink sink;
    initResultsTable(grid);
    const std::vector<Row> header = {rowOf(grid, 0), rowOf(grid, 1)};
    std::vector<Row> standing;
    const NumberFormat format{in.take<std::uint8_t>() % 2 ? ',' : '.'};

    for (int step = 0; step < 200 && !in.empty(); ++step) {
        const bool writes = in.take<std::uint8_t>() % 2;
        const int before = sink.count;
        prepareResultsTable(grid, sink);
        if ((sink.count != before) != (standing.size() == 25)) {
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
                writeResultRow(grid, r, format);
                standing.push_back(rowOf(grid, static_cast<int>(standing.size()) + 2));
                if (standing.back()[0] != std::to_string(standing.size())) {
                    broken("a result got the wrong number");
                }
            } catch (const GridSelectionRefused&) {
                if (standing.size() != 28) {
                    broken("a write was refused with room in the table");
                }
            }
        }
        checkTable(grid, standing, header);
    }
    return 0;
}
