#pragma once

#include <QLocale>

class QWidget;

namespace kolmaris {

// Gives the main window's diameter box Text1 its context menu: Qt's edit entries, a separator
// and "Rohrweite auslegen…", which opens the sizing dialog for the window's inputs as they
// stand. The menu goes through Qt's context-menu path, so the mouse, the context-menu key and
// Shift+F10 reach it alike. The dialog is window-modal without blocking the caller.
void installPipeSizingMenu(QWidget& window, const QLocale& locale);

} // namespace kolmaris
