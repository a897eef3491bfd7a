#pragma once

#include "app/platform/file_dialogs.h"
#include "app/window/main_window.h"
#include "locales.h"
#include "recording_sink.h"

#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <ostream>

namespace kolmaris::test_support {

inline const RecordedMessage invalidInput{"Üngültige Eingabe", WarningStyle, "Fehler"};
inline const RecordedMessage noMedium{"Bitte Medium wählen!", WarningStyle, "Fehler\r\n"};
inline const RecordedMessage tableFull{
    "Tabelle ist voll!\r\nBitte in Excel abspeichern,\r\noder Programm neu starten",
    InformationStyle, "Information"};

// Answers the window's file questions with names set beforehand, and counts the questions.
class ScriptedFileDialogs : public FileDialogs {
public:
    QString saveFileName(QWidget*, const QString& proposedName) override {
        ++asked;
        proposed = proposedName;
        return saveName;
    }
    QString openFileName(QWidget*) override {
        ++asked;
        return openName;
    }
    QString pictureFileName(QWidget*, const QString& proposedName) override {
        ++asked;
        proposed = proposedName;
        return pictureName;
    }
    QString reportFileName(QWidget*, const QString& proposedName) override {
        ++asked;
        proposed = proposedName;
        return reportName;
    }
    QString saveName; // empty: the user cancels
    QString openName;
    QString pictureName;
    QString reportName;
    QString proposed;
    int asked = 0;
};

// A shown main window with recorded messages and a counted end of the program.
class Window {
public:
    explicit Window(const QLocale& locale, MessageSink* sink = nullptr)
        : locale_(locale), window_(std::make_unique<MainWindow>(sink ? *sink : messages, files,
                                                                locale, [this] { ++ended; })) {
        window_->show();
    }

    MainWindow& operator*() { return *window_; }
    MainWindow* operator->() { return window_.get(); }

    template <typename Widget> Widget* find(const char* name) {
        auto* widget = window_->findChild<Widget*>(QLatin1String(name));
        if (widget == nullptr) {
            ADD_FAILURE() << "no widget " << name;
        }
        return widget;
    }

    // Writes the number with the locale's decimal separator, typed key by key.
    void type(const char* box, const char* number) {
        QLineEdit* edit = find<QLineEdit>(box);
        edit->clear();
        QTest::keyClicks(edit, localised(number));
    }
    QString localised(const char* number) const {
        return QString::fromUtf8(number).replace(QLatin1Char(','), locale_.decimalPoint());
    }
    QString text(const char* box) { return find<QLineEdit>(box)->text(); }

    void press(const char* button) { QTest::mouseClick(find<QPushButton>(button), Qt::LeftButton); }
    void choose(const char* option) {
        QRadioButton* radio = find<QRadioButton>(option);
        QTest::mouseClick(radio, Qt::LeftButton, {}, QPoint(6, radio->height() / 2));
    }
    bool chosen(const char* option) { return find<QRadioButton>(option)->isChecked(); }

    void typeValidInputs() {
        type("Text1", "50");
        type("Text2", "100");
        type("Text3", "10");
        type("Text4", "20");
    }
    // n completed calculations of water in black iron; their messages are forgotten.
    void addResults(int n) {
        choose("Option1_0");
        choose("Option6");
        typeValidInputs();
        for (int i = 0; i < n; ++i) {
            press("Command1");
        }
        messages.messages.clear();
    }

    QString cell(int row, int col) {
        return QString::fromStdString(window_->grid().cell(row, col));
    }
    int results() { return window_->results().count(); }
    bool inputsEmpty() {
        return text("Text1").isEmpty() && text("Text2").isEmpty() && text("Text3").isEmpty() &&
               text("Text4").isEmpty();
    }

    RecordingSink messages;
    ScriptedFileDialogs files;
    int ended = 0;

private:
    QLocale locale_;
    std::unique_ptr<MainWindow> window_;
};

} // namespace kolmaris::test_support
