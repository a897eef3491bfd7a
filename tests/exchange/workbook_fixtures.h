#pragma once

#include "package_support.h"

#include <QString>
#include <QStringList>

// Workbook packages written by hand, the way other programs write them.
namespace kolmaris::test_support {

inline const char* const mainNs = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
inline const char* const relNs =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships";

inline QByteArray worksheetXml(const QString& sheetData) {
    return QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>"
                          "<worksheet xmlns=\"%1\" xmlns:r=\"%2\"><sheetData>%3</sheetData>"
                          "</worksheet>")
        .arg(QLatin1String(mainNs), QLatin1String(relNs), sheetData)
        .toUtf8();
}

// The two header rows with inline strings, as a streaming writer puts them.
inline QString headerRowsXml() {
    auto text = [](const char* ref, const char* t) {
        return QStringLiteral(
                   "<c r=\"%1\" t=\"inlineStr\"><is><t xml:space=\"preserve\">%2</t></is></c>")
            .arg(QLatin1String(ref), QString::fromUtf8(t));
    };
    return QStringLiteral("<row r=\"1\">") + text("A1", "        Nr.") + text("B1", "   Geschw.") +
           text("C1", "     DV/m") + text("D1", "  DV Total") + text("E1", "   Reynold") +
           text("F1", "    Lamda") + QStringLiteral("</row><row r=\"2\">") +
           text("B2", "      [m/s]") + text("C2", "   [Pascal]") + text("D2", "   [Pascal]") +
           text("E2", "        [-]") + text("F2", "        [-]") + QStringLiteral("</row>");
}

// A result row of plain numbers; `values` are the six cell values as the XML writes them.
inline QString numberRowXml(int row, const QStringList& values) {
    QString out = QStringLiteral("<row r=\"%1\">").arg(row);
    for (int c = 0; c < values.size(); ++c) {
        out += QStringLiteral("<c r=\"%1%2\"><v>%3</v></c>")
                   .arg(QChar('A' + c))
                   .arg(row)
                   .arg(values[c]);
    }
    return out + QStringLiteral("</row>");
}

// One valid result row, the six cell values as the XML writes them.
inline const QStringList goodRow = {"1", "1.23", "45.67", "2283.5", "15433", "0.02346"};

// The smallest package a reader should take: workbook, its relationships and one sheet.
inline PartList minimalWorkbook(const QByteArray& sheet) {
    return {
        {"[Content_Types].xml",
         "<?xml version=\"1.0\"?><Types "
         "xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\"/>"},
        {"_rels/.rels",
         "<?xml version=\"1.0\"?><Relationships "
         "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\"><Relationship "
         "Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
         "officeDocument\" Target=\"xl/workbook.xml\"/></Relationships>"},
        {"xl/workbook.xml",
         QStringLiteral(
             "<?xml version=\"1.0\"?><workbook xmlns=\"%1\" xmlns:r=\"%2\"><sheets>"
             "<sheet name=\"Tabelle1\" sheetId=\"1\" r:id=\"rId1\"/></sheets></workbook>")
             .arg(QLatin1String(mainNs), QLatin1String(relNs))
             .toUtf8()},
        {"xl/_rels/workbook.xml.rels",
         "<?xml version=\"1.0\"?><Relationships "
         "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\"><Relationship "
         "Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
         "worksheet\" Target=\"worksheets/sheet1.xml\"/></Relationships>"},
        {"xl/worksheets/sheet1.xml", sheet},
    };
}

inline PartList minimalWorkbookWithRows(const QString& resultRows) {
    return minimalWorkbook(worksheetXml(headerRowsXml() + resultRows));
}

// The results workbook as a spreadsheet leaves it after opening and saving it again: shared
// strings with rich text, phonetic runs and trimmed blanks; styles; dimension, views and
// column widths; attributes in another order; a row and cells without references, a formula,
// a gap; a second sheet that comes first in the package, reached through an absolute target,
// and lying counts.
inline PartList resavedWorkbook() {
    const QByteArray contentTypes =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
        "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
        "<Default Extension=\"rels\" "
        "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
        "<Override PartName=\"/xl/workbook.xml\" "
        "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+"
        "xml\"/></Types>";
    const QByteArray rootRels =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
        "<Relationship Id=\"rId2\" "
        "Type=\"http://schemas.openxmlformats.org/package/2006/relationships/metadata/"
        "core-properties\" Target=\"docProps/core.xml\"/>"
        "<Relationship Target=\"xl/workbook.xml\" Id=\"rId1\" "
        "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
        "officeDocument\"/></Relationships>";
    const QByteArray workbook =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<x:workbook xmlns:x=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
        "xmlns:rel=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">"
        "<x:fileVersion appName=\"Calc\"/><x:workbookPr backupFile=\"false\"/>"
        "<x:bookViews><x:workbookView activeTab=\"0\"/></x:bookViews><x:sheets>"
        "<x:sheet rel:id=\"rId3\" name=\"Ergebnisse\" sheetId=\"1\" state=\"visible\"/>"
        "<x:sheet name=\"Notizen\" sheetId=\"2\" rel:id=\"rId2\"/></x:sheets>"
        "<x:calcPr iterateCount=\"100\"/></x:workbook>";
    const QByteArray workbookRels =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
        "<Relationship Id=\"rId1\" Target=\"styles.xml\" "
        "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles\"/>"
        "<Relationship Id=\"rId2\" Target=\"worksheets/sheet1.xml\" "
        "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet\"/>"
        "<Relationship Id=\"rId3\" Target=\"/xl/worksheets/sheet2.xml\" "
        "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet\"/>"
        "<Relationship Id=\"rId4\" Target=\"sharedStrings.xml\" "
        "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
        "sharedStrings\"/></Relationships>";
    const QByteArray styles =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<styleSheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
        "<numFmts count=\"1\"><numFmt numFmtId=\"164\" formatCode=\"0.00000\"/></numFmts>"
        "<fonts count=\"1\"><font><sz val=\"10\"/><name val=\"Arial\"/></font></fonts>"
        "<cellXfs count=\"5\"><xf numFmtId=\"0\"/><xf numFmtId=\"1\" applyNumberFormat=\"1\"/>"
        "<xf numFmtId=\"2\" applyNumberFormat=\"1\"/><xf numFmtId=\"0\"><alignment "
        "horizontal=\"right\"/></xf><xf numFmtId=\"164\" applyNumberFormat=\"1\"/></cellXfs>"
        "</styleSheet>";
    // Indexes: 0 Nr. 1 Geschw. 2 DV/m 3 DV Total 4 Reynold 5 Lamda 6 [m/s] 7 [Pascal] 8 [-]
    const QByteArray sharedStrings =
        QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                   "<sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
                   "count=\"999999\" uniqueCount=\"3\">"
                   "<si><t>Nr.</t></si>"
                   "<si><r><rPr><b val=\"true\"/></rPr><t>Gesch</t></r><r><t>w.</t></r></si>"
                   "<si><t>DV/m</t><rPh sb=\"0\" eb=\"1\"><t>ディーブイ</t></rPh></si>"
                   "<si><t xml:space=\"preserve\">  DV Total</t></si>"
                   "<si><t>Reynold</t></si><si><t>Lamda</t></si>"
                   "<si><t>[m/s]</t></si><si><t>[Pascal]</t></si><si><t>[-]</t></si></sst>");
    const QByteArray notes = worksheetXml(
        "<row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>Messung vom Montag</t></is></c></row>");
    const QByteArray sheet =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
        "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">"
        "<sheetPr filterMode=\"false\"><pageSetUpPr fitToPage=\"false\"/></sheetPr>"
        "<dimension ref=\"A1:F6\"/><sheetViews><sheetView tabSelected=\"1\" workbookViewId=\"0\">"
        "<selection activeCell=\"B3\" sqref=\"B3\"/></sheetView></sheetViews>"
        "<sheetFormatPr defaultRowHeight=\"12.8\"/><cols><col min=\"1\" max=\"6\" "
        "width=\"12.5\" customWidth=\"1\"/></cols><sheetData>"
        "<row r=\"1\" spans=\"1:6\" ht=\"12.8\" customHeight=\"1\">"
        "<c s=\"3\" t=\"s\" r=\"A1\"><v>0</v></c><c t=\"s\" r=\"B1\" s=\"3\"><v>1</v></c>"
        "<c r=\"C1\" t=\"s\"><v>2</v></c><c r=\"D1\" t=\"s\"><v>3</v></c>"
        "<c r=\"E1\" t=\"s\"><v>4</v></c><c r=\"F1\" t=\"s\"><v>5</v></c></row>"
        "<row r=\"2\"><c r=\"A2\" s=\"3\"/><c r=\"B2\" t=\"s\"><v>6</v></c>"
        "<c r=\"C2\" t=\"s\"><v>7</v></c><c r=\"D2\" t=\"s\"><v>7</v></c>"
        "<c r=\"E2\" t=\"s\"><v>8</v></c><c r=\"F2\" t=\"s\"><v>8</v></c></row>"
        "<row r=\"3\" spans=\"1:6\"><c r=\"A3\" s=\"1\" t=\"n\"><v>1</v></c>"
        "<c s=\"2\" r=\"B3\"><v>1.2300000000000001</v></c><c r=\"C3\" s=\"2\"><v>45.67</v></c>"
        "<c r=\"D3\" s=\"2\"><v>2283.5</v></c><c r=\"E3\" s=\"1\"><v>15433</v></c>"
        "<c r=\"F3\" s=\"4\"><v>2.3460000000000001E-2</v></c></row>"
        "<row><c s=\"1\"><f>A3+1</f><v>2</v></c><c s=\"2\"><v>0.5</v></c><c><v>3.25</v></c>"
        "<c><v>162.5</v></c><c><v>6275</v></c><c s=\"4\"><v>3.5119999999999998E-2</v></c></row>"
        "<row r=\"6\"><c r=\"B6\"><v>-2.1</v></c><c r=\"C6\"><v>100.01</v></c>"
        "<c r=\"D6\"><v>5000.5</v></c><c r=\"E6\"><v>64500</v></c><c r=\"F6\"><v>0.01987</v></c>"
        "<c r=\"G6\" s=\"3\"/></row>"
        "</sheetData><pageMargins left=\"0.79\" right=\"0.79\" top=\"1.05\" bottom=\"1.05\" "
        "header=\"0.79\" footer=\"0.79\"/><extLst><ext uri=\"{x}\"><foo/></ext></extLst>"
        "</worksheet>";
    return {
        {"[Content_Types].xml", contentTypes},
        {"_rels/.rels", rootRels},
        {"docProps/core.xml", "<?xml version=\"1.0\"?><coreProperties/>"},
        {"xl/_rels/workbook.xml.rels", workbookRels},
        {"xl/sharedStrings.xml", sharedStrings},
        {"xl/styles.xml", styles},
        {"xl/worksheets/sheet1.xml", notes},
        {"xl/worksheets/sheet2.xml", sheet},
        {"xl/workbook.xml", workbook},
    };
}

} // namespace kolmaris::test_support
