#include "app/platform/controls.h"

#include "app/platform/twips.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <limits>

namespace kolmaris::controls {

namespace {

// Every option button is a stop of its own when tabbing. Qt would leave only one button of a
// group in the tab chain, taking the others out whenever one of them gets the focus.
class OptionButton : public QRadioButton {
public:
    using QRadioButton::QRadioButton;

protected:
    void focusInEvent(QFocusEvent* event) override { QWidget::focusInEvent(event); }
};

} // namespace

QFont arial(qreal points, bool bold) {
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif); // the fallback where no face with Arial's metrics exists
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

QLabel* label(QWidget* parent, const char* name, const QString& caption, const QRect& geometry) {
    auto* widget = place(new QLabel(caption, parent), name, geometry);
    widget->setTextFormat(Qt::PlainText);
    widget->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return widget;
}

QLabel* boldLabel(QWidget* parent, const char* name, const QString& caption, const QRect& geometry,
                  qreal points) {
    auto* widget = label(parent, name, caption, geometry);
    widget->setFont(arial(points, true));
    return widget;
}

QLineEdit* textBox(QWidget* parent, const char* name, const QRect& geometry) {
    auto* box = place(new QLineEdit(parent), name, geometry);
    takeWholeText(*box);
    return box;
}

void takeWholeText(QLineEdit& box) {
    box.setMaxLength(std::numeric_limits<int>::max());
}

QRadioButton* option(QWidget* frame, const char* name, const QString& caption,
                     const QRect& geometry) {
    return place(new OptionButton(caption, frame), name, geometry);
}

QPushButton* button(QWidget* parent, const char* name, const QString& caption,
                    const QRect& geometry) {
    auto* widget = place(new QPushButton(caption, parent), name, geometry);
    // Neither Enter nor Esc may press a button of this window.
    widget->setAutoDefault(false);
    widget->setDefault(false);
    return widget;
}

// A one-pixel horizontal line from (x1, y) to (x2, y).
void line(QWidget* parent, const char* name, int x1, int y, int x2) {
    auto* widget = new QFrame(parent);
    widget->setObjectName(QLatin1String(name));
    widget->setFrameShape(QFrame::HLine);
    widget->setFrameShadow(QFrame::Plain);
    widget->setLineWidth(1);
    widget->setGeometry(fromTwips(x1), fromTwips(y), fromTwips(x2) - fromTwips(x1), 1);
}

QLabel* messageLabel(QWidget* parent, const char* name) {
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    return label;
}

ApplyCloseButtons applyAndCloseButtons(QDialog& dialog, const QString& applyDescription) {
    auto* box = new QDialogButtonBox(&dialog);
    QPushButton* apply = box->addButton(QStringLiteral("Übernehmen"), QDialogButtonBox::AcceptRole);
    apply->setObjectName(QStringLiteral("apply"));
    apply->setAccessibleDescription(applyDescription);
    apply->setDefault(true);
    QPushButton* close = box->addButton(QStringLiteral("Schließen"), QDialogButtonBox::RejectRole);
    close->setObjectName(QStringLiteral("close"));
    QObject::connect(close, &QPushButton::clicked, &dialog, &QDialog::reject);
    return {box, apply, close};
}

} // namespace kolmaris::controls
