#pragma once

#include "app/platform/number_text.h"
#include "fittings/fittings.h"
#include "results/result_row.h"
#include "results/section_loss.h"

#include <QDialog>

#include <array>
#include <functional>
#include <optional>
#include <vector>

class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTableWidget;

namespace kolmaris {

// "Einzelwiderstände" of one result: the catalogue one line a kind, each with its parameters,
// count, ζ and source, and Σζ, Z and R·l + Z of the row as the user types. "Übernehmen" hands
// the items with a count above 0 to `apply` and closes; "Schließen" and Esc change nothing.
// What is not usable is marked in its field and said below the table.
class FittingsDialog : public QDialog {
    Q_OBJECT

public:
    FittingsDialog(int resultNumber, const ResultValues& values, const NumberSettings& numbers,
                   std::function<void(const std::vector<FittingItem>&)> apply,
                   QWidget* parent = nullptr);

    // The items as typed, none while a line is unusable; and the section they give the row.
    const std::optional<std::vector<FittingItem>>& typedItems() const { return typed_; }
    const SectionLoss& shownSection() const { return shown_; }

public slots:
    // "Übernehmen": hands the typed items over and closes.
    void applyItems();
    // "Weitere Zeile": another line of the kind of the line that has the focus.
    void addLineOfFocusedKind();

private:
    struct Line {
        FittingKind kind = FittingKind::UserZeta;
        std::array<QLineEdit*, maxFittingParameters> fields{};
        QSpinBox* count = nullptr;
    };

    QString summaryText() const;
    void buildLayout();
    void buildTable();
    // A line for `item` at table row `row`.
    void insertLine(int row, const FittingItem& item);
    QWidget* parameterCell(Line& line, const FittingKindFacts& facts, const FittingItem& item);
    // The item a line stands for; none, with the fields marked and the reason in `problems`,
    // when a text is no number or outside its kind's range.
    std::optional<FittingItem> readLine(const Line& line, QStringList& problems);
    // Reads every line, fills the ζ cells and the sums.
    void refresh();
    void showLineZeta(int row, const std::optional<FittingItem>& item, QStringList& problems);
    void showSums();
    void orderTabs();
    void scrollToFocus(QWidget* now);

    int number_;
    ResultValues values_;
    NumberSettings numbers_;
    std::function<void(const std::vector<FittingItem>&)> apply_;
    std::optional<FittingFlow> flow_;
    QString flowProblem_;

    std::vector<Line> lines_; // in the table's order
    std::optional<std::vector<FittingItem>> typed_;
    SectionLoss shown_;

    QTableWidget* table_ = nullptr;
    QLabel* rowProblem_ = nullptr;
    QLabel* lineProblems_ = nullptr;
    QLabel* zetaSum_ = nullptr;
    QLabel* loss_ = nullptr;
    QLabel* total_ = nullptr;
    QPushButton* addButton_ = nullptr;
    QPushButton* applyButton_ = nullptr;
    QPushButton* closeButton_ = nullptr;
};

} // namespace kolmaris
