#pragma once

#include <QFont>
#include <QRect>
#include <QString>

class QDialog;
class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QWidget;

// Makes the window's controls the way its layout places them: named, at a fixed place, with
// the behaviour the window expects of each kind.
namespace kolmaris::controls {

QFont arial(qreal points, bool bold);

// Gives a control its name and its place.
template <typename Widget> Widget* place(Widget* widget, const char* name, const QRect& geometry) {
    widget->setObjectName(QLatin1String(name));
    widget->setGeometry(geometry);
    return widget;
}

QLabel* label(QWidget* parent, const char* name, const QString& caption, const QRect& geometry);
QLabel* boldLabel(QWidget* parent, const char* name, const QString& caption, const QRect& geometry,
                  qreal points);
// An input box that holds any text it is given, however long.
QLineEdit* textBox(QWidget* parent, const char* name, const QRect& geometry);
// Qt cuts a text at 32,767 characters without a word, and what is left may read as another
// number ("000…050" as 0): the conversion has to see the whole text.
void takeWholeText(QLineEdit& box);
// An option button that is a tab stop of its own.
QRadioButton* option(QWidget* frame, const char* name, const QString& caption,
                     const QRect& geometry);
// A button that neither Enter nor Esc presses.
QPushButton* button(QWidget* parent, const char* name, const QString& caption,
                    const QRect& geometry);
// A label for what a dialog has to say: plain text, wrapped to the dialog's width.
QLabel* messageLabel(QWidget* parent, const char* name);

// The closing buttons of the program's dialogs: "Übernehmen" (the default, described for a
// screen reader by `applyDescription`) and "Schließen", which rejects the dialog and so changes
// nothing, as Esc does.
struct ApplyCloseButtons {
    QDialogButtonBox* box;
    QPushButton* apply;
    QPushButton* close;
};
ApplyCloseButtons applyAndCloseButtons(QDialog& dialog, const QString& applyDescription);

// A one-pixel horizontal line from (x1, y) to (x2, y), in twips.
void line(QWidget* parent, const char* name, int x1, int y, int x2);

} // namespace kolmaris::controls
