#include "app/platform/qt_message_sink.h"
#include "box_closer.h"

#include <gtest/gtest.h>

namespace kolmaris {
namespace {

using test_support::closeNextBox;
using test_support::SeenBox;

TEST(MessageBoxContent, StyleValueChoosesTheIcon) {
    EXPECT_EQ(messageBoxContent("x", WarningStyle, "t").icon, QMessageBox::Warning);
    EXPECT_EQ(messageBoxContent("x", InformationStyle, "t").icon, QMessageBox::Information);
    EXPECT_EQ(messageBoxContent("x", static_cast<MessageStyle>(0), "t").icon, QMessageBox::NoIcon);
}

TEST(MessageBoxContent, PromptLinesBreakWithoutStrayGlyphs) {
    const MessageBoxContent content = messageBoxContent(
        "Tabelle ist voll!\r\nBitte in Excel abspeichern,\r\noder Programm neu starten",
        InformationStyle, "Information");
    EXPECT_EQ(content.text,
              "Tabelle ist voll!\nBitte in Excel abspeichern,\noder Programm neu starten");
    EXPECT_EQ(content.title, "Information");

    // Empty lines stay: the information box has two of them.
    EXPECT_EQ(messageBoxContent("a\r\n\r\nb", InformationStyle, "t").text, "a\n\nb");
    // Umlauts survive the trip from UTF-8, leading blanks too.
    EXPECT_EQ(messageBoxContent("  Üngültige Eingabe", WarningStyle, "t").text,
              QStringLiteral("  Üngültige Eingabe"));
}

TEST(MessageBoxContent, TitleLosesItsLineBreaks) {
    // The calculation's warnings carry "Fehler" followed by CR LF.
    EXPECT_EQ(messageBoxContent("Bitte Medium wählen!", WarningStyle, "Fehler\r\n").title,
              "Fehler");
    EXPECT_EQ(messageBoxContent("x", WarningStyle, "Fehler").title, "Fehler");
    EXPECT_EQ(messageBoxContent("x", WarningStyle, "a\r\nb\tc").title, "a bc");
}

TEST(QtMessageSink, ShowsARealModalPlainTextBoxWithOneOkButton) {
    struct Case {
        const char* message;
        MessageStyle style;
        const char* title;
        QString text;
        QString shownTitle;
        QMessageBox::Icon icon;
    };
    const Case cases[] = {
        {"Bitte Medium wählen!", WarningStyle, "Fehler\r\n", QStringLiteral("Bitte Medium wählen!"),
         "Fehler", QMessageBox::Warning},
        // Markup shows as typed.
        {"<b>1 < 2</b>\r\nzweite Zeile", InformationStyle, "Information",
         "<b>1 < 2</b>\nzweite Zeile", "Information", QMessageBox::Information},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        QtMessageSink sink;
        SeenBox seen;
        closeNextBox(seen);
        sink.showMessage(c.message, c.style, c.title);

        ASSERT_TRUE(seen.shown);
        EXPECT_EQ(seen.title, c.shownTitle);
        EXPECT_EQ(seen.text, c.text);
        EXPECT_EQ(seen.format, Qt::PlainText);
        EXPECT_EQ(seen.icon, c.icon);
        EXPECT_EQ(seen.buttons, QStringList{"OK"});
        EXPECT_EQ(seen.modality, Qt::ApplicationModal);
        EXPECT_EQ(seen.role, QAccessible::AlertMessage);
        EXPECT_EQ(seen.spokenTitle, c.shownTitle);
        EXPECT_EQ(seen.spokenText, c.text);
    }
}

} // namespace
} // namespace kolmaris
