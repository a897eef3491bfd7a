#pragma once

#include "app/platform/number_text.h"
#include "calc/message_sink.h"
#include "results/result_row.h"

#include <functional>
#include <vector>

class QPrinter;
class QWidget;

namespace kolmaris {

class FileDialogs;

// What the report commands need from the window: the standing results in table order at the
// moment of the command, and the user's number settings.
struct ReportSource {
    std::function<std::vector<ResultValues>()> results;
    NumberSettings numbers;
};

// Adds a separator, "Als PDF speichern…" and "Drucken…" to `grid`'s actions, after those it
// has, so they show in its context menu. Failures are told in German through `messages`.
void addReportActions(QWidget& grid, MessageSink& messages, FileDialogs& files,
                      ReportSource source);

} // namespace kolmaris
