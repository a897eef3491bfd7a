#pragma once

#include "calc/calculation.h"
#include "exchange/workbook.h"
#include "grid_cells.h"
#include "recording_sink.h"
#include "results/results_table.h"

#include <vector>

namespace kolmaris::test_support {

// A table filled the way the calculate command fills it, one result at a time.
inline GridModel tableOf(const std::vector<ResultValues>& results, const NumberFormat& format) {
    GridModel table;
    RecordingSink sink;
    initResultsTable(table);
    for (const ResultValues& v : results) {
        prepareResultsTable(table, sink);
        writeResultRow(table, v, format);
    }
    prepareResultsTable(table, sink);
    return table;
}

// Values that probe the formatting: halfway cases, grouping-sized numbers, tiny friction
// factors, a negative velocity.
inline const std::vector<ResultValues> sampleResults = {
    {1.2345, 45.675, 1234.5678, 15432.7, 0.0234567},
    {0.125, 3.005, 1234567.891, 2.5, 0.000005},
    {-2.1, 0.0, 99999.995, 1e7, 0.1},
};

} // namespace kolmaris::test_support
