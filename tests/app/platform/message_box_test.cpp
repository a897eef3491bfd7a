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

TEST(QtMessageSink, ShowsARealModalBoxWithOneOkButton) {
    QtMessageSink sink;
    SeenBox seen;
    closeNextBox(seen);
    sink.showMessage("Bitte Medium wählen!", WarningStyle, "Fehler\r\n");

    ASSERT_TRUE(seen.shown);
    EXPECT_EQ(seen.title, "Fehler");
    EXPECT_EQ(seen.text, QStringLiteral("Bitte Medium wählen!"));
    EXPECT_EQ(seen.icon, QMessageBox::Warning);
    EXPECT_EQ(seen.buttons, QStringList{"OK"});
    EXPECT_EQ(seen.modality, Qt::ApplicationModal);
    EXPECT_EQ(seen.role, QAccessible::AlertMessage);
    EXPECT_EQ(seen.spokenTitle, "Fehler");
    EXPECT_EQ(seen.spokenText, QStringLiteral("Bitte Medium wählen!"));
}

TEST(QtMessageSink, ShowsPromptsAsPlainText) {
    QtMessageSink sink;
    SeenBox seen;
    closeNextBox(seen);
    sink.showMessage("<b>1 < 2</b>\r\nzweite Zeile", InformationStyle, "Information");

    ASSERT_TRUE(seen.shown);
    EXPECT_EQ(seen.text, "<b>1 < 2</b>\nzweite Zeile");
    EXPECT_EQ(seen.format, Qt::PlainText);
    EXPECT_EQ(seen.icon, QMessageBox::Information);
}

} // namespace
} // namespace kolmaris
