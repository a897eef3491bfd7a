#pragma once

#include "app/platform/number_text.h"

namespace kolmaris {

class ResultStore;
class ResultsGridView;

// Adds "Einzelwiderstände…" (for the result row the menu was opened on, by mouse or keyboard)
// and "Strang auswerten…" (the selected results, or all when at most one is selected) to
// `grid`'s actions, after those it has, so they show in its context menu. The fittings a user
// takes over are kept in `store`, which must outlive the grid.
void addFittingsActions(ResultsGridView& grid, ResultStore& store, const NumberSettings& numbers);

} // namespace kolmaris
