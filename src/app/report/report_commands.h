#pragma once

#include "calc/message_sink.h"
#include "results/grid_model.h"
#include "results/number_format.h"
#include "results/result_row.h"

#include <QLocale>

#include <functional>
#include <vector>

class QPrinter;
class QWidget;

namespace kolmaris {

class FileDialogs;

// What the report commands need from the window: its table, the standing results in table
// order at the moment of the command, and the user's number settings.
struct ReportSource {
    const GridModel& table;
    std::function<std::vector<ResultValues>()> results;
    QLocale locale;
    NumberFormat format;
};

// Adds a separator, "Als PDF speichern…" and "Drucken…" to `grid`'s actions, after those it
// has, so they show in its context menu. Failures are told in German through `messages`.
void addReportActions(QWidget& grid, MessageSink& messages, FileDialogs& files,
                      ReportSource source);

} // namespace kolmaris
