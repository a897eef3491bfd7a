// The file dialogs list a folder without reading what is in its files: a file whose reading
// blocks (/proc/kmsg, a pipe, a stalled network share) must not freeze the program.

#include "app/platform/file_dialogs.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <sys/inotify.h>
#include <unistd.h>

#include <string>
#include <vector>

namespace kolmaris {
namespace {

// Files whose contents say something else than their names, so any guess from the contents
// would have to open them.
void fillFolder(const QTemporaryDir& dir) {
    const std::pair<const char*, QByteArray> files[] = {
        {"bild.xlsx", QByteArray("\x89PNG\r\n\x1a\n", 8)},
        {"dokument.xlsx", "%PDF-1.4\n"},
        {"ohne-endung", "#!/bin/sh\n"},
        {"notiz.txt", "<?xml version=\"1.0\"?><svg/>"},
    };
    for (const auto& [name, bytes] : files) {
        QFile file(dir.filePath(QLatin1String(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
}

// The names of the files in the watched folder that were opened, as inotify reported them.
std::vector<std::string> openedFiles(int watch) {
    std::vector<std::string> names;
    alignas(inotify_event) char buffer[4096];
    for (ssize_t n; (n = ::read(watch, buffer, sizeof buffer)) > 0;) {
        for (char* p = buffer; p < buffer + n;) {
            const auto* event = reinterpret_cast<const inotify_event*>(p);
            if (!(event->mask & IN_ISDIR) && event->len > 0) {
                names.emplace_back(event->name);
            }
            p += sizeof(inotify_event) + event->len;
        }
    }
    return names;
}

TEST(FileDialogs, ListingAFolderOpensNoFileInIt) {
    QTemporaryDir dir;
    fillFolder(dir);
    const int watch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(watch, 0);
    ASSERT_GE(
        inotify_add_watch(watch, QFile::encodeName(dir.path()).constData(), IN_OPEN | IN_ACCESS),
        0);

    // Lets the dialog list the folder, with every file's icon and type, then cancels it.
    bool listed = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        auto* model = dialog ? dialog->findChild<QFileSystemModel*>() : nullptr;
        if (model == nullptr) {
            return;
        }
        const QModelIndex folder = model->index(dir.path());
        if (model->rowCount(folder) < 2) {
            return; // the two workbooks pass the dialog's filter
        }
        for (int row = 0; row < model->rowCount(folder); ++row) {
            model->data(model->index(row, 0, folder), Qt::DecorationRole);
            model->data(model->index(row, 2, folder), Qt::DisplayRole); // the type column
        }
        listed = true;
        poll.stop();
        // The icons are fetched in the background; give that time before cancelling.
        QTimer::singleShot(300, dialog, &QFileDialog::reject);
    });
    poll.start(20);
    // Never hang the suite, whatever the dialog does.
    QTimer::singleShot(10000, [] {
        if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
            dialog->reject();
        }
    });

    QtFileDialogs dialogs;
    EXPECT_TRUE(dialogs.saveFileName(nullptr, dir.filePath("Kolmaris-Ergebnisse.xlsx")).isEmpty());
    poll.stop();
    EXPECT_TRUE(listed);
    EXPECT_EQ(openedFiles(watch), std::vector<std::string>{});
    ::close(watch);
}

TEST(FileDialogs, NameTheKindOfAFileFromItsNameAlone) {
    QTemporaryDir dir;
    fillFolder(dir);
    const NameOnlyIconProvider icons;
    EXPECT_EQ(icons.type(QFileInfo(dir.filePath("bild.xlsx"))), "Excel-Arbeitsmappe");
    EXPECT_EQ(icons.type(QFileInfo(dir.filePath("notiz.txt"))), "TXT-Datei");
    EXPECT_EQ(icons.type(QFileInfo(dir.filePath("ohne-endung"))), "Datei");
    EXPECT_EQ(icons.type(QFileInfo(dir.path())), "Ordner");
}

} // namespace
} // namespace kolmaris
