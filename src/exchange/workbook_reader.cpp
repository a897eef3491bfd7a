#include "exchange/package_parts.h"
#include "exchange/reader_common.h"
#include "exchange/sheet_results.h"
#include "exchange/workbook.h"
#include "exchange/zip_package.h"

#include "files/file_reading.h"

#include <QByteArray>

#include <optional>
#include <string>
#include <vector>

namespace kolmaris {

namespace {

using namespace exchange_detail;

WorkbookResults readWorkbook(const QByteArray& bytes) {
    if (bytes.size() > maxFileBytes) {
        tooLarge();
    }
    Package package(bytes);
    XmlBudget budget;
    const Parts parts = locateParts(package, budget);
    const auto sheetBytes = package.part(parts.sheet, maxPartBytes);
    if (!sheetBytes) {
        reject(Kind::Damaged, "Die Arbeitsmappe enthält kein Tabellenblatt.");
    }
    return resultsOfParts(*sheetBytes,
                          package.part(parts.sharedStrings, maxPartBytes).value_or(QByteArray()),
                          budget);
}

// "Zeile 9", "Zeilen 9, 12 und 31 bis 40": runs joined, and only the first few, since a sheet
// may hold a great many.
std::string rowList(const std::vector<int>& rows) {
    std::vector<std::string> runs;
    for (std::size_t i = 0; i < rows.size();) {
        std::size_t last = i;
        while (last + 1 < rows.size() && rows[last + 1] == rows[last] + 1) {
            ++last;
        }
        runs.push_back(std::to_string(rows[i]) +
                       (last > i ? " bis " + std::to_string(rows[last]) : std::string()));
        i = last + 1;
    }
    constexpr std::size_t named = 5;
    std::string text = rows.size() == 1 ? "Zeile " : "Zeilen ";
    for (std::size_t k = 0; k < runs.size() && k < named; ++k) {
        text += k == 0 ? "" : k + 1 == runs.size() ? " und " : ", ";
        text += runs[k];
    }
    return runs.size() > named ? text + " und weitere" : text;
}

} // namespace

std::string leftOutText(const std::vector<LeftOutRow>& leftOut) {
    std::vector<int> unnumbered;
    std::vector<int> mismatched;
    std::vector<std::string> withoutInputs;
    std::vector<int> unreadFittings;
    std::string firstFittingsReason;
    for (const LeftOutRow& left : leftOut) {
        switch (left.reason) {
        case LeftOutRow::Reason::NoResultNumber:
            unnumbered.push_back(left.row);
            break;
        case LeftOutRow::Reason::Mismatch:
            mismatched.push_back(left.row);
            break;
        case LeftOutRow::Reason::Inputs:
            withoutInputs.push_back("Zeile " + std::to_string(left.row) + ": " + left.detail);
            break;
        case LeftOutRow::Reason::Fittings:
            if (unreadFittings.empty()) {
                firstFittingsReason = left.detail;
            }
            unreadFittings.push_back(left.row);
            break;
        }
    }
    if (!mismatched.empty()) {
        withoutInputs.insert(withoutInputs.begin(),
                             rowList(mismatched) + ": Werte passen nicht zu den Eingaben");
    }
    std::vector<std::string> lines;
    if (!unnumbered.empty()) {
        lines.push_back("Nicht eingelesen: " + rowList(unnumbered) + " (keine Ergebnisnummer).");
    }
    if (!unreadFittings.empty()) {
        // The first reason only: the cells may hold many, each up to a long text.
        std::string reason = firstFittingsReason;
        if (!reason.empty() && reason.back() == '.') {
            reason.pop_back();
        }
        lines.push_back("Ohne ihre Einzelwiderstände eingelesen: " + rowList(unreadFittings) +
                        " (in " + rowList({unreadFittings.front()}) + ": " + reason + ").");
    }
    if (!withoutInputs.empty()) {
        lines.push_back("Ohne ihre Eingaben eingelesen:");
        constexpr std::size_t named = 3;
        for (std::size_t k = 0; k < withoutInputs.size() && k < named; ++k) {
            lines.push_back(withoutInputs[k]);
        }
        if (withoutInputs.size() > named) {
            lines.push_back("und weitere Zeilen");
        }
    }
    std::string text;
    for (const std::string& line : lines) {
        text += (text.empty() ? "" : crlf) + line;
    }
    return text;
}

WorkbookResults readResultsWorkbook(const std::string& path) {
    std::string bytes;
    try {
        bytes = readRegularFile(path, static_cast<std::size_t>(maxFileBytes));
    } catch (const FileError& error) {
        if (error.kind() == FileError::Kind::TooLarge) {
            tooLarge();
        }
        reject(Kind::CannotOpen, error.what());
    }
    return readResultsWorkbookBytes(bytes);
}

WorkbookResults readResultsWorkbookBytes(const std::string& bytes) {
    if (static_cast<qint64>(bytes.size()) > maxFileBytes) {
        tooLarge();
    }
    return readWorkbook(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

} // namespace kolmaris
