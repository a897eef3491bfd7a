#include "exchange/workbook.h"
#include "exchange/workbook_support.h"

#include "calc/media.h"
#include "exchange/exact_numbers.h"

#include <xlsxwriter.h>

#include <array>
#include <cerrno>
#include <charconv>
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

const char* const headline = "Die Tabelle kann nicht gespeichert werden.";

// The number format of a table column: "0", "0.00" or "0.00000", as the table shows it.
std::string columnPattern(int col) {
    const int decimals = columnDecimals[col];
    return decimals > 0 ? "0." + std::string(static_cast<std::size_t>(decimals), '0') : "0";
}

[[noreturn]] void cannotWrite(const std::string& reason) {
    fail(WorkbookError::Kind::CannotWrite, headline, reason);
}

// The German reason for a failed file operation, from its errno.
[[noreturn]] void cannotWriteErrno(int error) {
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        cannotWrite("Den Ordner gibt es nicht.");
    case EACCES:
    case EPERM:
        cannotWrite("Für diesen Ordner oder diese Datei fehlt die Schreibberechtigung.");
    case EROFS:
        cannotWrite("Der Datenträger ist schreibgeschützt.");
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
        cannotWrite("Auf dem Datenträger ist nicht genug Platz.");
    case EISDIR:
        cannotWrite("Unter diesem Namen gibt es schon einen Ordner.");
    case ENAMETOOLONG:
        cannotWrite("Der Dateiname ist zu lang.");
    case ELOOP:
        cannotWrite("Der Dateiname führt über zu viele Verknüpfungen.");
    default:
        cannotWrite("Die Datei konnte nicht geschrieben werden.");
    }
}

// A failure to create a file in `folder`. "No such file" there can also come from a folder that
// exists but takes no files of this kind (a virtual file system); only a missing folder may be
// called missing.
[[noreturn]] void cannotCreateIn(const fs::path& folder, int error) {
    std::error_code ec;
    if ((error == ENOENT || error == ENOTDIR) && fs::is_directory(folder, ec)) {
        cannotWrite("In diesem Ordner lassen sich keine Dateien anlegen.");
    }
    cannotWriteErrno(error);
}

// A result text of the table back to the number it shows: digits, an optional leading minus
// and at most one decimal separator - the separator the table was formatted with.
bool parseTableNumber(const std::string& text, char separator, double& value) {
    std::string plain = text;
    for (char& c : plain) {
        if (c == separator) {
            c = '.';
        } else if (c == '.' || c == 'e' || c == 'E' || c == 'x' || c == 'X') {
            return false; // only the table's own plain digits, never another notation
        }
    }
    if (plain.empty() || plain.front() == '+') {
        return false;
    }
    const char* end = plain.data() + plain.size();
    const auto [ptr, ec] = std::from_chars(plain.data(), end, value, std::chars_format::fixed);
    return ec == std::errc() && ptr == end && std::isfinite(value);
}

// The result rows as numbers, checked before any file is touched.
std::vector<std::array<double, tableCols>> tableValues(const GridModel& table,
                                                       const NumberFormat& format) {
    if (!isSetUp(table)) {
        fail(WorkbookError::Kind::TableUnusable, headline, "Die Tabelle ist nicht eingerichtet.");
    }
    const int standing = standingResults(table);
    std::vector<std::array<double, tableCols>> rows(static_cast<std::size_t>(standing));
    for (int r = 0; r < standing; ++r) {
        for (int c = 0; c < tableCols; ++c) {
            const std::string& text = table.cell(headerRows + r, c);
            if (!parseTableNumber(text, format.decimalSeparator,
                                  rows[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)])) {
                fail(WorkbookError::Kind::TableUnusable, headline,
                     "In Zelle " + cellName(headerRows + r, c) + " der Tabelle steht keine Zahl.");
            }
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

// Removes the temporary file unless it was renamed into place.
class TemporaryFile {
public:
    explicit TemporaryFile(const fs::path& folder) {
#ifdef _WIN32
        // A fresh name, created exclusively so that no other file is ever overwritten.
        std::random_device random;
        for (int attempt = 0; attempt < 100; ++attempt) {
            const std::string name = ".kolmaris-" + std::to_string(random()) + ".part";
            const fs::path candidate = folder / name;
            const int fd = _wopen(candidate.c_str(), _O_CREAT | _O_EXCL | _O_WRONLY | _O_BINARY,
                                  _S_IREAD | _S_IWRITE);
            if (fd >= 0) {
                _close(fd);
                path_ = candidate.string();
                return;
            }
            if (errno != EEXIST) {
                cannotCreateIn(folder, errno);
            }
        }
        cannotWriteErrno(EEXIST);
#else
        std::string pattern = (folder / ".kolmaris-XXXXXX.part").string();
        const int fd = mkstemps(pattern.data(), 5);
        if (fd < 0) {
            cannotCreateIn(folder, errno);
        }
        ::close(fd);
        path_ = pattern;
#endif
    }
    ~TemporaryFile() {
        if (!path_.empty()) {
            std::error_code ignored;
            fs::remove(path_, ignored);
        }
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    const std::string& path() const {
        return path_;
    }
    void release() {
        path_.clear();
    }

private:
    std::string path_;
};

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

// The bytes must be on the disk before the rename makes them the file's content.
void syncToDisk(const std::string& file) {
#ifdef _WIN32
    const int fd = _open(file.c_str(), _O_RDWR | _O_BINARY);
    if (fd < 0) {
        cannotWriteErrno(errno);
    }
    const int synced = _commit(fd);
    const int syncErrno = errno;
    _close(fd);
#else
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        cannotWriteErrno(errno);
    }
    const int synced = ::fsync(fd);
    const int syncErrno = errno;
    ::close(fd);
#endif
    if (synced != 0) {
        cannotWriteErrno(syncErrno);
    }
}

// The file a chain of links ends at, whether it exists or not: the workbook replaces that file
// in its own folder and leaves the links as they are.
fs::path resolveLinks(fs::path target) {
    for (int hops = 0;; ++hops) {
        std::error_code ec;
        if (!fs::is_symlink(fs::symlink_status(target, ec))) {
            return target;
        }
        if (hops == 40) {
            cannotWriteErrno(ELOOP);
        }
        const fs::path next = fs::read_symlink(target, ec);
        if (ec) {
            cannotWriteErrno(ec.value());
        }
        target = next.is_absolute() ? next : target.parent_path() / next;
    }
}

#ifndef _WIN32
// The rename needs only the folder's permission, so without this check a write-protected file,
// or one the user may not write at all, would be replaced.
void checkReplaceable(const fs::path& target) {
    struct stat existing {};
    if (::stat(target.c_str(), &existing) != 0) {
        return; // a new file
    }
    if (!S_ISREG(existing.st_mode)) {
        cannotWrite("Unter diesem Namen gibt es schon etwas, das keine Datei ist.");
    }
    if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) {
        cannotWriteErrno(errno);
    }
}

// mkstemps creates the file for its creator only; give the workbook the mode an ordinary new
// file would get, or the owner, group and mode of the file it replaces. Where the owner or
// group cannot be kept, the older file stays.
void setFinalMode(const std::string& temporary, const fs::path& target) {
    struct stat existing {};
    struct stat created {};
    mode_t mode;
    if (::stat(target.c_str(), &existing) == 0) {
        mode = existing.st_mode & 07777;
        if (::stat(temporary.c_str(), &created) != 0) {
            cannotWriteErrno(errno);
        }
        if ((created.st_uid != existing.st_uid || created.st_gid != existing.st_gid) &&
            ::chown(temporary.c_str(), existing.st_uid, existing.st_gid) != 0) {
            cannotWrite("Die vorhandene Datei gehört einem anderen Benutzer oder einer anderen "
                        "Gruppe; sie wird nicht ersetzt.");
        }
    } else {
        // Reading the mask means setting it; the program has one thread, so nothing races.
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    ::chmod(temporary.c_str(), mode);
}

void syncFolder(const fs::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd); // best effort: the rename itself already happened
        ::close(fd);
    }
}
#endif

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
