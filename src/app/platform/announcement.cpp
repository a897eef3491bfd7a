#include "app/platform/announcement.h"

#include "app/platform/accessible_role.h"

#include <QAccessible>

namespace kolmaris {

Announcement::Announcement(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("announcement"));
    // Nothing to see and nothing to click: it has no size, takes no focus and stays hidden
    // until the first announcement.
    setGeometry(0, 0, 0, 0);
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hide();
    giveAccessibleRole<Announcement, QAccessible::Notification>();
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
