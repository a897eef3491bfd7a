#pragma once

#include "app/platform/number_text.h"
#include "calc/calculation.h"
#include "sizing/pipe_sizing.h"

#include <QDialog>
#include <QString>

#include <functional>
#include <optional>

class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace kolmaris {

// The main window's inputs as they stand: the texts of the flow, length and temperature boxes
// and the two selections.
struct SizingInputs {
    QString flowRate;
    QString length;
    QString temperature;
    std::optional<Medium> medium;
    std::optional<Material> material;
};

// "Rohrweite auslegen": every size of the material's standard series calculated as
// "Berechnen" would, checked against two limits, the smallest size within both recommended.
// "Übernehmen" hands the selected inner diameter to `apply` as a text that reads back exactly;
// nothing else leaves the dialog.
class PipeSizingDialog : public QDialog {
    Q_OBJECT

public:
    PipeSizingDialog(const SizingInputs& inputs, const NumberSettings& numbers,
                     std::function<void(const QString&)> apply, QWidget* parent = nullptr);

    // The table as shown: empty while the inputs are unusable; kept while a limit is invalid.
    const std::optional<SizingResult>& shownResult() const { return shown_; }

public slots:
    // "Übernehmen": hands over the selected size and closes.
    void applySelected();

private:
    void readInputs(const SizingInputs& inputs);
    void buildLayout();
    // The two limit fields with their labels.
    QGridLayout* buildLimits();
    // Reads the limits and, when both are usable, sizes again and fills the table.
    void refresh();
    std::optional<double> readLimit(QLineEdit* field, QLabel* label, QString& problems);
    // Sizes the table for the longest series, so that no row or column hides.
    void fitTable();
    void fillTable(const SizingResult& result, const SizingRequest& request);
    void showProblem(const QString& text);
    void selectionChanged();

    NumberSettings numbers_;
    std::function<void(const QString&)> apply_;

    // The request without its limits, when every input is usable.
    std::optional<SizingRequest> request_;
    QString summary_;
    QString inputProblem_;
    std::optional<SizingResult> shown_;

    QLabel* summaryLabel_ = nullptr;
    QLabel* problemLabel_ = nullptr;
    QLabel* velocityLabel_ = nullptr;
    QLabel* lossLabel_ = nullptr;
    QLineEdit* velocityLimit_ = nullptr;
    QLineEdit* lossLimit_ = nullptr;
    QLabel* limitProblemLabel_ = nullptr;
    QTableWidget* table_ = nullptr;
    QLabel* verdictLabel_ = nullptr;
    QPushButton* applyButton_ = nullptr;
    QPushButton* closeButton_ = nullptr;
};

} // namespace kolmaris
