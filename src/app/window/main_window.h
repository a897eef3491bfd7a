#pragma once

#include "app/chart/moody_chart.h"
#include "calc/calculation.h"
#include "calc/message_sink.h"
#include "results/grid_model.h"
#include "results/number_format.h"
#include "results/result_row.h"

#include <QLocale>
#include <QMainWindow>

#include <array>
#include <functional>
#include <optional>

class QLineEdit;
class QRadioButton;

namespace kolmaris {

class FileDialogs;
class MoodyWindow;
class ResultsGridView;

// The program's only window, `ersteVersion`: inputs, the medium and material groups, the three
// command buttons, the results grid and the menus, placed at fixed positions.
//
// It owns the calculation record and the grid model. Messages go to `messages`, file names
// come from `files`; number texts are read and written with `locale`; `endProgram` is what
// "Exit" and "Beenden" run.
class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    MainWindow(MessageSink& messages, FileDialogs& files, const QLocale& locale,
               std::function<void()> endProgram, QWidget* parent = nullptr);
    ~MainWindow() override;

    const CalculationRecord& record() const { return record_; }
    const GridModel& grid() const { return grid_; }
    // What each result of the table was calculated from, numbered like the results.
    const ResultOrigins& origins() const { return origins_; }

private:
    // What the save dialog proposes.
    static QString proposedWorkbookName();

    void buildControls();
    void buildMenus();
    // Names and descriptions for screen readers, where Qt's own (captions) are missing or thin.
    void describeForAccessibility();

    // The command handlers.
    void calculateCommand();
    void newCalculationCommand();
    void showInformation();
    void showHelp();
    void exportCommand();
    void importCommand();
    void showMoodyChart();

    // The chart follows the table: called after every change of its results.
    void refreshMoodyChart();

    void handleInvalidInput();
    void clearInputs();
    std::optional<Medium> selectedMedium() const;
    std::optional<Material> selectedMaterial() const;

    MessageSink& messages_;
    FileDialogs& files_;
    QLocale locale_;
    NumberFormat numberFormat_;
    std::function<void()> endProgram_;

    CalculationRecord record_{};
    GridModel grid_;
    ResultOrigins origins_;

    std::array<QLineEdit*, 4> inputs_{};
    std::array<QRadioButton*, 4> media_{};
    std::array<QRadioButton*, 5> materials_{};
    ResultsGridView* gridView_ = nullptr;
    MoodyWindow* moodyWindow_ = nullptr; // made when first shown
};

} // namespace kolmaris
