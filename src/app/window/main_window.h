#pragma once

#include "app/platform/number_text.h"
#include "calc/calculation.h"
#include "calc/media.h"
#include "calc/message_sink.h"
#include "results/grid_model.h"
#include "results/result_row.h"
#include "results/result_store.h"

#include <QLocale>
#include <QMainWindow>
#include <QPointer>

#include <array>
#include <functional>
#include <optional>

class QLineEdit;
class QPushButton;
class QRadioButton;

namespace kolmaris {

class Announcement;
class FileDialogs;
class MoodyWindow;
class ResultsGridView;

// The main window, `ersteVersion`: inputs, the medium and material groups, the three
// command buttons, the results grid and the menus, placed at fixed positions.
//
// It owns the calculation record and the results, which own the grid's texts. Messages go to
// `messages`, file names come from `files`; number texts are read and written with `locale`;
// `endProgram` is what "Exit" and "Beenden" run.
class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    MainWindow(MessageSink& messages, FileDialogs& files, const QLocale& locale,
               std::function<void()> endProgram, QWidget* parent = nullptr);
    ~MainWindow() override;

    const CalculationRecord& record() const { return record_; }
    // The table's texts, and the results they show as numbers with their origins.
    const GridModel& grid() const { return results_.grid(); }
    const ResultStore& results() const { return results_; }

private:
    // What the save dialog proposes.
    static QString proposedWorkbookName();

    void buildControls();
    void buildResultsGrid(QWidget* client);
    void setFocusOrder();
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
    // Shows and tells what the grid's current row came from.
    void describeRowCommand();
    // After a command that ran a file dialog: the keyboard focus where it was before, which
    // not every window manager gives back.
    void returnFocus(QWidget* to);

    // The chart follows the table: called after every change of its results.
    void refreshMoodyChart();
    // Tells a screen reader what the last command wrote, with the focus left where it is.
    void announceResult(int number);
    void announceImport(int first, int last);

    void handleInvalidInput();
    void clearInputs();
    // The four input boxes in the order of their texts: diameter, flow, length, temperature.
    std::array<QLineEdit*, 4> inputBoxes() const;
    std::optional<Medium> selectedMedium() const;
    std::optional<Material> selectedMaterial() const;

    MessageSink& messages_;
    FileDialogs& files_;
    NumberSettings numbers_;
    std::function<void()> endProgram_;

    CalculationRecord record_{};
    ResultStore results_;

    // The controls the commands use; their objectName is the layout's name (Text1, ...).
    QLineEdit* diameterInput_ = nullptr;    // Text1
    QLineEdit* flowRateInput_ = nullptr;    // Text2
    QLineEdit* lengthInput_ = nullptr;      // Text3
    QLineEdit* temperatureInput_ = nullptr; // Text4
    // In the order of the media and material tables.
    std::array<QRadioButton*, std::size(mediumTable)> mediumOptions_{};     // Option1(0) to 4
    std::array<QRadioButton*, std::size(materialTable)> materialOptions_{}; // Option5 to 9
    QPushButton* calculateButton_ = nullptr;                                // Command1
    QPushButton* newCalculationButton_ = nullptr;                           // Command2
    QPushButton* exitButton_ = nullptr;                                     // Command3
    ResultsGridView* resultsGrid_ = nullptr;                                // MSFlexGrid1
    MoodyWindow* moodyWindow_ = nullptr;                                    // made when first shown
    Announcement* announcement_ = nullptr;                                  // heard, never seen
    QPointer<QWidget> lastFocus_; // the control in the window that last had the focus
};

} // namespace kolmaris
