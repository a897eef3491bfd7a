// The window's controls and menus, at the places its layout gives them, and what a screen
// reader says of them.
#include "app/window/main_window.h"

#include "app/fittings/fittings_menu.h"
#include "app/grid/results_grid.h"
#include "app/platform/announcement.h"
#include "app/platform/controls.h"
#include "app/platform/twips.h"
#include "app/window/window_texts.h"
#include "calc/media.h"
#include "results/check_text.h"
#include "results/recalculation.h"
#include "results/section_loss.h"
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

// Where an option button sits in its frame, in twips.
struct OptionPlace {
    const char* name;
    int left, top, width, height;
};

// One place for each row of the media and the material table, in the tables' order: a medium
// or material added there needs its button's place here, or the window does not compile.
constexpr OptionPlace mediumPlaces[] = {
    {"Option1_0", 240, 360, 1335, 255},
    {"Option2", 240, 760, 1335, 255},
    {"Option3", 240, 1160, 1335, 255},
    {"Option4", 240, 1560, 1335, 255},
};
constexpr OptionPlace materialPlaces[] = {
    {"Option5", 240, 120, 1695, 375},  {"Option6", 240, 480, 1935, 375},
    {"Option7", 240, 840, 1815, 375},  {"Option8", 240, 1200, 1695, 375},
    {"Option9", 240, 1560, 1215, 435},
};

// The option buttons of a group, captioned from its table.
template <typename Facts, std::size_t N>
std::array<QRadioButton*, N> optionGroup(QWidget* frame, const OptionPlace (&places)[N],
                                         const Facts (&table)[N]) {
    std::array<QRadioButton*, N> buttons{};
    for (std::size_t i = 0; i < N; ++i) {
        const OptionPlace& p = places[i];
        buttons[i] = option(frame, p.name, QString::fromUtf8(table[i].name),
                            rectFromTwips(p.left, p.top, p.width, p.height));
    }
    return buttons;
}

void drawLines(QWidget* client) {
    line(client, "Line1_0", 240, 2760, 8640);
    line(client, "Line2", 240, 4200, 8640);
    line(client, "Line3", 240, 8040, 8640);
    line(client, "Line1_1", 0, 0, 8040);
    line(client, "Line1_2", 0, 0, 8040);
    line(client, "Line1_3", 0, 0, 8040);
    line(client, "Line1_4", 0, 0, 8640);
}

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
    drawLines(client);

    // Created in tab-index order, so the focus chain follows it from the start.
    label(client, "Label1", QStringLiteral("Rohr-Innendurchmesser  [mm]"),
          rectFromTwips(1440, 720, 2535, 255));
    label(client, "Label2", QStringLiteral("Volumenstrom  [dm3/min]"),
          rectFromTwips(1440, 1200, 2535, 255));
    label(client, "Label3", QStringLiteral("Leitungslänge  [m]"),
          rectFromTwips(1440, 1680, 2175, 255));

    auto* mediumFrame =
        place(new QGroupBox(client), "Frame1", rectFromTwips(4320, 360, 1695, 2055));
    mediumOptions_ = optionGroup(mediumFrame, mediumPlaces, mediumTable);

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

    materialOptions_ = optionGroup(materialFrame, materialPlaces, materialTable);

    buildResultsGrid(client);

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
    setFocusOrder();

    connect(calculateButton_, &QPushButton::clicked, this, &MainWindow::calculateCommand);
    connect(newCalculationButton_, &QPushButton::clicked, this, &MainWindow::newCalculationCommand);
    connect(exitButton_, &QPushButton::clicked, this, [this] { endProgram_(); });

    describeForAccessibility();
}

void MainWindow::buildResultsGrid(QWidget* client) {
    resultsGrid_ = new ResultsGridView(
        results_.grid(), [this](GridObserver* view) { results_.setGridObserver(view); }, client);
    resultsGrid_->setObjectName(QStringLiteral("MSFlexGrid1"));
    resultsGrid_->place(rectFromTwips(1680, 5160, 5895, 2295));
    resultsGrid_->itemModel()->setRowDescription([this](int gridRow) {
        // The store, not the grid's texts, says whether the row holds a result.
        const int number = gridRow - headerRows + 1;
        const ResultValues* result = results_.find(number);
        if (result == nullptr) {
            return std::string();
        }
        std::string text = describeOrigin(number, result->origin, numbers_.format);
        const std::string fittings = describeFittings(*result, numbers_.format);
        if (!fittings.empty()) {
            text += "\n" + fittings;
        }
        // Beside the result, never in its place: what the physics gives for its inputs.
        if (const auto check = checkOf(*result)) {
            text += "\n" + checkText(*check, numbers_.format);
        }
        return text;
    });
    // The chart concerns the results, so it opens from the grid's context menu, below
    // "Kopieren"; the menu bar keeps its own entries only.
    auto* moody = new QAction(QStringLiteral("Moody-Diagramm…"), resultsGrid_);
    moody->setObjectName(QStringLiteral("showMoodyChart"));
    connect(moody, &QAction::triggered, this, &MainWindow::showMoodyChart);
    resultsGrid_->addAction(moody);
    // The fittings of a row and the run of rows concern the results as well.
    addFittingsActions(*resultsGrid_, results_, numbers_);
    // The row's inputs and notes are its tooltip; from the keyboard, and for a screen reader,
    // which reads no tooltip, Alt+Enter shows and tells them.
    auto* origin = new QAction(QStringLiteral("Eingaben und Hinweise"), resultsGrid_);
    origin->setObjectName(QStringLiteral("describeRow"));
    origin->setShortcuts(
        {QKeySequence(Qt::ALT | Qt::Key_Return), QKeySequence(Qt::ALT | Qt::Key_Enter)});
    origin->setShortcutContext(Qt::WidgetShortcut);
    connect(origin, &QAction::triggered, this, &MainWindow::describeRowCommand);
    resultsGrid_->addAction(origin);
}

void MainWindow::setFocusOrder() {
    // The medium group, the buttons from right to left, the material group, the grid and the
    // four input boxes last.
    std::vector<QWidget*> order(mediumOptions_.begin(), mediumOptions_.end());
    order.insert(order.end(), {exitButton_, newCalculationButton_, calculateButton_});
    order.insert(order.end(), materialOptions_.begin(), materialOptions_.end());
    order.push_back(resultsGrid_);
    for (QLineEdit* input : inputBoxes()) {
        order.push_back(input);
    }
    for (std::size_t i = 1; i < order.size(); ++i) {
        setTabOrder(order[i - 1], order[i]);
    }
}

void MainWindow::describeForAccessibility() {
    const auto caption = [this](const char* label) {
        return findChild<QLabel*>(QLatin1String(label))->text();
    };
    const QString separator = decimalSeparatorName(numbers_.locale);
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
                       "die markierten Zellen, ohne Markierung die ganze Tabelle. Alt+Return "
                       "nennt die Eingaben und Hinweise der Zeile."));
}

} // namespace kolmaris
