#pragma once

#include "app/report/report.h"
#include "calc/calculation.h"
#include "calculated.h"
#include "exchange/workbook.h"
#include "results/result_store.h"

#include <QProcess>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include <vector>

namespace kolmaris::test_support {

// What a poppler tool prints for `args`; the tools come with the project's set-up.
inline QString popplerOutput(const QString& tool, const QStringList& args) {
    QProcess process;
    process.start(tool, args);
    if (!process.waitForFinished(30000) || process.exitCode() != 0) {
        ADD_FAILURE() << tool.toStdString()
                      << " failed: " << process.readAllStandardError().toStdString();
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The text of the pages in reading order, every run of blanks and line breaks one blank: a
// text wrapped in its cell reads as one.
inline QString pdfText(const QString& path) {
    const QString text = popplerOutput(QStringLiteral("pdftotext"),
                                       {QStringLiteral("-raw"), path, QStringLiteral("-")});
    return text.simplified();
}

// The lines of page `page` as laid out, blanks between words collapsed.
inline QStringList pdfPageLines(const QString& path, int page) {
    const QString number = QString::number(page);
    const QString text = popplerOutput(QStringLiteral("pdftotext"),
                                       {QStringLiteral("-layout"), QStringLiteral("-f"), number,
                                        QStringLiteral("-l"), number, path, QStringLiteral("-")});
    QStringList lines;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        if (!line.trimmed().isEmpty()) {
            lines << line.simplified();
        }
    }
    return lines;
}

// `count` results of calculations over a spread of inputs and media, every fifth laminar.
inline std::vector<ResultValues> calculatedResults(int count) {
    std::vector<ResultValues> results;
    for (int i = 0; i < count; ++i) {
        const bool laminar = i % 5 == 4;
        results.push_back(
            calculatedFrom({15 + 7.5 * i, laminar ? 0.5 : 20 + 33.25 * i, 3.0 + i, -5.0 + 9 * i,
                            static_cast<Medium>(i % 4), static_cast<Material>(i % 5)}));
    }
    return results;
}

// The table as "Einlesen" shows these results.
inline GridModel tableOf(const std::vector<ResultValues>& results, const NumberFormat& format) {
    ResultStore table;
    table.append(results, format);
    return table.grid();
}

} // namespace kolmaris::test_support
