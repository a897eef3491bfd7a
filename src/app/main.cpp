#include "app/identity.h"
#include "app/platform/file_dialogs.h"
#include "app/platform/qt_message_sink.h"
#include "app/report/command_line.h"
#include "app/window/main_window.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <iostream>

int main(int argc, char* argv[]) {
    // The options for scripts run without a window; without them nothing changes.
    if (const auto exitCode = kolmaris::runCommandLine(argc, argv, std::cout, std::cerr)) {
        return *exitCode;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromUtf8(kolmaris::identity::applicationName));
    QApplication::setApplicationVersion(QString::fromUtf8(kolmaris::identity::applicationVersion));
    QApplication::setDesktopFileName(QString::fromUtf8(kolmaris::identity::applicationName));
    QIcon icon;
    icon.addFile(QStringLiteral(":/icons/16.png"));
    icon.addFile(QStringLiteral(":/icons/32.png"));
    QApplication::setWindowIcon(icon);

    // The program speaks German whatever the number settings are; so do Qt's own texts (the
    // text boxes' context menu, the file dialogs' buttons).
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(QLocale::German, QLocale::Germany), QStringLiteral("qtbase"),
                     QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(&qtTexts);
    }

    kolmaris::QtMessageSink messages;
    kolmaris::QtFileDialogs files;
    kolmaris::MainWindow window(messages, files, QLocale::system(), [] { QApplication::exit(0); });
    messages.setParentWidget(&window);
    window.show();
    return QApplication::exec();
}
