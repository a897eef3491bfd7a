// Reads arbitrary bytes as a results workbook. The first byte picks the layer: a whole zip
// package, or a sheet part and its shared strings given directly (so the fuzzer can work on the
// XML without having to keep deflate streams and checksums intact). Whatever the reader
// accepts must append to a fresh table.
#include "exchange/sheet_results.h"
#include "exchange/workbook.h"
#include "exchange/workbook_support.h"
#include "fuzz_support.h"
#include "results/result_store.h"

#include <cmath>
#include <string>

using namespace kolmaris;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const bool wholePackage = (data[0] & 1) == 0;
    const std::string rest(reinterpret_cast<const char*>(data + 1), size - 1);

    WorkbookResults read;
    try {
        if (wholePackage) {
            read = readResultsWorkbookBytes(rest);
        } else {
            // The sheet, then a NUL, then the shared strings.
            const auto split = rest.find('\0');
            read = split == std::string::npos ? exchange_detail::readResultsSheet(rest, {})
                                              : exchange_detail::readResultsSheet(
                                                    rest.substr(0, split), rest.substr(split + 1));
        }
    } catch (const WorkbookError& e) {
        if (std::string(e.what()).rfind("Die Datei kann nicht eingelesen werden.\r\n", 0) != 0) {
            fuzzing::broken("a rejection without its German headline");
        }
        return 0;
    }
    const std::vector<ResultValues>& results = read.results;
    if (!read.leftOut.empty() && leftOutText(read.leftOut).size() > 400) {
        fuzzing::broken("a list of left-out rows too long to show");
    }

    if (results.size() > static_cast<std::size_t>(maxResults)) {
        fuzzing::broken("more results than the table holds");
    }
    for (const ResultValues& v : results) {
        for (const double x : {v.velocity, v.lossPerMetre, v.lossTotal, v.reynolds, v.lambda}) {
            if (!std::isfinite(x)) {
                fuzzing::broken("a non-finite value accepted");
            }
        }
        if (const auto& in = v.origin.inputs) {
            for (const double x : {in->diameter, in->flowRate, in->length, in->temperature}) {
                if (!std::isfinite(x)) {
                    fuzzing::broken("a non-finite input accepted");
                }
            }
        }
    }

    ResultStore store;
    const GridModel& table = store.grid();
    store.append(results, NumberFormat{','}); // must not throw: the table is empty
    if (store.values().size() != results.size()) {
        fuzzing::broken("appended results not kept");
    }
    for (std::size_t i = 0; i < results.size(); ++i) {
        if (table.cell(static_cast<int>(i) + headerRows, 0) != std::to_string(i + 1)) {
            fuzzing::broken("appended results not numbered in order");
        }
    }
    if (table.rows() < static_cast<int>(results.size()) + headerRows ||
        table.rows() > headerRows + maxResults) {
        fuzzing::broken("table sized outside its range");
    }
    return 0;
}
