#pragma once

#include <QString>
#include <QXmlStreamReader>

// Small steps of reading a workbook part's XML, each refusing a damaged document.
namespace kolmaris::exchange_detail {

// Reads the next token; a malformed document or any DTD (the parts never have one, and it is
// the door to entity tricks) counts as damage.
QXmlStreamReader::TokenType nextToken(QXmlStreamReader& xml);

bool isStart(const QXmlStreamReader& xml, const char* localName);

// The text of a <t> element. Its content is text only.
QString elementText(QXmlStreamReader& xml);

// Walks to the end of the current element, however deep its content.
void skipElement(QXmlStreamReader& xml);

// The concatenated <t> texts of a string item (<si> or <is>), phonetic runs left out; ends
// after the item's end tag.
QString stringItemText(QXmlStreamReader& xml);

// The value of the relationship id attribute (r:id), whatever prefix its namespace got.
QString relationshipId(const QXmlStreamReader& xml);

} // namespace kolmaris::exchange_detail
