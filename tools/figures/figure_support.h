#pragma once
// What the figure generators share: messages echoed instead of shown, since no user is there to
// close a box, and the main window driven by its controls' names as a user would drive it.

#include "app/platform/file_dialogs.h"
#include "app/window/main_window.h"

#include <QAbstractButton>
#include <QLineEdit>

#include <cstdio>
#include <string>

namespace kolmaris::figures {

class EchoSink : public MessageSink {
public:
    void showMessage(const std::string& prompt, MessageStyle, const std::string& title) override {
        std::fprintf(stderr, "message \"%s\": %s\n", title.c_str(), prompt.c_str());
    }
};

// The main window under German settings, shown.
class DrivenWindow {
public:
    DrivenWindow() : window(messages, files, QLocale(QLocale::German, QLocale::Germany), [] {}) {
        window.show();
    }

    void click(const char* name) {
        window.findChild<QAbstractButton*>(QLatin1String(name))->click();
    }

    // Types diameter, flow, length and temperature into Text1 to Text4 and presses "Berechnen".
    void calculate(const char* const (&inputs)[4]) {
        const char* const boxes[] = {"Text1", "Text2", "Text3", "Text4"};
        for (int i = 0; i < 4; ++i) {
            window.findChild<QLineEdit*>(QLatin1String(boxes[i]))
                ->setText(QString::fromUtf8(inputs[i]));
        }
        click("Command1");
    }

    EchoSink messages;
    QtFileDialogs files;
    MainWindow window;
};

} // namespace kolmaris::figures
