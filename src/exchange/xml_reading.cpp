#include "exchange/xml_reading.h"

#include "exchange/reader_common.h"

namespace kolmaris::exchange_detail {

// Reads the next token; a malformed document or any DTD (the parts never have one, and it is
// the door to entity tricks) counts as damage.
QXmlStreamReader::TokenType nextToken(QXmlStreamReader& xml) {
    const auto token = xml.readNext();
    if (xml.hasError() || token == QXmlStreamReader::DTD ||
        token == QXmlStreamReader::EntityReference) {
        damaged();
    }
    return token;
}

bool isStart(const QXmlStreamReader& xml, const char* localName) {
    return xml.isStartElement() && xml.name() == QLatin1String(localName);
}

// The text of a <t> element. Its content is text only.
QString elementText(QXmlStreamReader& xml) {
    const QString text = xml.readElementText(QXmlStreamReader::ErrorOnUnexpectedElement);
    if (xml.hasError()) {
        damaged();
    }
    return text;
}

// Walks to the end of the current element, however deep its content.
void skipElement(QXmlStreamReader& xml) {
    for (int depth = 1; depth > 0;) {
        const auto token = nextToken(xml);
        if (token == QXmlStreamReader::StartElement) {
            ++depth;
        } else if (token == QXmlStreamReader::EndElement) {
            --depth;
        } else if (token == QXmlStreamReader::EndDocument) {
            damaged();
        }
    }
}

// The concatenated <t> texts of a string item (<si> or <is>), phonetic runs left out; ends
// after the item's end tag.
QString stringItemText(QXmlStreamReader& xml) {
    QString text;
    for (int depth = 1; depth > 0;) {
        const auto token = nextToken(xml);
        if (token == QXmlStreamReader::StartElement) {
            if (xml.name() == QLatin1String("t")) {
                text += elementText(xml);
                if (text.size() > maxPartBytes) {
                    tooLarge();
                }
            } else if (xml.name() == QLatin1String("rPh")) {
                skipElement(xml);
            } else {
                ++depth;
            }
        } else if (token == QXmlStreamReader::EndElement) {
            --depth;
        } else if (token == QXmlStreamReader::EndDocument) {
            damaged();
        }
    }
    return text;
}

// The value of the relationship id attribute (r:id), whatever prefix its namespace got.
QString relationshipId(const QXmlStreamReader& xml) {
    for (const auto& attribute : xml.attributes()) {
        if (attribute.name() == QLatin1String("id") && !attribute.namespaceUri().isEmpty()) {
            return attribute.value().toString();
        }
    }
    return {};
}

} // namespace kolmaris::exchange_detail
