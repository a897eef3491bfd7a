// Renders the main window after a few calculations into a PNG, for the README.
// Usage: kolmaris_screenshot OUTPUT.png [--dark] (run under QT_QPA_PLATFORM=offscreen)
// With --dark the window is drawn under a dark palette, to check that every text stays legible.

#include "app/platform/file_dialogs.h"
#include "app/window/main_window.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QPixmap>

#include <cstdio>
#include <cstring>

namespace {

// No box can be closed without a user, so messages are only echoed.
class EchoSink : public kolmaris::MessageSink {
public:
    void showMessage(const std::string& prompt, kolmaris::MessageStyle,
                     const std::string& title) override {
        std::fprintf(stderr, "message \"%s\": %s\n", title.c_str(), prompt.c_str());
    }
};

} // namespace

int main(int argc, char* argv[]) {
    const bool dark = argc == 3 && std::strcmp(argv[2], "--dark") == 0;
    if (argc != 2 && !dark) {
        std::fprintf(stderr, "usage: %s OUTPUT.png [--dark]\n", argv[0]);
        return 2;
    }
    QApplication app(argc, argv);
    if (dark) {
        // What Qt derives from a dark button colour, with a selection colour to match.
        QPalette palette(QColor(53, 53, 53));
        palette.setColor(QPalette::Highlight, QColor(38, 110, 190));
        QApplication::setPalette(palette);
    }
    EchoSink messages;
    kolmaris::QtFileDialogs files;
    kolmaris::MainWindow window(messages, files, QLocale(QLocale::German, QLocale::Germany), [] {});
    window.show();

    auto click = [&window](const char* name) {
        window.findChild<QAbstractButton*>(QLatin1String(name))->click();
    };
    auto type = [&window](const char* name, const char* text) {
        window.findChild<QLineEdit*>(QLatin1String(name))->setText(QString::fromUtf8(text));
    };

    click("Option1_0"); // Wasser
    click("Option6");   // Eisenrohr schwarz
    const char* runs[][4] = {
        {"50", "100", "10", "20"},
        {"40", "100", "10", "20"},
        {"32", "60", "25", "15"},
        {"25,4", "40", "25", "60"},
    };
    for (const auto& run : runs) {
        type("Text1", run[0]);
        type("Text2", run[1]);
        type("Text3", run[2]);
        type("Text4", run[3]);
        click("Command1");
    }

    QApplication::processEvents();
    if (!window.grab().save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
