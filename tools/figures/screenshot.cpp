// Renders the main window after a few calculations into a PNG, for the README.
// Usage: kolmaris_screenshot OUTPUT.png [--dark] (run under QT_QPA_PLATFORM=offscreen)
// With --dark the window is drawn under a dark palette, to check that every text stays legible.

#include "figure_support.h"

#include <QApplication>
#include <QPixmap>

#include <cstdio>
#include <cstring>

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
    kolmaris::figures::DrivenWindow driven;
    driven.click("Option1_0"); // Wasser
    driven.click("Option6");   // Eisenrohr schwarz
    const char* runs[][4] = {
        {"50", "100", "10", "20"},
        {"40", "100", "10", "20"},
        {"32", "60", "25", "15"},
        {"25,4", "40", "25", "60"},
    };
    for (const auto& run : runs) {
        driven.calculate(run);
    }

    QApplication::processEvents();
    if (!driven.window.grab().save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
