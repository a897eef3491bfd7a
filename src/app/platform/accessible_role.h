#pragma once

#include <QAccessible>
#include <QAccessibleWidget>
#include <QString>
#include <QWidget>

namespace kolmaris {

// Qt gives a plain widget the role of a filler, which screen readers pass over. Gives the
// widgets of class `Widget` the role `role` instead; called from their constructor, since
// installing the same factory again changes nothing.
template <typename Widget, QAccessible::Role role> void giveAccessibleRole() {
    QAccessible::installFactory([](const QString& className, QObject* object) {
        if (className == QLatin1String(Widget::staticMetaObject.className()) &&
            object->isWidgetType()) {
            return static_cast<QAccessibleInterface*>(
                new QAccessibleWidget(static_cast<QWidget*>(object), role));
        }
        return static_cast<QAccessibleInterface*>(nullptr);
    });
}

} // namespace kolmaris
