#include "fittings/fittings.h"
#include "fittings/reasons.h"

#include <charconv>
#include <cmath>

namespace kolmaris {

namespace {

using fittings_detail::checkItem;
using fittings_detail::decimalText;
using fittings_detail::itemPrefix;

constexpr std::string_view times = "×";  // U+00D7, what the text writes
constexpr std::size_t longestToken = 32; // a key or a number; the longest written is 24

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isKeyChar(char c) {
    return (c >= 'a' && c <= 'z') || isDigit(c) || c == '_';
}
// A point is taken in only to refuse it by name: the decimal separator is the comma.
bool isNumberChar(char c) {
    return isDigit(c) || c == ',' || c == '.' || c == 'e' || c == 'E' || c == '+' || c == '-';
}

// One pass over the text; every refusal names the item and the character where it stopped.
class Reader {
public:
    explicit Reader(std::string_view text) : text_(text) {}

    std::vector<FittingItem> items() {
        std::vector<FittingItem> items;
        skipBlanks();
        while (pos_ < text_.size()) {
            if (items.size() == maxFittingItems) {
                fail("mehr als " + std::to_string(maxFittingItems) +
                     " Einzelwiderstände in einer Zeile.");
            }
            items.push_back(item());
            skipBlanks();
            if (pos_ < text_.size()) {
                expect(';', "„;“ vor dem nächsten Einzelwiderstand");
                skipBlanks();
                if (pos_ == text_.size()) {
                    fail("nach „;“ fehlt ein Einzelwiderstand.");
                }
            }
        }
        return items;
    }

private:
    FittingItem item() {
        ++number_;
        facts_ = nullptr;
        FittingItem item;
        item.count = count();
        skipBlanks();
        if (text_.substr(pos_, times.size()) == times) {
            pos_ += times.size();
        } else {
            expect('x', "„×“ nach der Anzahl");
        }
        skipBlanks();
        const std::size_t start = pos_;
        const std::string_view key = token(isKeyChar);
        if (key.empty()) {
            fail("die Art fehlt.");
        }
        facts_ = key.size() <= longestToken ? findFittingKind(key) : nullptr;
        if (!facts_) {
            failAt(start, "unbekannte Art „" + std::string(key.substr(0, longestToken)) + "“.");
        }
        item.kind = facts_->kind;
        if (facts_->parameterCount > 0) {
            skipBlanks();
            expect('(', "„(“ vor den Parametern");
            for (std::size_t i = 0; i < facts_->parameterCount; ++i) {
                if (i > 0) {
                    expect(';', "„;“ zwischen den Parametern");
                }
                skipBlanks();
                const std::string_view name = facts_->parameters[i].key;
                if (text_.substr(pos_, name.size()) != name) {
                    fail("erwartet wird der Parameter „" + std::string(name) + "“.");
                }
                pos_ += name.size();
                skipBlanks();
                expect('=', "„=“ nach dem Parameter");
                skipBlanks();
                item.values[i] = value(facts_->parameters[i]);
                skipBlanks();
            }
            expect(')', "„)“ nach den Parametern");
        }
        checkItem(item, number_);
        return item;
    }

    int count() {
        const std::size_t start = pos_;
        const std::string_view digits = token(isDigit);
        if (digits.empty()) {
            fail("erwartet wird eine Anzahl.");
        }
        if (digits.size() > 3) {
            failAt(start, "die Anzahl " + std::string(digits.substr(0, longestToken)) +
                              " ist zu groß (höchstens " + std::to_string(maxFittingCount) + ").");
        }
        int n = 0;
        for (char c : digits) {
            n = n * 10 + (c - '0');
        }
        return n;
    }

    double value(const FittingParameter& p) {
        const std::size_t start = pos_;
        const std::string_view written = token(isNumberChar);
        if (written.empty()) {
            fail("erwartet wird eine Zahl für „" + std::string(p.key) + "“.");
        }
        const std::string_view shown = written.substr(0, longestToken);
        if (written.size() > longestToken) {
            fail("die Zahl „" + std::string(shown) + "…“ ist zu lang.");
        }
        if (written.find('.') != std::string_view::npos) {
            failAt(start, "„" + std::string(shown) + "“: Dezimaltrennzeichen ist das Komma.");
        }
        char plain[longestToken];
        for (std::size_t i = 0; i < written.size(); ++i) {
            plain[i] = written[i] == ',' ? '.' : written[i];
        }
        double v = 0;
        const char* last = plain + written.size();
        const auto [end, ec] = std::from_chars(plain, last, v);
        if (ec != std::errc() || end != last || !std::isfinite(v)) {
            failAt(start, "„" + std::string(shown) + "“ ist keine Zahl im Bereich der Rechnung.");
        }
        return v;
    }

    std::string_view token(bool (*belongs)(char)) {
        const std::size_t start = pos_;
        while (pos_ < text_.size() && belongs(text_[pos_])) {
            ++pos_;
        }
        return text_.substr(start, pos_ - start);
    }

    void skipBlanks() {
        while (pos_ < text_.size() && text_[pos_] == ' ') {
            ++pos_;
        }
    }

    // `what` is a literal, so that reading builds no text until it fails.
    void expect(char c, const char* what) {
        if (pos_ >= text_.size() || text_[pos_] != c) {
            fail(std::string("erwartet wird ") + what + ".");
        }
        ++pos_;
    }

    [[noreturn]] void fail(const std::string& reason) const { failAt(pos_, reason); }

    // The place in characters, not bytes, so "×" counts once.
    [[noreturn]] void failAt(std::size_t at, const std::string& reason) const {
        std::size_t place = 1;
        for (std::size_t i = 0; i < at && i < text_.size(); ++i) {
            place += (static_cast<unsigned char>(text_[i]) & 0xC0) != 0x80;
        }
        const std::string who = facts_ ? itemPrefix(number_, *facts_)
                                       : "Einzelwiderstand " + std::to_string(number_) + ": ";
        throw FittingError(who + "Zeichen " + std::to_string(place) + ": " + reason);
    }

    std::string_view text_;
    std::size_t pos_ = 0;
    std::size_t number_ = 0; // of the item being read, from 1
    const FittingKindFacts* facts_ = nullptr;
};

} // namespace

std::string fittingsText(const std::vector<FittingItem>& items) {
    checkFittingItems(items);
    std::string text;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const FittingItem& item = items[i];
        const FittingKindFacts& facts = factsOf(item.kind);
        if (i > 0) {
            text += "; ";
        }
        text += std::to_string(item.count);
        text += " ";
        text += times;
        text += " ";
        text += facts.key;
        for (std::size_t p = 0; p < facts.parameterCount; ++p) {
            text += p == 0 ? " (" : "; ";
            text += facts.parameters[p].key;
            text += "=";
            text += decimalText(item.values[p]);
        }
        if (facts.parameterCount > 0) {
            text += ")";
        }
    }
    return text;
}

std::vector<FittingItem> parseFittingsText(std::string_view text) {
    if (text.size() > maxFittingsTextLength) {
        throw FittingError("Der Text der Einzelwiderstände ist länger als die erlaubten " +
                           std::to_string(maxFittingsTextLength) + " Bytes.");
    }
    return Reader(text).items();
}

} // namespace kolmaris
