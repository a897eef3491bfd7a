#include "main_window.h"

#include "file_dialogs.h"

#include "identity.h"
#include "media.h"
#include "moody_window.h"
#include "number_text.h"
#include "results_grid.h"
#include "results_table.h"
#include "table_layout.h"
#include "twips.h"
#include "window_controls.h"
#include "window_texts.h"
#include "workbook.h"

#include <QFile>

#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>

#include <charconv>
#include <cmath>
#include <limits>
#include <utility>
#include <vector>

namespace kolmaris {

namespace {

using namespace controls;

// The choice whose option button is checked, the buttons listed in the order of the choices.
template <typename Choice, std::size_t N>
std::optional<Choice> checkedChoice(const std::array<QRadioButton*, N>& buttons,
                                    const Choice (&order)[N]) {
    for (std::size_t i = 0; i < N; ++i) {
        if (buttons[i]->isChecked()) {
            return order[i];
        }
    }
    return std::nullopt;
}

char decimalSeparatorOf(const QLocale& locale) {
    const QString point = locale.decimalPoint();
    // Result texts are built from single-byte characters; a separator outside ASCII falls
    // back to the point.
    if (point.size() == 1 && point.at(0).unicode() < 0x80) {
        return static_cast<char>(point.at(0).unicode());
    }
    return '.';
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

MainWindow::MainWindow(MessageSink& messages, FileDialogs& files, const QLocale& locale,
                       std::function<void()> endProgram, QWidget* parent)
    : QMainWindow(parent), messages_(messages), files_(files),
      locale_(locale), numberFormat_{decimalSeparatorOf(locale)},
      endProgram_(std::move(endProgram)) {
    setObjectName(QStringLiteral("ersteVersion"));
    setWindowTitle(QString::fromUtf8(identity::windowCaption));
    // Small enough that every caption fits its control.
    setFont(arial(8, false));

    buildMenus();
    buildControls();

    // The window's Load event.
    initResultsTable(grid_);

    resize(fromTwips(9195), fromTwips(8565) + menuBar()->sizeHint().height());
}

MainWindow::~MainWindow() {
    // The grid view observes grid_, which dies with this object: the view goes first.
    delete takeCentralWidget();
}

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
    QAction* moody = extras->addAction(QStringLiteral("Moody-Diagramm"));
    moody->setObjectName(QStringLiteral("mnumoody"));
    connect(moody, &QAction::triggered, this, &MainWindow::showMoodyChart);
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
    media_ = {
        option(mediumFrame, "Option1_0", QStringLiteral("Wasser"),
               rectFromTwips(240, 360, 1335, 255)),
        option(mediumFrame, "Option2", QStringLiteral("Heizöl (EL)"),
               rectFromTwips(240, 760, 1335, 255)),
        option(mediumFrame, "Option3", QStringLiteral("Erdgas"),
               rectFromTwips(240, 1160, 1335, 255)),
        option(mediumFrame, "Option4", QStringLiteral("Druckluft"),
               rectFromTwips(240, 1560, 1335, 255)),
    };

    label(client, "Label8", texts::creditText(), rectFromTwips(1920, 8160, 5535, 255));

    auto* materialFrame =
        place(new QGroupBox(client), "Frame2", rectFromTwips(6240, 360, 2295, 2055));

    QPushButton* exit =
        button(client, "Command3", QStringLiteral("Exit"), rectFromTwips(6720, 3360, 1935, 495));
    QPushButton* reset = button(client, "Command2", QStringLiteral("Neue Berechnung"),
                                rectFromTwips(3480, 3360, 1935, 495));
    QPushButton* calculate = button(client, "Command1", QStringLiteral("Berechnen"),
                                    rectFromTwips(240, 3360, 1935, 495));

    boldLabel(client, "Label4", QStringLiteral("Eingaben"), rectFromTwips(240, 120, 1815, 375),
              9.75);
    boldLabel(client, "Label5", QStringLiteral("Steuerelemente"),
              rectFromTwips(240, 2880, 1815, 375), 9.75);
    boldLabel(client, "Label6", QStringLiteral("Ausgaben"), rectFromTwips(240, 4440, 1695, 255),
              9.75);

    materials_ = {
        option(materialFrame, "Option5", QStringLiteral("Eisenrohr verzinkt"),
               rectFromTwips(240, 120, 1695, 375)),
        option(materialFrame, "Option6", QStringLiteral("Eisenrohr schwarz"),
               rectFromTwips(240, 480, 1935, 375)),
        option(materialFrame, "Option7", QStringLiteral("Chromstahlrohr"),
               rectFromTwips(240, 840, 1815, 375)),
        option(materialFrame, "Option8", QStringLiteral("Kunststoffrohr"),
               rectFromTwips(240, 1200, 1695, 375)),
        option(materialFrame, "Option9", QStringLiteral("Kupferrohr"),
               rectFromTwips(240, 1560, 1215, 435)),
    };

    gridView_ = new ResultsGridView(grid_, client);
    gridView_->setObjectName(QStringLiteral("MSFlexGrid1"));
    gridView_->place(rectFromTwips(1680, 5160, 5895, 2295));
    gridView_->itemModel()->setRowDescription([this](int gridRow) {
        const int number = gridRow - headerRows + 1;
        return describeOrigin(number, origins_.of(number), numberFormat_);
    });

    boldLabel(client, "Label7", QStringLiteral("Medium"), rectFromTwips(4920, 120, 1455, 255), 9);
    boldLabel(client, "Label9", QStringLiteral("Rohrmaterial"), rectFromTwips(6720, 120, 1455, 255),
              9);
    label(client, "Label10", QStringLiteral("Temperatur  [°C]"),
          rectFromTwips(1440, 2160, 1695, 255));

    inputs_ = {
        textBox(client, "Text1", rectFromTwips(240, 720, 1095, 285)),
        textBox(client, "Text2", rectFromTwips(240, 1200, 1095, 285)),
        textBox(client, "Text3", rectFromTwips(240, 1680, 1095, 285)),
        textBox(client, "Text4", rectFromTwips(240, 2160, 1095, 285)),
    };

    const std::vector<QWidget*> focusOrder = {
        media_[0], media_[1],     media_[2],     media_[3],     exit,          reset,
        calculate, materials_[0], materials_[1], materials_[2], materials_[3], materials_[4],
        gridView_, inputs_[0],    inputs_[1],    inputs_[2],    inputs_[3],
    };
    for (std::size_t i = 1; i < focusOrder.size(); ++i) {
        setTabOrder(focusOrder[i - 1], focusOrder[i]);
    }

    connect(calculate, &QPushButton::clicked, this, &MainWindow::calculateCommand);
    connect(reset, &QPushButton::clicked, this, &MainWindow::newCalculationCommand);
    connect(exit, &QPushButton::clicked, this, [this] { endProgram_(); });

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
    for (std::size_t i = 0; i < inputs_.size(); ++i) {
        auto* label = findChild<QLabel*>(QLatin1String(described[i].label));
        // "Rohr-Innendurchmesser  [mm]" is read out as "Rohr-Innendurchmesser in mm". The label
        // as buddy gives the box its "labelled by" relation; its text has no access key.
        label->setBuddy(inputs_[i]);
        QString name = label->text();
        static const QRegularExpression unit(QStringLiteral("\\s*\\[(.*)\\]$"));
        name.replace(unit, QStringLiteral(" in \\1"));
        inputs_[i]->setAccessibleName(name);
        inputs_[i]->setAccessibleDescription(
            QStringLiteral("%1; eine Zahl mit %2 als Dezimalzeichen, ohne Tausendertrennzeichen")
                .arg(QString::fromUtf8(described[i].what), separator));
    }

    // The frames have no caption of their own: the headings above them name the groups.
    findChild<QWidget*>(QStringLiteral("Frame1"))->setAccessibleName(caption("Label7"));
    findChild<QWidget*>(QStringLiteral("Frame2"))->setAccessibleName(caption("Label9"));
    for (QRadioButton* medium : media_) {
        medium->setAccessibleDescription(caption("Label7"));
    }
    for (QRadioButton* material : materials_) {
        material->setAccessibleDescription(caption("Label9"));
    }

    const std::pair<const char*, const char*> buttons[] = {
        {"Command1", "Berechnet den Druckverlust und fügt das Ergebnis als neue Zeile an"},
        {"Command2", "Leert die vier Eingabefelder"},
        {"Command3", "Beendet das Programm"},
    };
    for (const auto& [name, description] : buttons) {
        findChild<QPushButton*>(QLatin1String(name))
            ->setAccessibleDescription(QString::fromUtf8(description));
    }

    gridView_->setAccessibleName(QStringLiteral("Ergebnisse"));
    gridView_->setAccessibleDescription(
        QStringLiteral("Je Berechnung eine Zeile: Nummer, Geschwindigkeit, Druckverlust je Meter "
                       "und gesamt, Reynolds-Zahl und Rohrreibungszahl Lambda. Strg+C kopiert "
                       "die markierten Zellen, ohne Markierung die ganze Tabelle."));
}

void MainWindow::calculateCommand() {
    // The one error trap: any failure of ours from here on ends the command in
    // handleInvalidInput, after the steps done so far.
    bool invalid = false;
    try {
        prepareResultsTable(grid_, messages_);
        // One text at a time, so a failure leaves the fields before it updated.
        record_.diameterInput = convertNumberText(inputs_[0]->text(), locale_);
        record_.flowRateInput = convertNumberText(inputs_[1]->text(), locale_);
        record_.lengthInput = convertNumberText(inputs_[2]->text(), locale_);
        record_.temperatureInput = convertNumberText(inputs_[3]->text(), locale_);
        const auto medium = selectedMedium();
        const auto material = selectedMaterial();
        if (calculate(record_, medium, material, messages_) == CalculationOutcome::Warning) {
            invalid = true;
        } else {
            // A completed run had both selections.
            const ResultValues result = resultOf(record_, *medium, *material);
            const int number = writeResultRow(grid_, result, numberFormat_);
            origins_.keep(number, result.origin);
            gridView_->showResult(number);
            refreshMoodyChart();
        }
    } catch (const KolmarisError&) {
        invalid = true;
    }
    if (invalid) {
        handleInvalidInput();
    }
}

void MainWindow::newCalculationCommand() {
    clearInputs();
    prepareResultsTable(grid_, messages_);
}

void MainWindow::handleInvalidInput() {
    messages_.showMessage("Üngültige Eingabe", WarningStyle, "Fehler");
    clearInputs();
    prepareResultsTable(grid_, messages_);
}

void MainWindow::clearInputs() {
    for (QLineEdit* input : inputs_) {
        input->clear();
    }
}

void MainWindow::showHelp() {
    messages_.showMessage(texts::helpPrompt(), InformationStyle, "Hilfe");
}

std::optional<Medium> MainWindow::selectedMedium() const {
    constexpr Medium order[] = {Medium::Water, Medium::FuelOil, Medium::NaturalGas,
                                Medium::CompressedAir};
    return checkedChoice(media_, order);
}

std::optional<Material> MainWindow::selectedMaterial() const {
    constexpr Material order[] = {Material::GalvanisedIron, Material::BlackIron,
                                  Material::StainlessSteel, Material::Plastic, Material::Copper};
    return checkedChoice(materials_, order);
}

QString MainWindow::proposedWorkbookName() {
    return QStringLiteral("Kolmaris-Ergebnisse.xlsx");
}

// The results leave the program only into the file the user names. A failure says why in
// German, and the table stays as it is.
void MainWindow::exportCommand() {
    const QString path = files_.saveFileName(this, proposedWorkbookName());
    if (path.isEmpty()) {
        return;
    }
    try {
        writeResultsWorkbook(grid_, origins_, numberFormat_, QFile::encodeName(path).toStdString());
    } catch (const WorkbookError& error) {
        messages_.showMessage(error.what(), WarningStyle, "Fehler");
    }
}

// Appends the results of a workbook below those standing, all of them or, when the file is
// unusable or holds more than still fit, none.
void MainWindow::importCommand() {
    const QString path = files_.openFileName(this);
    if (path.isEmpty()) {
        return;
    }
    try {
        const auto results = readResultsWorkbook(QFile::encodeName(path).toStdString());
        if (results.empty()) {
            messages_.showMessage("Die Datei enthält keine Ergebnisse.", InformationStyle,
                                  "Information");
            return;
        }
        appendResults(grid_, origins_, results, numberFormat_);
        gridView_->showResult(standingResults(grid_));
        refreshMoodyChart();
    } catch (const WorkbookError& error) {
        messages_.showMessage(error.what(), WarningStyle, "Fehler");
    }
}

void MainWindow::showMoodyChart() {
    if (moodyWindow_ == nullptr) {
        moodyWindow_ = new MoodyWindow(messages_, files_, locale_, this);
        moodyWindow_->placeBeside(*this);
    }
    refreshMoodyChart();
    moodyWindow_->show();
    moodyWindow_->raise();
    moodyWindow_->activateWindow();
}

void MainWindow::refreshMoodyChart() {
    if (moodyWindow_ == nullptr) {
        return;
    }
    // The curves are those of the newest result's pipe; before any result is kept with its
    // inputs, of the last calculation's.
    std::optional<double> diameter;
    if (const auto& newest = origins_.of(standingResults(grid_)).inputs) {
        diameter = newest->diameter / 1000;
    } else if (std::isfinite(record_.diameter) && record_.diameter > 0) {
        diameter = record_.diameter;
    }
    if (diameter && !(std::isfinite(*diameter) && *diameter > 0)) {
        diameter.reset();
    }
    moodyWindow_->setResults(moodyPoints(), diameter);
}

// Reynolds number and friction factor of every standing result, read back from the table's
// texts, with the relative roughness of the pipe it was calculated for where that is kept.
std::vector<MoodyPoint> MainWindow::moodyPoints() const {
    auto parse = [this](const std::string& text) {
        std::string plain = text;
        for (char& c : plain) {
            if (c == numberFormat_.decimalSeparator) {
                c = '.';
            }
        }
        const auto first = plain.find_first_not_of(' ');
        double value = std::numeric_limits<double>::quiet_NaN();
        if (first != std::string::npos) {
            std::from_chars(plain.data() + first, plain.data() + plain.size(), value);
        }
        return value;
    };
    std::vector<MoodyPoint> points;
    const int standing = standingResults(grid_);
    for (int number = 1; number <= standing; ++number) {
        const int row = number + headerRows - 1;
        MoodyPoint point;
        point.number = number;
        point.reynolds = parse(grid_.cell(row, 4));
        point.lambda = parse(grid_.cell(row, 5));
        if (const auto& in = origins_.of(number).inputs) {
            const double relative = roughnessOf(in->material) / (in->diameter / 1000);
            if (std::isfinite(relative) && relative >= 0) {
                point.relativeRoughness = relative;
            }
        }
        points.push_back(point);
    }
    return points;
}

void MainWindow::showInformation() {
    messages_.showMessage(texts::informationPrompt(), InformationStyle, "Über dieses Programm");
}

} // namespace kolmaris
