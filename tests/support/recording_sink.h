#pragma once

#include "calc/message_sink.h"

#include <string>
#include <vector>

namespace kolmaris::test_support {

struct RecordedMessage {
    std::string prompt;
    MessageStyle style;
    std::string title;
    bool operator==(const RecordedMessage& o) const {
        return prompt == o.prompt && style == o.style && title == o.title;
    }
};

// Stands in for the modal boxes: remembers each one and returns at once, as if OK was pressed.
class RecordingSink : public MessageSink {
public:
    void showMessage(const std::string& prompt, MessageStyle style,
                     const std::string& title) override {
        messages.push_back({prompt, style, title});
    }
    std::vector<std::string> prompts() const {
        std::vector<std::string> out;
        for (const auto& m : messages) {
            out.push_back(m.prompt);
        }
        return out;
    }
    std::vector<RecordedMessage> messages;
};

} // namespace kolmaris::test_support
