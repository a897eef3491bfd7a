#include "app/platform/qt_message_sink.h"

#include <QRegularExpression>
#include <QStringList>

namespace kolmaris {

namespace {

QMessageBox::Icon iconForStyle(MessageStyle style) {
    // Every message of this program has one OK button, so the style decides the icon alone.
    switch (style) {
    case WarningStyle:
        return QMessageBox::Warning;
    case InformationStyle:
        return QMessageBox::Information;
    }
    return QMessageBox::NoIcon;
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

MessageBoxContent messageBoxContent(const std::string& prompt, MessageStyle style,
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

void QtMessageSink::showMessage(const std::string& prompt, MessageStyle style,
                                const std::string& title) {
    const MessageBoxContent content = messageBoxContent(prompt, style, title);
    QMessageBox box(content.icon, content.title, content.text, QMessageBox::Ok, parent_.data());
    box.setTextFormat(Qt::PlainText); // a prompt is never markup, whatever it looks like
    box.setDefaultButton(QMessageBox::Ok);
    box.setEscapeButton(QMessageBox::Ok);
    box.exec();
}

} // namespace kolmaris
