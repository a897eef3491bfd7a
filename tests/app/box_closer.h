#pragma once

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <functional>

namespace kolmaris::test_support {

// What a test saw of a real message box before it pressed OK.
struct SeenBox {
    bool shown = false;
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons;
    Qt::WindowModality modality = Qt::NonModal;
    Qt::TextFormat format = Qt::AutoText;
    QAccessible::Role role = QAccessible::NoRole; // what a screen reader is told
    QString spokenTitle;
    QString spokenText;
};

// Waits from the event loop of the next modal box for that box, records it and presses OK.
// Gives up after about five seconds by closing whatever modal widget is open, so a test can
// fail but never hang.
inline void closeNextBox(SeenBox& seen, int attempts = 500) {
    QTimer::singleShot(10, [&seen, attempts] {
        QWidget* modal = QApplication::activeModalWidget();
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (box == nullptr) {
            if (attempts > 0) {
                closeNextBox(seen, attempts - 1);
            } else if (modal != nullptr) {
                modal->close();
            }
            return;
        }
        seen.shown = true;
        seen.title = box->windowTitle();
        seen.text = box->text();
        seen.icon = box->icon();
        seen.modality = box->windowModality();
        seen.format = box->textFormat();
        QAccessibleInterface* spoken = QAccessible::queryAccessibleInterface(box);
        seen.role = spoken->role();
        seen.spokenTitle = spoken->text(QAccessible::Name);
        seen.spokenText = spoken->text(QAccessible::Value);
        for (QAbstractButton* button : box->buttons()) {
            seen.buttons << button->text();
        }
        if (QAbstractButton* ok = box->button(QMessageBox::Ok)) {
            ok->click();
        } else {
            box->close();
        }
    });
}

} // namespace kolmaris::test_support
