#include "app/platform/context_menu_keys.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QWidget>

namespace kolmaris {

bool ContextMenuKeys::asksForContextMenu(const QEvent& event) {
    if (event.type() != QEvent::KeyPress) {
        return false;
    }
    const auto& key = static_cast<const QKeyEvent&>(event);
    return key.key() == Qt::Key_F10 && (key.modifiers() & ~Qt::KeypadModifier) == Qt::ShiftModifier;
}

bool ContextMenuKeys::eventFilter(QObject* watched, QEvent* event) {
    if (!asksForContextMenu(*event) || !watched->isWidgetType()) {
        return QObject::eventFilter(watched, event);
    }
    // An open menu or list keeps the keys to itself.
    if (QApplication::activePopupWidget() != nullptr) {
        return false;
    }
    QWidget* target = QApplication::focusWidget();
    if (target == nullptr) {
        target = static_cast<QWidget*>(watched);
    }
    if (!target->isEnabled()) {
        return true;
    }
    // Where the platform puts a keyboard menu: at the text cursor or the current item, else in
    // the middle of the widget. A scrolled view gives its item in the viewport's coordinates.
    const auto* area = qobject_cast<const QAbstractScrollArea*>(target);
    const QWidget* itemsIn = area != nullptr ? area->viewport() : target;
    const QRect at = target->inputMethodQuery(Qt::ImCursorRectangle).toRect();
    const QPoint pos = at.isValid() && itemsIn->rect().contains(at.center())
                           ? itemsIn->mapTo(target, at.center())
                           : target->rect().center();
    QContextMenuEvent request(QContextMenuEvent::Keyboard, pos, target->mapToGlobal(pos),
                              static_cast<QKeyEvent*>(event)->modifiers());
    QApplication::sendEvent(target, &request);
    return true;
}

} // namespace kolmaris
