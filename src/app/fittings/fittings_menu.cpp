#include "app/fittings/fittings_menu.h"

#include "app/fittings/fittings_dialog.h"
#include "app/fittings/run_window.h"
#include "app/grid/results_grid.h"
#include "results/result_store.h"
#include "results/table_layout.h"

#include <QAction>

namespace kolmaris {

namespace {

int resultNumberOf(int gridRow) {
    return gridRow - headerRows + 1;
}

void openFittingsDialog(ResultsGridView& grid, ResultStore& store, const NumberSettings& numbers) {
    const int number = resultNumberOf(grid.commandRow());
    const ResultValues* values = store.find(number);
    if (values == nullptr) {
        return;
    }
    // Window-modal: no command can change the table while the dialog is open, so the number
    // still names the same result when the items are taken over.
    auto* dialog = new FittingsDialog(
        number, *values, numbers,
        [&store, number](const std::vector<FittingItem>& items) {
            store.setFittings(number, items);
        },
        grid.window());
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->open();
}

// The results selected, when there are at least two of them; otherwise all.
std::vector<RunSection> runSections(const ResultsGridView& grid, const ResultStore& store) {
    std::vector<RunSection> sections;
    for (const int row : grid.selectedRows()) {
        if (const ResultValues* values = store.find(resultNumberOf(row))) {
            sections.push_back({resultNumberOf(row), *values});
        }
    }
    if (sections.size() < 2) {
        sections.clear();
        for (int number = 1; number <= store.count(); ++number) {
            sections.push_back({number, *store.find(number)});
        }
    }
    return sections;
}

} // namespace

void addFittingsActions(ResultsGridView& grid, ResultStore& store, const NumberSettings& numbers) {
    auto* fittings = new QAction(QStringLiteral("Einzelwiderstände…"), &grid);
    fittings->setObjectName(QStringLiteral("editFittings"));
    QObject::connect(fittings, &QAction::triggered, &grid,
                     [&grid, &store, numbers] { openFittingsDialog(grid, store, numbers); });
    auto* run = new QAction(QStringLiteral("Strang auswerten…"), &grid);
    run->setObjectName(QStringLiteral("evaluateRun"));
    QObject::connect(run, &QAction::triggered, &grid, [&grid, &store, numbers] {
        std::vector<RunSection> sections = runSections(grid, store);
        if (sections.empty()) {
            return;
        }
        auto* window = new RunWindow(std::move(sections), numbers, grid.window());
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->show();
    });
    // Each entry only where it has something to work on.
    QObject::connect(&grid, &ResultsGridView::contextMenuOpening, fittings,
                     [&store, fittings, run](int gridRow) {
                         fittings->setEnabled(store.find(resultNumberOf(gridRow)) != nullptr);
                         run->setEnabled(store.count() > 0);
                     });
    grid.addActions({fittings, run});
}

} // namespace kolmaris
