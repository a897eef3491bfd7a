#include "report_support.h"

#include "edited_workbooks.h"
#include "locales.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <algorithm>

namespace kolmaris {
namespace {

using namespace test_support;

struct ProgramRun {
    int exitCode = -1;
    QString out;
    QString err;
};

// The program as a build server or cron starts it: no display of any kind, no session.
ProgramRun runProgram(const QStringList& args) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name :
         {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "LC_ALL", "XDG_RUNTIME_DIR"}) {
        environment.remove(QString::fromLatin1(name));
    }
    environment.insert(QStringLiteral("LC_NUMERIC"), QStringLiteral("de_DE.UTF-8"));
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(KOLMARIS_PROGRAM), args);
    if (!process.waitForFinished(60000)) {
        ADD_FAILURE() << "the program did not end";
    }
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

QByteArray bytesOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

TEST(CommandLine, WritesTheReportOfAWorkbookWithoutADisplay) {
    QTemporaryDir dir;
    const QString workbook = dir.filePath(QStringLiteral("ergebnisse.xlsx"));
    const auto results = calculatedResults(4);
    const GridModel table = tableOf(results, NumberFormat{','});
    writeResultsWorkbook(results, NumberFormat{','}, workbook.toStdString());

    const QString pdf = dir.filePath(QStringLiteral("bericht.pdf"));
    const ProgramRun run = runProgram({QStringLiteral("--report"), pdf, workbook});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.isEmpty());
    const QString text = pdfText(pdf);
    EXPECT_TRUE(text.contains(QStringLiteral("Druckverlustberechnung")));
    // The user's decimal separator, as the window would show it.
    EXPECT_TRUE(text.contains(QString::fromStdString(table.cell(2, 3))));
}

// The hand-edited workbooks of the reader's tests, as a script passes them on: standard error
// names the rows whose inputs were dropped, as the window's box does, and says nothing else;
// the report prints no inputs beside values they did not give.
TEST(CommandLine, ReportsRowsWhoseInputsDoNotAgreeWithoutThoseInputs) {
    QTemporaryDir dir;
    const QString workbook = dir.filePath(QStringLiteral("bearbeitet.xlsx"));
    const QString pdf = dir.filePath(QStringLiteral("bericht.pdf"));
    const NumberFormat german{','};
    for (const EditedWorkbook& w : editedWorkbooks()) {
        writeBytes(workbook, QByteArray::fromStdString(w.bytes));
        const ProgramRun run = runProgram({QStringLiteral("--report"), pdf, workbook});
        EXPECT_EQ(run.exitCode, 0) << w.edit;
        const QString message =
            QString::fromStdString(w.message).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        EXPECT_EQ(run.err, message.isEmpty() ? QString() : message + QLatin1Char('\n')) << w.edit;
        const QString text = pdfText(pdf);
        for (int i = 0; i < 5; ++i) {
            const ResultInputs& in = editedTableInputs[i];
            QStringList inputs{QString::number(i + 1)};
            for (double value : {in.diameter, in.flowRate, in.length, in.temperature}) {
                inputs << QString::fromStdString(formatExact(value, german));
            }
            inputs << QString::fromUtf8(nameOf(in.medium))
                   << QString::fromUtf8(nameOf(in.material));
            EXPECT_EQ(text.contains(inputs.join(QLatin1Char(' '))), w.withInputs[i] == '+')
                << w.edit << ": " << inputs.join(QLatin1Char(' ')).toStdString();
        }
        EXPECT_EQ(
            text.count(QRegularExpression(QStringLiteral("Eingaben nicht gespeichert(?! sind)"))),
            static_cast<int>(std::count(w.withInputs, w.withInputs + 5, '-')))
            << w.edit;
    }
}

TEST(CommandLine, RefusesAHostileWorkbookOrAWrongCommandLineAndTouchesNoFile) {
    QTemporaryDir dir;
    const QString hostile = dir.filePath(QStringLiteral("feindlich.xlsx"));
    writeBytes(hostile, QByteArray("PK\x03\x04 kein Archiv", 17).repeated(500));
    std::string refusal;
    try {
        readResultsWorkbook(hostile.toStdString());
    } catch (const WorkbookError& error) {
        refusal = error.what();
    }
    ASSERT_FALSE(refusal.empty());
    const QString message =
        QString::fromStdString(refusal).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    const QString older = dir.filePath(QStringLiteral("alt.pdf"));
    writeBytes(older, "der alte Bericht");
    const QString fresh = dir.filePath(QStringLiteral("neu.pdf"));

    const struct {
        QStringList args;
        int exitCode;
        QString err;
        QString out;
    } cases[] = {
        {{QStringLiteral("--report"), older, hostile}, 1, message, {}},
        {{QStringLiteral("--report"), fresh, hostile}, 1, message, {}},
        {{QStringLiteral("--report"), fresh, dir.filePath(QStringLiteral("fehlt.xlsx"))},
         1,
         QStringLiteral("Die Datei kann nicht eingelesen werden."),
         {}},
        {{QStringLiteral("--report"), fresh}, 2, QStringLiteral("Aufruf: Davudeviredidara"), {}},
        {{QStringLiteral("--report"), fresh, hostile, hostile}, 2, QStringLiteral("Aufruf:"), {}},
        {{QStringLiteral("--help"), QStringLiteral("--report")}, 2, QStringLiteral("Aufruf:"), {}},
        {{QStringLiteral("--version")}, 0, {}, QStringLiteral("Davudeviredidara 1.00\n")},
        {{QStringLiteral("--help")}, 0, {}, QStringLiteral("--report BERICHT.pdf")},
    };
    for (const auto& c : cases) {
        const ProgramRun run = runProgram(c.args);
        const std::string name = c.args.join(QLatin1Char(' ')).toStdString();
        EXPECT_EQ(run.exitCode, c.exitCode) << name;
        EXPECT_TRUE(run.err.contains(c.err)) << name << ": " << run.err.toStdString();
        EXPECT_TRUE(c.out.isEmpty() ? run.out.isEmpty() : run.out.contains(c.out)) << name;
        EXPECT_EQ(bytesOf(older), QByteArray("der alte Bericht")) << name;
        EXPECT_FALSE(QFile::exists(fresh)) << name;
    }
    EXPECT_EQ(QDir(dir.path()).count(), 2u + 2u); // . and .. and the two files
}

} // namespace
} // namespace kolmaris
