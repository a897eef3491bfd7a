#include "report_support.h"
#include "window_fixture.h"

#include "app/grid/results_grid.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPrintDialog>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>

#include <csignal>

#include <sys/resource.h>

namespace kolmaris {
namespace {

using namespace test_support;

QByteArray bytesOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Files may grow to `bytes` only, as on a disk that fills up: a write beyond fails with EFBIG.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &old_);
        oldSignal_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = old_;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldSignal_);
    }

private:
    rlimit old_{};
    void (*oldSignal_)(int);
};

TEST(ReportCommands, FollowTheGridsOwnAndSaveThePdfOrKeepTheOlderFile) {
    Window window(german);
    window.addResults(3);
    const QList<QAction*> actions = window.find<ResultsGridView>("MSFlexGrid1")->actions();
    ASSERT_GE(actions.size(), 4);
    EXPECT_EQ(actions.first()->text(), QStringLiteral("Kopieren"));
    const auto last = actions.size() - 1;
    EXPECT_TRUE(actions[last - 2]->isSeparator());
    EXPECT_EQ(actions[last - 1]->text(), QStringLiteral("Als PDF speichern…"));
    EXPECT_EQ(actions[last]->text(), QStringLiteral("Drucken…"));

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Bericht.pdf"));
    window.files.reportName = path;
    actions[last - 1]->trigger();
    EXPECT_EQ(window.files.proposed, QStringLiteral("Kolmaris-Bericht.pdf"));
    EXPECT_TRUE(window.messages.messages.empty());
    const QString text = pdfText(path);
    EXPECT_TRUE(text.contains(window.cell(4, 3).trimmed() + QStringLiteral(" ") +
                              window.cell(4, 4).trimmed()));
    EXPECT_TRUE(text.contains(QStringLiteral("50 100 10 20 Wasser Eisenrohr schwarz")));

    // A write that breaks off halfway leaves the older file byte for byte, and nothing else.
    const QByteArray older = bytesOf(path);
    ASSERT_GT(older.size(), 4096);
    window.addResults(1);
    {
        FileSizeLimit limit(4096);
        actions[last - 1]->trigger();
    }
    EXPECT_EQ(bytesOf(path), older);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System),
              QStringList{QStringLiteral("Bericht.pdf")});
    ASSERT_EQ(window.messages.messages.size(), 1u);
    EXPECT_EQ(window.messages.messages[0].prompt,
              "Der Bericht kann nicht gespeichert werden.\r\n"
              "Die Datei wäre größer, als dieser Datenträger oder das System erlaubt.");
    EXPECT_EQ(window.messages.messages[0].title, "Fehler");
}

// The print dialog offers the report's own pages, not 1 to 9999.
TEST(ReportCommands, ThePrintDialogOffersTheReportsPages) {
    Window window(german);
    window.addResults(3);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Bericht.pdf"));
    window.files.reportName = path;
    window.find<QAction>("saveReport")->trigger();
    const int pages = pdfText(path).count(QRegularExpression(QStringLiteral("Seite \\d+ von")));
    ASSERT_GE(pages, 1);

    int from = -1, to = -1;
    QTimer::singleShot(50, [&from, &to] {
        auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
        if (dialog != nullptr) {
            from = dialog->minPage();
            to = dialog->maxPage();
            dialog->reject();
        } else if (QApplication::activeModalWidget() != nullptr) {
            QApplication::activeModalWidget()->close();
        }
    });
    window.find<QAction>("printReport")->trigger();
    EXPECT_EQ(from, 1);
    EXPECT_EQ(to, pages);
}

} // namespace
} // namespace kolmaris
