// The window's controls and menus, at the places its layout gives them, and what a screen
// reader says of them.
#include "app/window/main_window.h"

#include "app/grid/results_grid.h"
#include "app/platform/announcement.h"
#include "app/window/twips.h"
#include "app/window/window_controls.h"
#include "app/window/window_texts.h"
#include "calc/media.h"
#include "results/table_layout.h"

#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>

#include <vector>

namespace kolmaris {

namespace {

using namespace controls;

// The decimal separator as a screen reader should say it.
QString decimalSeparatorName(const QLocale& locale) {
    const QString point = locale.decimalPoint();
    if (point == QLatin1String(",")) {
        return QStringLiteral("Komma");
    }
    if (point == QLatin1String(".")) {
        return QStringLiteral("Punkt");
    }
    return point;
}

} // namespace

void MainWindow::buildMenus() {
    // The bar belongs to the window, so the client area always starts below it.
    menuBar()->setNativeMenuBar(false);

    QMenu* file = menuBar()->addMenu(QStringLiteral("&Datei"));
    file->setObjectName(QStringLiteral("mnudatei"));
    QAction* import = file->addAction(QStringLiteral("Einlesen von MS Excel"));
    import->setObjectName(QStringLiteral("mnuexcel1"));
    connect(import, &QAction::triggered, this, &MainWindow::importCommand);
    QAction* output = file->addAction(QStringLiteral("Ausgeben nach MS Excel"));
    output->setObjectName(QStringLiteral("mnuexel2"));
    connect(output, &QAction::triggered, this, &MainWindow::exportCommand);
    file->addSeparator()->setObjectName(QStringLiteral("mnulinie1"));
    QAction* end = file->addAction(QStringLiteral("Beenden"));
    end->setObjectName(QStringLiteral("mnuend1"));
    connect(end, &QAction::triggered, this, [this] { endProgram_(); });

    QMenu* extras = menuBar()->addMenu(QStringLiteral("&Extras"));
    extras->setObjectName(QStringLiteral("mnuextras"));
    QAction* help = extras->addAction(QStringLiteral("Hilfe"));
    help->setObjectName(QStringLiteral("mnuhilfe"));
    connect(help, &QAction::triggered, this, &MainWindow::showHelp);
    extras->addSeparator()->setObjectName(QStringLiteral("mnulinie6"));
    QAction* info = extras->addAction(QStringLiteral("Info"));
    info->setObjectName(QStringLiteral("mnuinf"));
    connect(info, &QAction::triggered, this, &MainWindow::showInformation);
}

void MainWindow::buildControls() {
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("clientArea"));
    setCentralWidget(client);

    line(client, "Line1_0", 240, 2760, 8640);
    line(client, "Line2", 240, 4200, 8640);
    line(client, "Line3", 240, 8040, 8640);
    line(client, "Line1_1", 0, 0, 8040);
    line(client, "Line1_2", 0, 0, 8040);
    line(client, "Line1_3", 0, 0, 8040);
    line(client, "Line1_4", 0, 0, 8640);

    // Created in tab-index order, so the focus chain follows it from the start.
    label(client, "Label1", QStringLiteral("Rohr-Innendurchmesser  [mm]"),
          rectFromTwips(1440, 720, 2535, 255));
    label(client, "Label2", QStringLiteral("Volumenstrom  [dm3/min]"),
          rectFromTwips(1440, 1200, 2535, 255));
    label(client, "Label3", QStringLiteral("Leitungslänge  [m]"),
          rectFromTwips(1440, 1680, 2175, 255));

    auto* mediumFrame =
        place(new QGroupBox(client), "Frame1", rectFromTwips(4320, 360, 1695, 2055));
    mediumOptions_ = {
        option(mediumFrame, "Option1_0", QString::fromUtf8(mediumTable[0].name),
               rectFromTwips(240, 360, 1335, 255)),
        option(mediumFrame, "Option2", QString::fromUtf8(mediumTable[1].name),
               rectFromTwips(240, 760, 1335, 255)),
        option(mediumFrame, "Option3", QString::fromUtf8(mediumTable[2].name),
               rectFromTwips(240, 1160, 1335, 255)),
        option(mediumFrame, "Option4", QString::fromUtf8(mediumTable[3].name),
               rectFromTwips(240, 1560, 1335, 255)),
    };

    label(client, "Label8", texts::creditText(), rectFromTwips(1920, 8160, 5535, 255));

    auto* materialFrame =
        place(new QGroupBox(client), "Frame2", rectFromTwips(6240, 360, 2295, 2055));

    exitButton_ =
        button(client, "Command3", QStringLiteral("Exit"), rectFromTwips(6720, 3360, 1935, 495));
    newCalculationButton_ = button(client, "Command2", QStringLiteral("Neue Berechnung"),
                                   rectFromTwips(3480, 3360, 1935, 495));
    calculateButton_ = button(client, "Command1", QStringLiteral("Berechnen"),
                              rectFromTwips(240, 3360, 1935, 495));

    boldLabel(client, "Label4", QStringLiteral("Eingaben"), rectFromTwips(240, 120, 1815, 375),
              9.75);
    boldLabel(client, "Label5", QStringLiteral("Steuerelemente"),
              rectFromTwips(240, 2880, 1815, 375), 9.75);
    boldLabel(client, "Label6", QStringLiteral("Ausgaben"), rectFromTwips(240, 4440, 1695, 255),
              9.75);

    materialOptions_ = {
        option(materialFrame, "Option5", QString::fromUtf8(materialTable[0].name),
               rectFromTwips(240, 120, 1695, 375)),
        option(materialFrame, "Option6", QString::fromUtf8(materialTable[1].name),
               rectFromTwips(240, 480, 1935, 375)),
        option(materialFrame, "Option7", QString::fromUtf8(materialTable[2].name),
               rectFromTwips(240, 840, 1815, 375)),
        option(materialFrame, "Option8", QString::fromUtf8(materialTable[3].name),
               rectFromTwips(240, 1200, 1695, 375)),
        option(materialFrame, "Option9", QString::fromUtf8(materialTable[4].name),
               rectFromTwips(240, 1560, 1215, 435)),
    };

    resultsGrid_ = new ResultsGridView(grid_, client);
    resultsGrid_->setObjectName(QStringLiteral("MSFlexGrid1"));
    resultsGrid_->place(rectFromTwips(1680, 5160, 5895, 2295));
    resultsGrid_->itemModel()->setRowDescription([this](int gridRow) {
        // The store, not the grid's texts, says whether the row holds a result.
        const int number = gridRow - headerRows + 1;
        const ResultValues* result = results_.find(number);
        return result != nullptr ? describeOrigin(number, result->origin, numberFormat_)
                                 : std::string();
    });
    // The chart concerns the results, so it opens from the grid's context menu, below
    // "Kopieren"; the menu bar keeps its own entries only.
    auto* moody = new QAction(QStringLiteral("Moody-Diagramm…"), resultsGrid_);
    moody->setObjectName(QStringLiteral("showMoodyChart"));
    connect(moody, &QAction::triggered, this, &MainWindow::showMoodyChart);
    resultsGrid_->addAction(moody);

    boldLabel(client, "Label7", QStringLiteral("Medium"), rectFromTwips(4920, 120, 1455, 255), 9);
    boldLabel(client, "Label9", QStringLiteral("Rohrmaterial"), rectFromTwips(6720, 120, 1455, 255),
              9);
    label(client, "Label10", QStringLiteral("Temperatur  [°C]"),
          rectFromTwips(1440, 2160, 1695, 255));

    diameterInput_ = textBox(client, "Text1", rectFromTwips(240, 720, 1095, 285));
    flowRateInput_ = textBox(client, "Text2", rectFromTwips(240, 1200, 1095, 285));
    lengthInput_ = textBox(client, "Text3", rectFromTwips(240, 1680, 1095, 285));
    temperatureInput_ = textBox(client, "Text4", rectFromTwips(240, 2160, 1095, 285));

    announcement_ = new Announcement(client);

    const std::vector<QWidget*> focusOrder = {
        mediumOptions_[0],   mediumOptions_[1],     mediumOptions_[2],   mediumOptions_[3],
        exitButton_,         newCalculationButton_, calculateButton_,    materialOptions_[0],
        materialOptions_[1], materialOptions_[2],   materialOptions_[3], materialOptions_[4],
        resultsGrid_,        diameterInput_,        flowRateInput_,      lengthInput_,
        temperatureInput_,
    };
    for (std::size_t i = 1; i < focusOrder.size(); ++i) {
        setTabOrder(focusOrder[i - 1], focusOrder[i]);
    }

    connect(calculateButton_, &QPushButton::clicked, this, &MainWindow::calculateCommand);
    connect(newCalculationButton_, &QPushButton::clicked, this, &MainWindow::newCalculationCommand);
    connect(exitButton_, &QPushButton::clicked, this, [this] { endProgram_(); });

    describeForAccessibility();
}

void MainWindow::describeForAccessibility() {
    const auto caption = [this](const char* label) {
        return findChild<QLabel*>(QLatin1String(label))->text();
    };
    const QString separator = decimalSeparatorName(locale_);
    struct Input {
        const char* label;
        const char* what;
    };
    const Input described[] = {
        {"Label1", "Lichte Weite des Rohres"},
        {"Label2", "Durchfließende Menge, Liter je Minute"},
        {"Label3", "Gerade Rohrlänge"},
        {"Label10", "Temperatur des Mediums"},
    };
    const auto inputs = inputBoxes();
    for (std::size_t i = 0; i < inputs.size(); ++i) {
        auto* label = findChild<QLabel*>(QLatin1String(described[i].label));
        // "Rohr-Innendurchmesser  [mm]" is read out as "Rohr-Innendurchmesser in mm". The label
        // as buddy gives the box its "labelled by" relation; its text has no access key.
        label->setBuddy(inputs[i]);
        QString name = label->text();
        static const QRegularExpression unit(QStringLiteral("\\s*\\[(.*)\\]$"));
        name.replace(unit, QStringLiteral(" in \\1"));
        inputs[i]->setAccessibleName(name);
        inputs[i]->setAccessibleDescription(
            QStringLiteral("%1; eine Zahl mit %2 als Dezimalzeichen, ohne Tausendertrennzeichen")
                .arg(QString::fromUtf8(described[i].what), separator));
    }

    // The frames have no caption of their own: the headings above them name the groups.
    findChild<QWidget*>(QStringLiteral("Frame1"))->setAccessibleName(caption("Label7"));
    findChild<QWidget*>(QStringLiteral("Frame2"))->setAccessibleName(caption("Label9"));
    for (QRadioButton* medium : mediumOptions_) {
        medium->setAccessibleDescription(caption("Label7"));
    }
    for (QRadioButton* material : materialOptions_) {
        material->setAccessibleDescription(caption("Label9"));
    }

    calculateButton_->setAccessibleDescription(
        QStringLiteral("Berechnet den Druckverlust und fügt das Ergebnis als neue Zeile an"));
    newCalculationButton_->setAccessibleDescription(QStringLiteral("Leert die vier Eingabefelder"));
    exitButton_->setAccessibleDescription(QStringLiteral("Beendet das Programm"));

    resultsGrid_->setAccessibleName(QStringLiteral("Ergebnisse"));
    resultsGrid_->setAccessibleDescription(
        QStringLiteral("Je Berechnung eine Zeile: Nummer, Geschwindigkeit, Druckverlust je Meter "
                       "und gesamt, Reynolds-Zahl und Rohrreibungszahl Lambda. Strg+C kopiert "
                       "die markierten Zellen, ohne Markierung die ganze Tabelle."));
}

} // namespace kolmaris
