#pragma once

#include "app/sizing/pipe_sizing_dialog.h"

#include <functional>

class QLineEdit;
class QWidget;

namespace kolmaris {

// Gives the diameter box its context menu: Qt's edit entries, a separator and "Rohrweite
// auslegen…", which opens the sizing dialog, over `window`, for the inputs `inputs` reads as
// they stand, numbers read and written with `numbers`. The menu goes through Qt's context-menu
// path, so the mouse, the context-menu key and Shift+F10 reach it alike. The dialog is window-modal
// without blocking the caller.
void installPipeSizingMenu(QWidget& window, QLineEdit& diameter,
                           std::function<SizingInputs()> inputs, const NumberSettings& numbers);

} // namespace kolmaris
