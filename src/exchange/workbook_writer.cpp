#include "exchange/workbook.h"
#include "exchange/workbook_support.h"

#include "calc/media.h"
#include "exchange/exact_numbers.h"
#include "exchange/file_replacement.h"

#include <xlsxwriter.h>

#include <array>
#include <cerrno>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <locale.h>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#ifdef _WIN32
#include <io.h>
#include <random>
#else
#include <unistd.h>
#endif

namespace kolmaris {

namespace {

using namespace exchange_detail;
namespace fs = std::filesystem;

// The number format of a table column: "0", "0.00" or "0.00000", as the table shows it.
std::string columnPattern(int col) {
    const int decimals = columnDecimals[col];
    return decimals > 0 ? "0." + std::string(static_cast<std::size_t>(decimals), '0') : "0";
}

// The result rows as numbers, checked before any file is touched.
std::vector<std::array<double, tableCols>> tableValues(const GridModel& table,
                                                       const NumberFormat& format) {
    if (!isSetUp(table)) {
        fail(WorkbookError::Kind::TableUnusable, saveHeadline,
             "Die Tabelle ist nicht eingerichtet.");
    }
    const int standing = standingResults(table);
    std::vector<std::array<double, tableCols>> rows(static_cast<std::size_t>(standing));
    for (int r = 0; r < standing; ++r) {
        for (int c = 0; c < tableCols; ++c) {
            const std::string& text = table.cell(headerRows + r, c);
            const auto value = parseFixed(text, format);
            if (!value) {
                fail(WorkbookError::Kind::TableUnusable, saveHeadline,
                     "In Zelle " + cellName(headerRows + r, c) + " der Tabelle steht keine Zahl.");
            }
            rows[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)] = *value;
        }
    }
    return rows;
}

// libxlsxwriter prints numbers with snprintf under the thread's LC_NUMERIC; a German one would
// put commas into the XML. This holds the thread's numeric category at "C" for its lifetime and
// leaves the process-wide locale alone, so other threads and later code see no change.
#ifdef _WIN32
class CNumericLocale {
public:
    CNumericLocale() : previousMode_(_configthreadlocale(_ENABLE_PER_THREAD_LOCALE)) {
        const char* current = std::setlocale(LC_NUMERIC, nullptr);
        previous_ = current != nullptr ? current : "C";
        if (previousMode_ == -1 || std::setlocale(LC_NUMERIC, "C") == nullptr) {
            cannotWrite("Die Zahlendarstellung konnte nicht eingestellt werden.");
        }
    }
    ~CNumericLocale() {
        std::setlocale(LC_NUMERIC, previous_.c_str());
        _configthreadlocale(previousMode_);
    }
    CNumericLocale(const CNumericLocale&) = delete;
    CNumericLocale& operator=(const CNumericLocale&) = delete;

private:
    int previousMode_;
    std::string previous_;
};
#else
class CNumericLocale {
public:
    CNumericLocale() {
        locale_t base = duplocale(uselocale(static_cast<locale_t>(0)));
        if (base != static_cast<locale_t>(0)) {
            numeric_ = newlocale(LC_NUMERIC_MASK, "C", base);
            if (numeric_ == static_cast<locale_t>(0)) {
                freelocale(base);
            }
        }
        if (numeric_ == static_cast<locale_t>(0)) {
            cannotWrite("Die Zahlendarstellung konnte nicht eingestellt werden.");
        }
        previous_ = uselocale(numeric_);
    }
    ~CNumericLocale() {
        uselocale(previous_);
        freelocale(numeric_);
    }
    CNumericLocale(const CNumericLocale&) = delete;
    CNumericLocale& operator=(const CNumericLocale&) = delete;

private:
    locale_t numeric_ = static_cast<locale_t>(0);
    locale_t previous_ = static_cast<locale_t>(0);
};
#endif

// Columns H onward of one result row: its inputs and notes, or nothing when they were not kept.
bool writeOrigin(lxw_worksheet* sheet, lxw_row_t row, const ResultOrigin& origin,
                 const NumberFormat& format) {
    const auto col = [](int inputCol) { return static_cast<lxw_col_t>(firstInputCol + inputCol); };
    bool ok = true;
    if (const auto& in = origin.inputs) {
        const double numbers[numericInputs] = {in->diameter, in->flowRate, in->length,
                                               in->temperature};
        for (int i = 0; ok && i < numericInputs; ++i) {
            ok = worksheet_write_number(sheet, row, col(i), numbers[i], nullptr) == LXW_NO_ERROR;
        }
        ok = ok && worksheet_write_string(sheet, row, col(MediumName), nameOf(in->medium),
                                          nullptr) == LXW_NO_ERROR;
        ok = ok && worksheet_write_string(sheet, row, col(MaterialName), nameOf(in->material),
                                          nullptr) == LXW_NO_ERROR;
    }
    const std::string notes = notesText(origin, format);
    if (ok && !notes.empty()) {
        ok = worksheet_write_string(sheet, row, col(Notes), notes.c_str(), nullptr) == LXW_NO_ERROR;
    }
    return ok;
}

// The input cells whose values the workbook must hold to the last bit.
std::vector<ExactValue> exactInputs(const ResultOrigins& origins, int results) {
    std::vector<ExactValue> values;
    for (int r = 0; r < results; ++r) {
        if (const auto& in = origins.of(r + 1).inputs) {
            const double numbers[numericInputs] = {in->diameter, in->flowRate, in->length,
                                                   in->temperature};
            for (int i = 0; i < numericInputs; ++i) {
                values.push_back(
                    {cellName(headerRows + r, firstInputCol + i), exactXmlNumber(numbers[i])});
            }
        }
    }
    return values;
}

void writeWorkbook(const GridModel& table, const std::vector<std::array<double, tableCols>>& rows,
                   const ResultOrigins& origins, const NumberFormat& format,
                   const std::string& file, const std::string& folder) {
    CNumericLocale numeric;

    // Its own scratch files go to the target's folder too, so a full disk shows up there.
    lxw_workbook_options options{};
    options.tmpdir = const_cast<char*>(folder.c_str());
    lxw_workbook* workbook = workbook_new_opt(file.c_str(), &options);
    if (workbook == nullptr) {
        cannotWrite("Die Arbeitsmappe konnte nicht angelegt werden.");
    }
    lxw_worksheet* sheet = workbook_add_worksheet(workbook, "Ergebnisse");
    std::array<lxw_format*, tableCols> formats{};
    for (int c = 0; c < tableCols; ++c) {
        formats[static_cast<std::size_t>(c)] = workbook_add_format(workbook);
        format_set_num_format(formats[static_cast<std::size_t>(c)], columnPattern(c).c_str());
    }

    bool cellsOk =
        sheet != nullptr &&
        worksheet_set_column(sheet, 0, tableCols - 1, 12, nullptr) == LXW_NO_ERROR &&
        worksheet_set_column(sheet, firstInputCol, sheetCols - 2, 13, nullptr) == LXW_NO_ERROR &&
        worksheet_set_column(sheet, sheetCols - 1, sheetCols - 1, 60, nullptr) == LXW_NO_ERROR;
    for (int r = 0; cellsOk && r < headerRows; ++r) {
        for (int c = 0; cellsOk && c < sheetCols; ++c) {
            const std::string text = c < tableCols       ? table.cell(r, c)
                                     : c < firstInputCol ? std::string()
                                                         : inputHeaderText(r, c - firstInputCol);
            if (!text.empty()) {
                cellsOk = worksheet_write_string(sheet, static_cast<lxw_row_t>(r),
                                                 static_cast<lxw_col_t>(c), text.c_str(),
                                                 nullptr) == LXW_NO_ERROR;
            }
        }
    }
    for (std::size_t r = 0; cellsOk && r < rows.size(); ++r) {
        for (int c = 0; cellsOk && c < tableCols; ++c) {
            cellsOk = worksheet_write_number(sheet, static_cast<lxw_row_t>(headerRows + r),
                                             static_cast<lxw_col_t>(c),
                                             rows[r][static_cast<std::size_t>(c)],
                                             formats[static_cast<std::size_t>(c)]) == LXW_NO_ERROR;
        }
        cellsOk = cellsOk && writeOrigin(sheet, static_cast<lxw_row_t>(headerRows + r),
                                         origins.of(static_cast<int>(r) + 1), format);
    }

    errno = 0;
    const lxw_error closed = workbook_close(workbook); // frees the workbook in every case
    const int closeErrno = errno;
    if (!cellsOk) {
        cannotWrite("Die Arbeitsmappe konnte nicht angelegt werden.");
    }
    if (closed != LXW_NO_ERROR) {
        cannotWriteErrno(closeErrno);
    }
}

} // namespace

void writeResultsWorkbook(const GridModel& table, const ResultOrigins& origins,
                          const NumberFormat& format, const std::string& path) {
    const auto rows = tableValues(table, format);

    const fs::path target = resolveLinks(fs::path(path));
    std::error_code ec;
    if (target.filename().empty()) {
        cannotWrite("Es wurde kein Dateiname angegeben.");
    }
    if (fs::is_directory(target, ec)) {
        cannotWriteErrno(EISDIR);
    }
    fs::path folder = target.parent_path();
    if (folder.empty()) {
        folder = ".";
    }
#ifndef _WIN32
    checkReplaceable(target);
#endif

    TemporaryFile written(folder);
    writeWorkbook(table, rows, origins, format, written.path(), folder.string());
    TemporaryFile temporary(folder);
    if (!copyWithExactValues(written.path(), temporary.path(), "xl/worksheets/sheet1.xml",
                             exactInputs(origins, static_cast<int>(rows.size())))) {
        cannotWrite("Die Arbeitsmappe konnte nicht angelegt werden.");
    }
    syncToDisk(temporary.path());
#ifndef _WIN32
    setFinalMode(temporary.path(), target);
#endif
    // Replaces an existing target in one step on every platform.
    fs::rename(temporary.path(), target, ec);
    if (ec) {
        cannotWriteErrno(ec.default_error_condition().category() == std::generic_category()
                             ? ec.default_error_condition().value()
                             : 0);
    }
    temporary.release();
#ifndef _WIN32
    syncFolder(folder);
#endif
}

} // namespace kolmaris
