#pragma once

#include <QWidget>

namespace kolmaris {

// What a screen reader should say without the focus moving: an object that is never seen,
// which screen readers know as a notification. Each announce() shows it anew, and the
// "showing" event of a notification is what they speak (its name, then its description).
class Announcement : public QWidget {
    Q_OBJECT

public:
    explicit Announcement(QWidget* parent);

    void announce(const QString& name, const QString& details);
};

} // namespace kolmaris
