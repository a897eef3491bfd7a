#include "app/platform/announcement.h"

#include <QAccessible>
#include <QAccessibleWidget>

namespace kolmaris {

namespace {

// Qt gives a plain widget no role of its own; a notification is what it is.
QAccessibleInterface* notificationInterface(const QString& className, QObject* object) {
    if (className == QLatin1String(Announcement::staticMetaObject.className()) &&
        object->isWidgetType()) {
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Notification);
    }
    return nullptr;
}

} // namespace

Announcement::Announcement(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("announcement"));
    // Nothing to see and nothing to click: it has no size, takes no focus and stays hidden
    // until the first announcement.
    setGeometry(0, 0, 0, 0);
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hide();
    // Installing the same factory again changes nothing.
    QAccessible::installFactory(notificationInterface);
}

void Announcement::announce(const QString& name, const QString& details) {
    setAccessibleName(name);
    setAccessibleDescription(details);
    // Hidden and shown again, so that every announcement is a new "showing" event, even one
    // that says the same as the last.
    hide();
    show();
}

} // namespace kolmaris
