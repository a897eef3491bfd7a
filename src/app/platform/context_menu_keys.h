#pragma once

#include <QObject>

namespace kolmaris {

// Opens the context menu of the focused widget with Shift+F10, as the context-menu key does.
// Installed on the application, it serves every widget of every window, menus added later
// included; a widget without a menu of its own passes the request to its parent, as Qt does
// with any context-menu request.
class ContextMenuKeys : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

    // Whether `event` asks for a context menu from the keyboard, besides the context-menu key
    // that the platform already turns into a request.
    static bool asksForContextMenu(const QEvent& event);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace kolmaris
