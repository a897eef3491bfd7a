#include "app/report/command_line.h"

#include "app/identity.h"
#include "app/report/report.h"
#include "exchange/workbook.h"
#include "results/result_store.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include <optional>
#include <string>
#include <vector>

namespace kolmaris {

namespace {

std::string usage() {
    return std::string("Aufruf: ") + identity::applicationName +
           " [--report BERICHT.pdf ARBEITSMAPPE.xlsx | --help | --version]\n"
           "\n"
           "Ohne Optionen öffnet sich das Fenster.\n"
           "  --report BERICHT.pdf ARBEITSMAPPE.xlsx\n"
           "             liest die Ergebnisse der Arbeitsmappe wie \"Einlesen von MS Excel\" und\n"
           "             schreibt ihren Bericht als PDF, ohne Fenster und ohne Bildschirm\n"
           "  --help     zeigt diese Hilfe\n"
           "  --version  zeigt die Version\n";
}

bool isOurs(const std::string& arg) {
    return arg == "--report" || arg == "--help" || arg == "--version";
}

// A message box's text on a terminal: its lines joined by line feeds.
std::string terminalText(std::string text) {
    for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at)) {
        text.erase(at, 1);
    }
    return text;
}

int writeReport(const char* program, const std::string& pdf, const std::string& workbook,
                std::ostream& err) {
    // No window is shown, so no display is needed: a build server has none.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Nor a session: run from cron there is no runtime directory, and Qt would say so on
    // standard error before making one in /tmp. A private one lives as long as this run.
    std::optional<QTemporaryDir> runtime;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        runtime.emplace();
        if (runtime->isValid()) {
            qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime->path()));
        }
    }
    int qtArgc = 1;
    char* qtArgv[] = {const_cast<char*>(program), nullptr};
    QApplication application(qtArgc, qtArgv);
    const QLocale locale = QLocale::system();
    try {
        const WorkbookResults read = readResultsWorkbook(workbook);
        const std::vector<ResultValues>& results = read.results;
        // Rows a spreadsheet user added (a sum, a remark) are left out, as "Einlesen" does.
        if (!read.leftOut.empty()) {
            err << terminalText(leftOutText(read.leftOut)) << '\n';
        }
        if (results.empty()) {
            err << noResultsText << '\n';
            return 1;
        }
        // Taken into a table as "Einlesen" takes them, so what it refuses is refused here too.
        const NumberSettings numbers = numberSettingsOf(locale);
        ResultStore table;
        table.append(results, numbers.format);
        saveReportPdf(pdf, table.values(), {numbers, QDateTime::currentDateTime()});
    } catch (const KolmarisError& error) {
        err << terminalText(error.what()) << '\n';
        return 1;
    }
    return 0;
}

} // namespace

std::optional<int> runCommandLine(int argc, char* argv[], std::ostream& out, std::ostream& err) {
    const std::vector<std::string> args(argv + std::min(argc, 1), argv + argc);
    bool ours = false;
    for (const std::string& arg : args) {
        ours = ours || isOurs(arg);
    }
    if (!ours) {
        return std::nullopt;
    }
    if (args.size() == 1 && args[0] == "--help") {
        out << usage();
        return 0;
    }
    if (args.size() == 1 && args[0] == "--version") {
        out << identity::applicationName << ' ' << identity::applicationVersion << '\n';
        return 0;
    }
    if (args.size() == 3 && args[0] == "--report" && !isOurs(args[1]) && !isOurs(args[2]) &&
        !args[1].empty() && !args[2].empty()) {
        return writeReport(argv[0], args[1], args[2], err);
    }
    err << usage();
    return 2;
}

} // namespace kolmaris
