#pragma once

#include "app/platform/number_text.h"
#include "results/result_row.h"
#include "results/section_loss.h"

#include <QDialog>

#include <vector>

class QLabel;
class QTableWidget;

namespace kolmaris {

// A result as a section of the run, with its number in the table.
struct RunSection {
    int number = 0;
    ResultValues values;
};

// "Strang auswerten": the sections in series, one line each with R·l, Σζ, Z, R·l + Z and the
// running sum, and the total in Pa, mbar, kPa and as the head of the medium. The window shows
// the sections as they were when it opened; "Kopieren" and Ctrl+C put it all on the clipboard
// as tab-separated text, as the grid copies.
class RunWindow : public QDialog {
    Q_OBJECT

public:
    RunWindow(std::vector<RunSection> sections, const NumberSettings& numbers,
              QWidget* parent = nullptr);

    const RunLoss& run() const { return run_; }
    // The table's header rows and lines, then the totals, tab-separated.
    QString copyText() const;

public slots:
    void copyToClipboard() const;

private:
    void fillTable();
    // The lines below the table: the total in its units, the head, what the total lacks.
    QStringList totalLines() const;
    QString sectionNumbers() const;

    std::vector<RunSection> sections_;
    NumberSettings numbers_;
    RunLoss run_;
    QTableWidget* table_ = nullptr;
    QLabel* totals_ = nullptr;
};

} // namespace kolmaris
