#pragma once

#include "exchange/workbook_support.h"

#include <QtGlobal>

#include <string>

// What every stage of reading a workbook shares: its limits and its ways of refusing a file.
namespace kolmaris::exchange_detail {

using Kind = WorkbookError::Kind;

// A results workbook is a few kilobytes. These bounds are far above anything a spreadsheet
// writes for 28 rows and far below what would hurt, whatever the file claims about itself.
inline constexpr qint64 maxFileBytes = 16 * 1024 * 1024;
// Parsing costs time by the byte even where no bound on markup applies, about 12 ms per MiB of
// plain text; these limits keep a whole file to about 100 ms.
inline constexpr qint64 maxPartBytes = 4 * 1024 * 1024; // the sheet or its strings, inflated
// The relationships and the workbook part list a few parts and sheets.
inline constexpr qint64 maxSmallPartBytes = 256 * 1024;
inline constexpr int maxEntries = 1000;
inline constexpr int maxSharedStrings = 200000;
inline constexpr int maxSheetRow = 1048576; // the spreadsheet format's own limits
inline constexpr int maxSheetCol = 16384;

// Sheet rows kept, 0-based: the two header rows and room for every result the table holds.
inline constexpr int keptRows = headerRows + maxResults;

inline const char* const headline = "Die Datei kann nicht eingelesen werden.";
inline const char* const notAWorkbook =
    "Sie ist keine Excel-Arbeitsmappe (.xlsx) oder ist beschädigt.";

[[noreturn]] inline void reject(Kind kind, const std::string& reason) {
    fail(kind, headline, reason);
}
[[noreturn]] inline void damaged() {
    reject(Kind::Damaged, notAWorkbook);
}
[[noreturn]] inline void tooLarge() {
    reject(Kind::Damaged, "Sie ist zu groß für eine Ergebnistabelle.");
}

} // namespace kolmaris::exchange_detail
