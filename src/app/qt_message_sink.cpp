#include "qt_message_sink.h"

#include <QRegularExpression>
#include <QStringList>

namespace kolmaris {

namespace {

QMessageBox::Icon iconForStyle(int style) {
    // The icon is one of the style value's bits 16 to 64; the button bits are always "OK only"
    // for this program's messages.
    switch (style & 0x70) {
    case 16:
        return QMessageBox::Critical;
    case 32:
        return QMessageBox::Question;
    case 48:
        return QMessageBox::Warning;
    case 64:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

// Drops every control character except the line feed.
QString withoutControls(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (c == QLatin1Char('\n') || c.category() != QChar::Other_Control) {
            out.append(c);
        }
    }
    return out;
}

} // namespace

MessageBoxContent messageBoxContent(const std::string& prompt, int style,
                                    const std::string& title) {
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));

    MessageBoxContent content;
    content.icon = iconForStyle(style);

    QString text = QString::fromStdString(prompt);
    text.replace(lineBreak, QStringLiteral("\n"));
    content.text = withoutControls(text);

    QStringList titleLines = QString::fromStdString(title).split(lineBreak, Qt::SkipEmptyParts);
    content.title = withoutControls(titleLines.join(QLatin1Char(' ')));
    return content;
}

void QtMessageSink::showMessage(const std::string& prompt, int style, const std::string& title) {
    const MessageBoxContent content = messageBoxContent(prompt, style, title);
    QMessageBox box(content.icon, content.title, content.text, QMessageBox::Ok, parent_.data());
    box.setTextFormat(Qt::PlainText); // a prompt is never markup, whatever it looks like
    box.setDefaultButton(QMessageBox::Ok);
    box.setEscapeButton(QMessageBox::Ok);
    box.exec();
}

} // namespace kolmaris
