// Renders the dialog "Rohrweite auslegen" for the README: 30 dm³/min of water at 60 °C
// through 25 m of copper, German number settings.
// Usage: kolmaris_sizing_figure OUTPUT.png (run under QT_QPA_PLATFORM=offscreen)

#include "app/sizing/pipe_sizing_dialog.h"

#include <QApplication>
#include <QPixmap>

#include <cstdio>

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.png\n", argv[0]);
        return 2;
    }
    QApplication app(argc, argv);
    const kolmaris::SizingInputs inputs{QStringLiteral("30"), QStringLiteral("25"),
                                        QStringLiteral("60"), kolmaris::Medium::Water,
                                        kolmaris::Material::Copper};
    kolmaris::PipeSizingDialog dialog(
        inputs, kolmaris::numberSettingsOf(QLocale(QLocale::German, QLocale::Germany)),
        [](const QString&) {});
    dialog.show();
    QApplication::processEvents();
    if (!dialog.grab().save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
