#pragma once

#include <string>

namespace kolmaris {

// Style values of the modal message boxes: icon and buttons in one number.
enum MessageStyle : int {
    WarningStyle = 48,     // exclamation icon, one OK button
    InformationStyle = 64, // information icon, one OK button
};

// Where message boxes go. The window shows real modal boxes; tests record the calls.
// The call returns when the user has closed the box; which button was pressed is never used.
class MessageSink {
public:
    virtual ~MessageSink() = default;
    // Texts are UTF-8. Lines of a prompt are joined by CR LF.
    virtual void showMessage(const std::string& prompt, MessageStyle style,
                             const std::string& title) = 0;
};

// Shows nothing: for work that runs without a user to answer, such as the pipe sizing, an
// import's bookkeeping or a benchmark.
class SilentSink : public MessageSink {
public:
    void showMessage(const std::string&, MessageStyle, const std::string&) override {}
};

// The line break used inside prompts and titles: carriage return, line feed.
inline constexpr const char* crlf = "\r\n";

} // namespace kolmaris
