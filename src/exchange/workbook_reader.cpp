#include "exchange/package_parts.h"
#include "exchange/reader_common.h"
#include "exchange/sheet_results.h"
#include "exchange/workbook.h"
#include "exchange/zip_package.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QString>

#include <optional>
#include <string>
#include <vector>

#ifndef _WIN32
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

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
    std::vector<int> rows[2]; // by reason
    for (const LeftOutRow& left : leftOut) {
        rows[left.reason == LeftOutRow::Reason::Inputs].push_back(left.row);
    }
    std::vector<std::string> parts;
    if (!rows[0].empty()) {
        parts.push_back(rowList(rows[0]) + " (keine Ergebnisnummer)");
    }
    if (!rows[1].empty()) {
        parts.push_back("Eingaben aus " + rowList(rows[1]) + " (unvollständig oder unbekannt)");
    }
    if (parts.empty()) {
        return {};
    }
    return "Nicht eingelesen: " + parts[0] + (parts.size() > 1 ? "; " + parts[1] : "") + ".";
}

WorkbookResults readResultsWorkbook(const std::string& path) {
#ifdef _WIN32
    const QString name = QString::fromStdString(path);
    if (!QFileInfo::exists(name)) {
        reject(Kind::CannotOpen, "Die Datei gibt es nicht.");
    }
    QFile file(name);
    if (!QFileInfo(name).isFile() || !file.open(QIODevice::ReadOnly)) {
        reject(Kind::CannotOpen, "Die Datei lässt sich nicht öffnen.");
    }
    // Read one byte past the limit rather than trusting size().
    const QByteArray bytes = file.read(maxFileBytes + 1);
    if (bytes.size() > maxFileBytes) {
        tooLarge();
    }
    if (file.error() != QFileDevice::NoError) {
        reject(Kind::CannotOpen, "Die Datei lässt sich nicht lesen.");
    }
    return readWorkbook(bytes);
#else
    // A pipe blocks the first read until a writer comes, a device may never end: only a regular
    // file is read. The check before opening keeps devices closed; the one after it catches a
    // file swapped in between, and O_NONBLOCK keeps even that open from waiting.
    auto refuseUnlessRegular = [](const struct stat& info) {
        if (S_ISDIR(info.st_mode)) {
            reject(Kind::CannotOpen, "Das ist ein Ordner, keine Datei.");
        }
        if (!S_ISREG(info.st_mode)) {
            reject(Kind::CannotOpen, "Das ist keine gewöhnliche Datei, sondern etwa eine Pipe "
                                     "oder ein Gerät.");
        }
    };
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        reject(Kind::CannotOpen, errno == ENOENT || errno == ENOTDIR
                                     ? "Die Datei gibt es nicht."
                                     : "Die Datei lässt sich nicht öffnen.");
    }
    refuseUnlessRegular(info);
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        reject(Kind::CannotOpen, "Die Datei lässt sich nicht öffnen.");
    }
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    if (::fstat(fd, &info) != 0) {
        reject(Kind::CannotOpen, "Die Datei lässt sich nicht öffnen.");
    }
    refuseUnlessRegular(info);
    // Read one byte past the limit rather than trusting the size the file system reports.
    QByteArray bytes;
    char chunk[65536];
    for (;;) {
        const ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            reject(Kind::CannotOpen, "Die Datei lässt sich nicht lesen.");
        }
        if (n == 0) {
            break;
        }
        bytes.append(chunk, static_cast<qsizetype>(n));
        if (bytes.size() > maxFileBytes) {
            tooLarge();
        }
    }
    return readWorkbook(bytes);
#endif
}

WorkbookResults readResultsWorkbookBytes(const std::string& bytes) {
    if (static_cast<qint64>(bytes.size()) > maxFileBytes) {
        tooLarge();
    }
    return readWorkbook(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

} // namespace kolmaris
