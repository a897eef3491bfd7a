// The window's commands. Its controls and menus are laid out in main_window_layout.cpp.
#include "app/window/main_window.h"

#include "app/chart/moody_points.h"
#include "app/chart/moody_window.h"
#include "app/grid/results_grid.h"
#include "app/identity.h"
#include "app/platform/announcement.h"
#include "app/platform/context_menu_keys.h"
#include "app/platform/controls.h"
#include "app/platform/file_dialogs.h"
#include "app/platform/number_text.h"
#include "app/platform/twips.h"
#include "app/report/report_commands.h"
#include "app/sizing/sizing_menu.h"
#include "app/window/window_texts.h"
#include "calc/media.h"
#include "exchange/workbook.h"
#include "results/table_layout.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QMenuBar>
#include <QRadioButton>
#include <QToolTip>

#include <cmath>
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

} // namespace

MainWindow::MainWindow(MessageSink& messages, FileDialogs& files, const QLocale& locale,
                       std::function<void()> endProgram, QWidget* parent)
    : QMainWindow(parent), messages_(messages), files_(files), numbers_(numberSettingsOf(locale)),
      endProgram_(std::move(endProgram)) {
    setObjectName(QStringLiteral("ersteVersion"));
    setWindowTitle(QString::fromUtf8(identity::windowCaption));
    // Small enough that every caption fits its control.
    setFont(arial(8, false));

    buildMenus();
    buildControls();
    // Shift+F10 opens the focused control's context menu in every window of the program; the
    // filter lives as long as this window, which is the program's.
    QApplication::instance()->installEventFilter(new ContextMenuKeys(this));
    installPipeSizingMenu(
        *this, *diameterInput_,
        [this] {
            return SizingInputs{flowRateInput_->text(), lengthInput_->text(),
                                temperatureInput_->text(), selectedMedium(), selectedMaterial()};
        },
        numbers_);

    // The report, last in the grid's context menu.
    addReportActions(*resultsGrid_, messages_, files_,
                     {[this] { return results_.values(); }, numbers_});

    resize(fromTwips(9195), fromTwips(8565) + menuBar()->sizeHint().height());

    // The menu bar and the dialogs take the focus for a while; where it belongs is the last
    // control of the window that had it.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (now != nullptr && centralWidget() != nullptr && centralWidget()->isAncestorOf(now)) {
            lastFocus_ = now;
        }
    });
}

MainWindow::~MainWindow() {
    // The grid view observes the results' grid, which dies with this object: the view goes
    // first.
    delete takeCentralWidget();
}

void MainWindow::calculateCommand() {
    // The one error trap: any failure of ours from here on ends the command in
    // handleInvalidInput, after the steps done so far.
    bool invalid = false;
    try {
        results_.prepare(messages_);
        // One text at a time, so a failure leaves the fields before it updated.
        record_.diameterInput = convertNumberText(diameterInput_->text(), numbers_.locale);
        record_.flowRateInput = convertNumberText(flowRateInput_->text(), numbers_.locale);
        record_.lengthInput = convertNumberText(lengthInput_->text(), numbers_.locale);
        record_.temperatureInput = convertNumberText(temperatureInput_->text(), numbers_.locale);
        const auto medium = selectedMedium();
        const auto material = selectedMaterial();
        if (calculate(record_, medium, material, messages_) == CalculationOutcome::Warning) {
            invalid = true;
        } else {
            // A completed run had both selections.
            const int number =
                results_.write(resultOf(record_, *medium, *material), numbers_.format);
            resultsGrid_->showResult(number);
            refreshMoodyChart();
            announceResult(number);
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
    results_.prepare(messages_);
}

void MainWindow::handleInvalidInput() {
    messages_.showMessage("Üngültige Eingabe", WarningStyle, "Fehler");
    clearInputs();
    results_.prepare(messages_);
}

std::array<QLineEdit*, 4> MainWindow::inputBoxes() const {
    return {diameterInput_, flowRateInput_, lengthInput_, temperatureInput_};
}

void MainWindow::clearInputs() {
    for (QLineEdit* input : inputBoxes()) {
        input->clear();
    }
}

void MainWindow::showHelp() {
    messages_.showMessage(texts::helpPrompt(), InformationStyle, "Hilfe");
}

std::optional<Medium> MainWindow::selectedMedium() const {
    return checkedChoice(mediumOptions_, mediumOrder.items);
}

std::optional<Material> MainWindow::selectedMaterial() const {
    return checkedChoice(materialOptions_, materialOrder.items);
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
        writeResultsWorkbook(results_.values(), numbers_.format,
                             QFile::encodeName(path).toStdString());
    } catch (const WorkbookError& error) {
        messages_.showMessage(error.what(), WarningStyle, "Fehler");
    }
}

// Appends the results of a workbook below those standing, all of them or, when the file is
// unusable or holds more than still fit, none. Rows left out of a sheet edited by hand (a sum
// row, inputs no longer whole) are named once afterwards.
void MainWindow::importCommand() {
    const QPointer<QWidget> focusBefore = lastFocus_;
    const QString path = files_.openFileName(this);
    if (path.isEmpty()) {
        returnFocus(focusBefore);
        return;
    }
    try {
        const auto read = readResultsWorkbook(QFile::encodeName(path).toStdString());
        if (read.results.empty()) {
            messages_.showMessage(noResultsText, InformationStyle, "Information");
        } else {
            const int before = results_.count();
            results_.append(read.results, numbers_.format);
            resultsGrid_->showResult(results_.count());
            refreshMoodyChart();
            announceImport(before + 1, results_.count());
        }
        if (!read.leftOut.empty()) {
            messages_.showMessage(leftOutText(read.leftOut), InformationStyle, "Information");
        }
    } catch (const WorkbookError& error) {
        messages_.showMessage(error.what(), WarningStyle, "Fehler");
    } catch (const ResultsNotTaken& error) {
        messages_.showMessage(error.what(), WarningStyle, "Fehler");
    }
    returnFocus(focusBefore);
}

void MainWindow::returnFocus(QWidget* to) {
    if (to == nullptr || !to->isVisible() || !to->isEnabled()) {
        return;
    }
    activateWindow();
    to->setFocus(Qt::OtherFocusReason);
}

void MainWindow::describeRowCommand() {
    const QModelIndex current = resultsGrid_->currentIndex();
    const int number =
        current.isValid() ? current.row() + GridItemModel::fixedRows - headerRows + 1 : 0;
    const ResultValues* result = results_.find(number);
    if (result == nullptr) {
        announcement_->announce(QStringLiteral("Keine Ergebniszeile gewählt"), QString());
        return;
    }
    const QString origin =
        QString::fromStdString(describeOrigin(number, result->origin, numbers_.format));
    // Seen as the tooltip of the row, heard as an announcement: "Ergebnis 2", then the rest.
    const QRect cell = resultsGrid_->visualRect(current);
    QToolTip::showText(resultsGrid_->viewport()->mapToGlobal(cell.bottomLeft()), origin,
                       resultsGrid_->viewport(), cell);
    QStringList lines = origin.split(QLatin1Char('\n'));
    const QString name = lines.takeFirst();
    announcement_->announce(name, lines.join(QStringLiteral(", ")));
}

void MainWindow::showMoodyChart() {
    if (moodyWindow_ == nullptr) {
        moodyWindow_ = new MoodyWindow(messages_, files_, numbers_.locale, this);
    }
    // Beside the window as it stands now, each time the chart opens anew.
    if (!moodyWindow_->isVisible()) {
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
    std::optional<double> diameter = curveDiameterOf(results_.values());
    if (!diameter && std::isfinite(record_.diameter) && record_.diameter > 0) {
        diameter = record_.diameter;
    }
    moodyWindow_->setResults(moodyPointsOf(results_.values()), diameter);
}

void MainWindow::announceResult(int number) {
    const ResultValues* result = results_.find(number);
    if (result == nullptr) {
        return;
    }
    const auto header = [](int row, int col) {
        return QString::fromUtf8(headerText(row, col)).trimmed();
    };
    // Each value with the column's title and unit, in the texts the table shows.
    QStringList values;
    for (int col = 1; col < tableCols; ++col) {
        QString unit = header(1, col);
        unit.remove(QLatin1Char('[')).remove(QLatin1Char(']'));
        QString value =
            header(0, col) + QLatin1Char(' ') +
            QString::fromStdString(resultCellText(*result, number, col, numbers_.format));
        if (!unit.isEmpty() && unit != QLatin1String("-")) {
            value += QLatin1Char(' ') + unit;
        }
        values << value;
    }
    announcement_->announce(QStringLiteral("Ergebnis %1 eingetragen").arg(number),
                            values.join(QStringLiteral(", ")));
}

void MainWindow::announceImport(int first, int last) {
    const int count = last - first + 1;
    announcement_->announce(count == 1 ? QStringLiteral("1 Ergebnis eingelesen")
                                       : QStringLiteral("%1 Ergebnisse eingelesen").arg(count),
                            count == 1 ? QStringLiteral("Nr. %1").arg(first)
                                       : QStringLiteral("Nr. %1 bis %2").arg(first).arg(last));
}

void MainWindow::showInformation() {
    messages_.showMessage(texts::informationPrompt(), InformationStyle, "Über dieses Programm");
}

} // namespace kolmaris
