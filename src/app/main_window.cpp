#include "main_window.h"

#include "file_dialogs.h"

#include "identity.h"
#include "moody_window.h"
#include "number_text.h"
#include "results_grid.h"
#include "results_table.h"
#include "twips.h"
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

#include <charconv>
#include <cmath>
#include <iterator>
#include <limits>
#include <utility>
#include <vector>

namespace kolmaris {

namespace {

QFont arial(qreal points, bool bold) {
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif); // the fallback where no face with Arial's metrics exists
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

template <typename Widget> Widget* place(Widget* widget, const char* name, const QRect& geometry) {
    widget->setObjectName(QLatin1String(name));
    widget->setGeometry(geometry);
    return widget;
}

QLabel* label(QWidget* parent, const char* name, const QString& caption, const QRect& geometry) {
    auto* widget = place(new QLabel(caption, parent), name, geometry);
    widget->setTextFormat(Qt::PlainText);
    widget->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return widget;
}

QLabel* boldLabel(QWidget* parent, const char* name, const QString& caption, const QRect& geometry,
                  qreal points) {
    auto* widget = label(parent, name, caption, geometry);
    widget->setFont(arial(points, true));
    return widget;
}

QLineEdit* textBox(QWidget* parent, const char* name, const QRect& geometry) {
    return place(new QLineEdit(parent), name, geometry);
}

// Every option button is a stop of its own when tabbing. Qt would leave only one button of a
// group in the tab chain, taking the others out whenever one of them gets the focus.
class OptionButton : public QRadioButton {
public:
    using QRadioButton::QRadioButton;

protected:
    void focusInEvent(QFocusEvent* event) override { QWidget::focusInEvent(event); }
};

QRadioButton* option(QWidget* frame, const char* name, const QString& caption,
                     const QRect& geometry) {
    return place(new OptionButton(caption, frame), name, geometry);
}

QPushButton* button(QWidget* parent, const char* name, const QString& caption,
                    const QRect& geometry) {
    auto* widget = place(new QPushButton(caption, parent), name, geometry);
    // Neither Enter nor Esc may press a button of this window.
    widget->setAutoDefault(false);
    widget->setDefault(false);
    return widget;
}

// A one-pixel horizontal line from (x1, y) to (x2, y).
void line(QWidget* parent, const char* name, int x1, int y, int x2) {
    auto* widget = new QFrame(parent);
    widget->setObjectName(QLatin1String(name));
    widget->setFrameShape(QFrame::HLine);
    widget->setFrameShadow(QFrame::Plain);
    widget->setLineWidth(1);
    widget->setGeometry(fromTwips(x1), fromTwips(y), fromTwips(x2) - fromTwips(x1), 1);
}

// The lines of a message box prompt joined by CR LF, with no break after the last.
template <typename Iterator> std::string promptOf(Iterator first, Iterator last) {
    std::string prompt;
    for (Iterator line = first; line != last; ++line) {
        if (line != first) {
            prompt += crlf;
        }
        prompt += *line;
    }
    return prompt;
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

    label(client, "Label8", creditText(), rectFromTwips(1920, 8160, 5535, 255));

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
}

QString MainWindow::creditText() {
    return QStringLiteral("Programmentwicklung: ") + QString::fromUtf8(identity::developer) +
           QStringLiteral(", ") + QString::fromUtf8(identity::qualification) +
           QStringLiteral(", ") + QString::fromUtf8(identity::town);
}

std::string MainWindow::informationPrompt() {
    const std::string lines[] = {
        "Programmentwicklung:",
        identity::developer,
        identity::qualification,
        "",
        identity::postalCodeAndTown,
        "",
        std::string("E-Mail: ") + identity::email,
    };
    return promptOf(std::begin(lines), std::end(lines));
}

std::optional<Medium> MainWindow::selectedMedium() const {
    constexpr Medium order[] = {Medium::Water, Medium::FuelOil, Medium::NaturalGas,
                                Medium::CompressedAir};
    for (std::size_t i = 0; i < media_.size(); ++i) {
        if (media_[i]->isChecked()) {
            return order[i];
        }
    }
    return std::nullopt;
}

std::optional<Material> MainWindow::selectedMaterial() const {
    constexpr Material order[] = {Material::GalvanisedIron, Material::BlackIron,
                                  Material::StainlessSteel, Material::Plastic, Material::Copper};
    for (std::size_t i = 0; i < materials_.size(); ++i) {
        if (materials_[i]->isChecked()) {
            return order[i];
        }
    }
    return std::nullopt;
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
        if (calculate(record_, selectedMedium(), selectedMaterial(), messages_) ==
            CalculationOutcome::Warning) {
            invalid = true;
        } else {
            writeResultRow(grid_, record_, numberFormat_);
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

std::string MainWindow::helpPrompt() {
    const char* const lines[] = {
        "Eingaben",
        "Rohr-Innendurchmesser: lichte Weite des Rohres in mm.",
        "Volumenstrom: durchfließende Menge in dm3/min (Liter je Minute).",
        "Leitungslänge: gerade Rohrlänge in m.",
        "Temperatur: Temperatur des Mediums in °C.",
        "Zahlen mit dem Dezimalzeichen der Ländereinstellungen, ohne Tausenderpunkte.",
        "",
        "Medien: Wasser und Druckluft (Zähigkeit nach der Temperatur, 0 bis 100 °C), "
        "Heizöl (EL) und Erdgas (feste Zähigkeit).",
        "Rohrmaterialien: Eisenrohr verzinkt, Eisenrohr schwarz, Chromstahlrohr, "
        "Kunststoffrohr, Kupferrohr (je mit ihrer Wandrauheit).",
        "",
        "Berechnung",
        "Aus Volumenstrom und Querschnitt folgen die mittlere Geschwindigkeit und die "
        "Reynolds-Zahl. Die Rohrreibungszahl Lambda wird aus der Colebrook-Gleichung durch "
        "schrittweises Suchen bestimmt. Der Druckverlust je Meter (DV/m) und für die ganze "
        "Leitung (DV Total) folgt aus der Gleichung von Darcy-Weisbach.",
        "",
        "Ergebnisse",
        "Die Tabelle fasst 28 Ergebnisse. \"Datei\" > \"Ausgeben nach MS Excel\" speichert sie "
        "als Arbeitsmappe, \"Einlesen von MS Excel\" holt gespeicherte Ergebnisse in die "
        "Tabelle zurück. Markierte Zellen kopiert Strg+C (oder \"Kopieren\" im Kontextmenü) "
        "für eine Tabellenkalkulation.",
    };
    return promptOf(std::begin(lines), std::end(lines));
}

void MainWindow::showHelp() {
    messages_.showMessage(helpPrompt(), InformationStyle, "Hilfe");
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
        writeResultsWorkbook(grid_, numberFormat_, QFile::encodeName(path).toStdString());
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
        appendResults(grid_, results, numberFormat_);
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
    std::optional<double> diameter;
    if (std::isfinite(record_.diameter) && record_.diameter > 0) {
        diameter = record_.diameter;
    }
    moodyWindow_->setResults(moodyPoints(), diameter);
}

// Reynolds number and friction factor of every standing result, read back from the table's
// texts. Only the newest row's inputs are known here, and only when it is the record's result.
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
    for (int row = 2; row < grid_.rows() && !grid_.cell(row, 1).empty(); ++row) {
        MoodyPoint point;
        point.number = row - 1;
        point.reynolds = parse(grid_.cell(row, 4));
        point.lambda = parse(grid_.cell(row, 5));
        points.push_back(point);
    }
    if (!points.empty()) {
        const int last = static_cast<int>(points.size()) + 1;
        const bool fromRecord =
            grid_.cell(last, 4) == formatFixed(record_.reynolds, 0, numberFormat_) &&
            grid_.cell(last, 5) == formatFixed(record_.lambda, 5, numberFormat_);
        if (fromRecord && record_.diameter > 0 &&
            std::isfinite(record_.roughness / record_.diameter)) {
            points.back().relativeRoughness = record_.roughness / record_.diameter;
        }
    }
    return points;
}

void MainWindow::showInformation() {
    messages_.showMessage(informationPrompt(), InformationStyle, "Über dieses Programm");
}

} // namespace kolmaris
