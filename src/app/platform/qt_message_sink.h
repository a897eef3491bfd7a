#pragma once

#include "calc/message_sink.h"

#include <QMessageBox>
#include <QPointer>
#include <QString>
#include <QWidget>

namespace kolmaris {

// What a message box shows for one showMessage call.
struct MessageBoxContent {
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString title;
    QString text;
};

// Turns a prompt, style value and title into displayable texts. CR LF inside a prompt becomes
// a line break; a title holds one line, so its breaks (the calculation's warnings carry a
// trailing CR LF) and other control characters must not show up as glyphs there.
MessageBoxContent messageBoxContent(const std::string& prompt, MessageStyle style,
                                    const std::string& title);

// Shows every message as a real application-modal box with one OK button and returns when it
// has been closed.
class QtMessageSink : public MessageSink {
public:
    explicit QtMessageSink(QWidget* parent = nullptr) : parent_(parent) {}
    void setParentWidget(QWidget* parent) { parent_ = parent; }

    void showMessage(const std::string& prompt, MessageStyle style,
                     const std::string& title) override;

private:
    QPointer<QWidget> parent_;
};

} // namespace kolmaris
