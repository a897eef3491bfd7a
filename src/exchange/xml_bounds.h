#pragma once

#include <QByteArray>

// Bounds on the work an XML part can cause, checked on its bytes before any parser sees them.
// Byte limits alone do not bound a parse: a few megabytes of attributes on one element, or of
// nested namespace declarations, keep the XML parser busy for minutes, and deep nesting costs
// memory per level. Results workbooks, even saved again by a spreadsheet, stay far below these.
namespace kolmaris::exchange_detail {

inline constexpr int maxXmlDepth = 256;          // elements open at once
inline constexpr int maxXmlAttributes = 64;      // attributes of one element, xmlns included
inline constexpr int maxXmlNamespaces = 64;      // namespace declarations in scope at once
inline constexpr int maxXmlTagBytes = 64 * 1024; // one tag or processing instruction, < to >
// Tags, comments, CDATA sections, processing instructions, attributes and references ('&') of
// all the parts of one file together: the parser's time goes by these far more than by the
// bytes between them.
inline constexpr int maxXmlItems = 100000;
inline constexpr int maxXmlBytesOutsideRoot = 4096; // blanks before and after the root element

// The markup items a file may still hold, counted down by each of its parts.
struct XmlBudget {
    int items = maxXmlItems;
};

// Throws WorkbookError (Damaged) when the part exceeds a bound, holds a document type
// declaration or a NUL byte, or declares an encoding other than UTF-8.
void checkXmlBounds(const QByteArray& part, XmlBudget& budget);

// A part on its own.
inline void checkXmlBounds(const QByteArray& part) {
    XmlBudget budget;
    checkXmlBounds(part, budget);
}

} // namespace kolmaris::exchange_detail
