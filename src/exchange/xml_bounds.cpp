#include "exchange/xml_bounds.h"

#include "exchange/workbook_support.h"

#include <array>
#include <cstring>
#include <string>

namespace kolmaris::exchange_detail {

namespace {

using Kind = WorkbookError::Kind;

[[noreturn]] void refuse(const char* reason) {
    fail(Kind::Damaged, "Die Datei kann nicht eingelesen werden.", reason);
}
[[noreturn]] void malformed() {
    refuse("Sie ist keine Excel-Arbeitsmappe (.xlsx) oder ist beschädigt.");
}

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool startsWith(const char* p, const char* end, const char* prefix) {
    const std::size_t n = std::strlen(prefix);
    return static_cast<std::size_t>(end - p) >= n && std::memcmp(p, prefix, n) == 0;
}

// Where `needle` starts at or after `p`, or `end`.
const char* find(const char* p, const char* end, const char* needle) {
    const std::size_t n = std::strlen(needle);
    while (p < end) {
        const auto* hit = static_cast<const char*>(std::memchr(p, needle[0], end - p));
        if (hit == nullptr || static_cast<std::size_t>(end - hit) < n) {
            return end;
        }
        if (std::memcmp(hit, needle, n) == 0) {
            return hit;
        }
        p = hit + 1;
    }
    return end;
}

bool equalsIgnoringCase(const char* p, const char* end, const char* word) {
    const std::size_t n = std::strlen(word);
    if (static_cast<std::size_t>(end - p) != n) {
        return false;
    }
    for (std::size_t i = 0; i < n; ++i) {
        const char a = p[i] >= 'A' && p[i] <= 'Z' ? static_cast<char>(p[i] - 'A' + 'a') : p[i];
        if (a != word[i]) {
            return false;
        }
    }
    return true;
}

// The parser switches its decoder to whatever the XML declaration names, and the scan below
// reads bytes as ASCII; so only UTF-8, which every spreadsheet writes, gets through.
void checkDeclaration(const char* p, const char* end) {
    const char* name = find(p, end, "encoding");
    if (name == end) {
        return;
    }
    p = name + std::strlen("encoding");
    while (p < end && (isSpace(*p) || *p == '=')) {
        ++p;
    }
    if (p == end || (*p != '"' && *p != '\'')) {
        malformed();
    }
    const char* value = p + 1;
    const auto* close = static_cast<const char*>(std::memchr(value, *p, end - value));
    if (close == nullptr || !equalsIgnoringCase(value, close, "utf-8")) {
        malformed();
    }
}

// Walks the markup the way the XML grammar splits it: text up to '<'; comments, CDATA and
// processing instructions up to their terminators; quoted attribute values skipped whole.
// Wherever the grammar is broken the parser would stop with an error, so the scan refuses too
// instead of guessing how the parser would go on.
class Scanner {
public:
    Scanner(const char* begin, const char* end, XmlBudget& budget)
        : p_(begin), end_(end), budget_(budget) {}

    void run() {
        while (p_ < end_) {
            const auto* markup = static_cast<const char*>(std::memchr(p_, '<', end_ - p_));
            if (depth_ == 0) {
                countOutside((markup == nullptr ? end_ : markup) - p_);
            }
            p_ = markup;
            if (p_ == nullptr) {
                return;
            }
            tag_ = p_;
            countItem();
            if (startsWith(p_, end_, "<!--")) {
                p_ = skipPast(p_ + 4, "-->");
            } else if (startsWith(p_, end_, "<![CDATA[")) {
                p_ = skipPast(p_ + 9, "]]>");
            } else if (startsWith(p_, end_, "<!")) {
                malformed(); // a document type declaration: the parts never have one
            } else if (startsWith(p_, end_, "<?")) {
                processingInstruction();
            } else if (startsWith(p_, end_, "</")) {
                endTag();
            } else {
                startTag();
            }
        }
    }

    void countItem() {
        if (--budget_.items < 0) {
            refuse("Sie enthält mehr Einträge, als eine Ergebnistabelle je braucht.");
        }
    }

private:
    // Before and after the root element only blanks may stand, and the parser takes them far
    // more slowly than text inside an element; a part needs no more than a line break there.
    void countOutside(std::ptrdiff_t bytes) {
        outside_ += bytes;
        if (outside_ > maxXmlBytesOutsideRoot) {
            refuse("Sie enthält zu viel Leerraum außerhalb ihrer Elemente.");
        }
    }

    const char* skipPast(const char* from, const char* terminator) {
        const char* at = find(from, end_, terminator);
        return at == end_ ? end_ : at + std::strlen(terminator);
    }

    // `at` is the last byte of the tag seen so far.
    void checkLength(const char* at) const {
        if (at - tag_ >= maxXmlTagBytes) {
            refuse("Ein Element ist zu lang.");
        }
    }

    void processingInstruction() {
        const char* close = find(p_ + 2, end_, "?>");
        checkLength(close == end_ ? end_ : close + 1);
        const char* target = p_ + 2;
        const char* targetEnd = target;
        while (targetEnd < close && !isSpace(*targetEnd)) {
            ++targetEnd;
        }
        if (equalsIgnoringCase(target, targetEnd, "xml")) {
            checkDeclaration(targetEnd, close);
        }
        p_ = close == end_ ? end_ : close + 2;
    }

    void endTag() {
        const auto* close = static_cast<const char*>(std::memchr(p_, '>', end_ - p_));
        checkLength(close == nullptr ? end_ : close);
        if (depth_ > 0) {
            --depth_;
            inScope_ -= declared_[static_cast<std::size_t>(depth_)];
        }
        p_ = close == nullptr ? end_ : close + 1;
    }

    void skipSpace() {
        while (p_ < end_ && isSpace(*p_)) {
            ++p_;
        }
    }

    void startTag() {
        ++p_;
        while (p_ < end_ && !isSpace(*p_) && *p_ != '>' && *p_ != '/') {
            ++p_;
        }
        int attributes = 0;
        int declarations = 0;
        for (;;) {
            checkLength(p_);
            skipSpace();
            if (p_ == end_) {
                return; // cut off: the parser fails at the end
            }
            if (*p_ == '>' || *p_ == '/') {
                break;
            }
            const char* name = p_;
            while (p_ < end_ && !isSpace(*p_) && *p_ != '=' && *p_ != '>' && *p_ != '/') {
                ++p_;
            }
            const char* nameEnd = p_;
            skipSpace();
            if (p_ == end_ || *p_ != '=') {
                malformed();
            }
            ++p_;
            skipSpace();
            if (p_ == end_ || (*p_ != '"' && *p_ != '\'')) {
                malformed();
            }
            const auto* close = static_cast<const char*>(std::memchr(p_ + 1, *p_, end_ - p_ - 1));
            p_ = close == nullptr ? end_ : close + 1;
            countItem();
            if (++attributes > maxXmlAttributes) {
                refuse("Ein Element hat zu viele Attribute.");
            }
            const std::size_t nameLength = static_cast<std::size_t>(nameEnd - name);
            if ((nameLength == 5 && std::memcmp(name, "xmlns", 5) == 0) ||
                (nameLength > 5 && std::memcmp(name, "xmlns:", 6) == 0)) {
                ++declarations;
            }
        }
        checkLength(*p_ == '/' ? p_ + 1 : p_);
        if (depth_ + 1 > maxXmlDepth) {
            refuse("Ihre Elemente sind zu tief verschachtelt.");
        }
        if (inScope_ + declarations > maxXmlNamespaces) {
            refuse("Sie deklariert zu viele Namensräume.");
        }
        if (*p_ == '/') {
            if (p_ + 1 == end_ || p_[1] != '>') {
                malformed();
            }
            p_ += 2; // an empty element opens and closes at once
            return;
        }
        ++p_;
        declared_[static_cast<std::size_t>(depth_)] = declarations;
        inScope_ += declarations;
        ++depth_;
    }

    const char* p_;
    const char* end_;
    const char* tag_ = nullptr;
    XmlBudget& budget_;
    std::ptrdiff_t outside_ = 0;
    int depth_ = 0;
    int inScope_ = 0;
    std::array<int, maxXmlDepth> declared_{}; // by each open element
};

} // namespace

void checkXmlBounds(const QByteArray& part, XmlBudget& budget) {
    const char* begin = part.constData();
    const char* end = begin + part.size();
    // Markup in UTF-16 or UTF-32 always holds NUL bytes, and XML never does.
    if (std::memchr(begin, '\0', static_cast<std::size_t>(part.size())) != nullptr) {
        malformed();
    }
    Scanner scanner(begin, end, budget);
    // Each reference costs the parser a lookup; there are never many.
    for (const char* p = begin; (p = static_cast<const char*>(std::memchr(p, '&', end - p))); ++p) {
        scanner.countItem();
    }
    scanner.run();
}

} // namespace kolmaris::exchange_detail
