#include "exchange/reader_common.h"
#include "exchange/sheet_results.h"
#include "exchange/workbook.h"
#include "exchange/workbook_support.h"
#include "exchange/xml_bounds.h"
#include "hostile_workbooks.h"
#include "workbook_fixtures.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>

#include <sys/stat.h>

namespace kolmaris {
namespace {

using namespace exchange_detail;
using namespace test_support;
using Kind = WorkbookError::Kind;

// The message of the refusal, or "" when the call went through.
template <typename Read> std::string refusal(Read read) {
    try {
        read();
    } catch (const WorkbookError& e) {
        return e.what();
    }
    return {};
}

std::string boundsRefusal(const std::string& part) {
    return refusal([&] { checkXmlBounds(QByteArray::fromStdString(part)); });
}

std::string repeat(const std::string& unit, int count) {
    std::string out;
    for (int i = 0; i < count; ++i) {
        out += unit;
    }
    return out;
}

std::string attributes(int count, const char* name = "a") {
    std::string out;
    for (int i = 0; i < count; ++i) {
        out += " " + std::string(name) + std::to_string(i) + "=\"\"";
    }
    return out;
}

TEST(HostileXml, EachBoundHoldsAtItsLimitAndRefusesJustPastIt) {
    struct Case {
        const char* bound;
        std::string (*part)(int pastBy);
        const char* reason;
    };
    const Case cases[] = {
        {"depth",
         [](int pastBy) {
             const int depth = maxXmlDepth + pastBy;
             return repeat("<d>", depth - 1) + "<e/>" + repeat("</d>", depth - 1);
         },
         "zu tief verschachtelt"},
        {"attributes",
         [](int pastBy) { return "<e" + attributes(maxXmlAttributes + pastBy) + "/>"; },
         "zu viele Attribute"},
        {"namespaces in scope",
         [](int pastBy) {
             const int half = maxXmlNamespaces / 2;
             return "<d" + attributes(half, "xmlns:p") + "><e" +
                    attributes(maxXmlNamespaces - half + pastBy, "xmlns:q") + "/></d>";
         },
         "zu viele Namensräume"},
        {"tag length",
         [](int pastBy) {
             return "<e a=\"" + std::string(maxXmlTagBytes - 9 + pastBy, 'v') + "\"/>";
         },
         "zu lang"},
        {"items",
         [](int pastBy) {
             // seven in tags, a comment, an instruction, an attribute and a reference
             const int rest = maxXmlItems - 7 + pastBy;
             return "<r><!--c--><?p?><a b=\"&amp;\"/>" + repeat("<a/>", rest) + "</r>";
         },
         "mehr Einträge"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(boundsRefusal(c.part(0)), "") << c.bound;
        EXPECT_NE(boundsRefusal(c.part(1)).find(c.reason), std::string::npos) << c.bound;
    }
    // Closed elements give their depth and their declarations back.
    EXPECT_EQ(boundsRefusal(repeat("<e" + attributes(maxXmlNamespaces, "xmlns:p") + "/>", 3)), "");
    EXPECT_EQ(boundsRefusal(repeat(repeat("<d>", maxXmlDepth) + repeat("</d>", maxXmlDepth), 3)),
              "");
}

TEST(HostileXml, RefusesWhatTheScanCannotReadAsTheParserWould) {
    const std::string refused[] = {
        std::string("<r>\0</r>", 8),                                   // UTF-16 or -32 markup
        "<?xml version=\"1.0\" encoding=\"UTF-16\"?><r/>",             // another decoder
        "<?xml version=\"1.0\"?><!DOCTYPE r [<!ENTITY a \"a\">]><r/>", // entities
        "<r a=b/>",                                                    // unquoted value
    };
    for (const std::string& part : refused) {
        EXPECT_NE(boundsRefusal(part).find("beschädigt"), std::string::npos) << part;
    }
    // A '>' inside a value or a comment and a '<' inside CDATA are no markup.
    EXPECT_EQ(boundsRefusal("<?xml version='1.0' encoding='utf-8'?><r a=\"<>\">"
                            "<!-- <x> --><![CDATA[<x<x<x]]></r>"),
              "");
}

std::string readSheet(const QString& rows, const QString& tail = {}) {
    QByteArray sheet = worksheetXml(headerRowsXml() + rows);
    sheet.replace("</worksheet>", tail.toUtf8() + "</worksheet>");
    return refusal([&] { readResultsSheet(sheet.toStdString(), {}); });
}

TEST(HostileXml, TheReaderChecksItsPartsBeforeParsing) {
    const QString row = numberRowXml(3, goodRow);
    EXPECT_EQ(readSheet(row, QString::fromStdString("<x" + attributes(maxXmlAttributes) + "/>")),
              "");
    EXPECT_NE(readSheet(row, QString::fromStdString("<x" + attributes(maxXmlAttributes + 1) + "/>"))
                  .find("zu viele Attribute"),
              std::string::npos);
    // Every part it parses, the package's own ones included.
    auto parts = test_support::minimalWorkbookWithRows(row);
    parts[1].second.replace(
        "<Relationship ",
        QByteArray::fromStdString("<Relationship" + attributes(maxXmlAttributes + 1, "x") + " "));
    EXPECT_NE(refusal([&] { readResultsWorkbookBytes(zipBytes(parts)); }).find("Attribute"),
              std::string::npos);
}

TEST(HostileWorkbook, RefusesFormulasWithoutAValueAndResultsBelowTheTable) {
    // A formula with its value reads; without one the value is unknown.
    EXPECT_EQ(
        readSheet(numberRowXml(3, goodRow).replace("<v>1.23</v>", "<f>1+0.23</f><v>1.23</v>")), "");
    const std::string formula =
        readSheet(numberRowXml(3, goodRow).replace("<v>1.23</v>", "<f>1+0.23</f>"));
    EXPECT_NE(formula.find("In Zelle B3 steht eine Formel ohne gespeicherten Wert"),
              std::string::npos)
        << formula;

    // The table's last row takes a result; the row after it is outside, not a 29th result.
    EXPECT_EQ(readSheet(numberRowXml(headerRows + maxResults, goodRow)), "");
    const std::string below = readSheet(numberRowXml(headerRows + maxResults + 1, goodRow));
    EXPECT_NE(below.find("Zeile 31 liegt außerhalb der Ergebnistabelle"), std::string::npos)
        << below;
}

TEST(HostileWorkbook, RefusesTwoEntriesOfOneName) {
    auto parts = test_support::minimalWorkbookWithRows(numberRowXml(3, goodRow));
    EXPECT_EQ(readResultsWorkbookBytes(zipBytes(parts)).results.size(), 1u);
    for (const QString copy : {"xl/worksheets/sheet1.xml", "XL/Worksheets/Sheet1.XML"}) {
        auto doubled = parts;
        doubled.push_back({copy, worksheetXml(headerRowsXml())});
        try {
            readResultsWorkbookBytes(zipBytes(doubled));
            ADD_FAILURE() << "accepted " << copy.toStdString();
        } catch (const WorkbookError& e) {
            EXPECT_EQ(e.kind(), Kind::Damaged);
            EXPECT_NE(std::string(e.what()).find("mehrfach"), std::string::npos);
        }
    }
}

// `parts` with `edit` applied to the part called `name`.
template <typename Edit> PartList edited(PartList parts, const QString& name, Edit edit) {
    for (auto& [partName, content] : parts) {
        if (partName == name) {
            edit(content);
        }
    }
    return parts;
}

// `content` inserted just before the root element's end tag.
void insertInRoot(QByteArray& part, const QByteArray& content) {
    part.insert(part.lastIndexOf("</"), content);
}

TEST(HostileWorkbook, RefusesWhatTheUserCannotSeeAndWhatWouldReadSlowly) {
    const QString row = numberRowXml(3, goodRow);
    const PartList base = minimalWorkbookWithRows(row);
    const QString sheet = QStringLiteral("xl/worksheets/sheet1.xml");

    // An entry the lookup would take for the sheet, since it stops at the NUL. The name is
    // bent after zipping: no zip writer takes such a name.
    PartList shadowed = base;
    shadowed.insert(shadowed.begin(), {sheet + "#", worksheetXml(headerRowsXml())});
    std::string nulName = zipBytes(shadowed);
    for (std::size_t at; (at = nulName.find("sheet1.xml#")) != std::string::npos;) {
        nulName[at + 10] = '\0';
    }
    // Each part within the bound on markup items, the two together past it.
    const QByteArray items = QByteArray::fromStdString(repeat("<x/>", maxXmlItems / 2 + 1));
    PartList twoParts = edited(base, sheet, [&](QByteArray& b) { insertInRoot(b, items); });
    twoParts.push_back(
        {"xl/sharedStrings.xml", "<sst xmlns=\"" + QByteArray(mainNs) + "\">" + items + "</sst>"});

    const struct {
        const char* what;
        std::string file;
        const char* reason;
    } cases[] = {
        {"a NUL in an entry name", nulName, "ungültigem Namen"},
        {"every sheet hidden",
         zipBytes(edited(base, "xl/workbook.xml",
                         [](QByteArray& b) { b.replace("<sheet ", "<sheet state=\"hidden\" "); })),
         "kein sichtbares Tabellenblatt"},
        {"two values in a cell",
         zipBytes(minimalWorkbookWithRows(
             QString(row).replace("<v>1.23</v>", "<v>1.23</v><v>7.77</v>"))),
         "In Zelle B3 stehen zwei Werte"},
        {"blanks after the root element",
         zipBytes(
             edited(base, sheet, [](QByteArray& b) { b.append(maxXmlBytesOutsideRoot + 1, ' '); })),
         "Leerraum"},
        {"a relationships part past its own limit",
         zipBytes(
             edited(base, "_rels/.rels",
                    [](QByteArray& b) { insertInRoot(b, QByteArray(maxSmallPartBytes, ' ')); })),
         "zu groß"},
        {"markup items of two parts together", zipBytes(twoParts), "mehr Einträge"},
    };
    for (const auto& c : cases) {
        EXPECT_NE(refusal([&] { readResultsWorkbookBytes(c.file); }).find(c.reason),
                  std::string::npos)
            << c.what;
    }
    // A line break after the root is no padding.
    EXPECT_EQ(readResultsWorkbookBytes(
                  zipBytes(edited(base, sheet, [](QByteArray& b) { b.append("\r\n"); })))
                  .results.size(),
              1u);
}

// A table the program wrote whose names and notes all point at one string of megabytes: the
// values read, the inputs are left out as unknown, and with them the notes.
TEST(HostileWorkbook, TakesNoNameOrNoteFromAStringOfMegabytes) {
    const struct {
        const char* what;
        std::string unit;
    } cases[] = {
        {"separators", "; "},
        {"laminar notes", hostile::laminarNoteXml()},
    };
    for (const auto& c : cases) {
        const std::string file =
            hostile::packageBytes(hostile::oneHugeString(c.unit, maxPartBytes));
        const WorkbookResults read = readResultsWorkbookBytes(file);
        ASSERT_EQ(read.results.size(), std::size_t{maxResults}) << c.what;
        EXPECT_EQ(read.leftOut.size(), std::size_t{maxResults}) << c.what;
        EXPECT_EQ(read.leftOut.front(),
                  (LeftOutRow{headerRows + 1, LeftOutRow::Reason::Inputs, "L3 und M3 unbekannt"}));
        for (const ResultValues& v : read.results) {
            EXPECT_EQ(v.origin, ResultOrigin{}) << c.what;
        }
    }
}

TEST(HostileWorkbook, ReadsTheFirstSheetTheUserSees) {
    // A hidden sheet first, holding other values, and the table on the visible one after it.
    PartList parts = minimalWorkbookWithRows(numberRowXml(3, goodRow));
    parts.push_back(
        {"xl/worksheets/hidden.xml",
         worksheetXml(headerRowsXml() + numberRowXml(3, {"1", "9.99", "1", "1", "1", "0.01"}))});
    for (const char* state : {"hidden", "veryHidden"}) {
        auto hidden = edited(parts, "xl/workbook.xml", [&](QByteArray& b) {
            b.replace("<sheets>", "<sheets><sheet name=\"H\" sheetId=\"2\" state=\"" +
                                      QByteArray(state) + "\" r:id=\"rId2\"/>");
        });
        hidden = edited(hidden, "xl/_rels/workbook.xml.rels", [](QByteArray& b) {
            insertInRoot(b, "<Relationship Id=\"rId2\" Type=\"http://schemas.openxmlformats.org/"
                            "officeDocument/2006/relationships/worksheet\" "
                            "Target=\"worksheets/hidden.xml\"/>");
        });
        const auto read = readResultsWorkbookBytes(zipBytes(hidden)).results;
        ASSERT_EQ(read.size(), 1u) << state;
        EXPECT_EQ(read[0].velocity, 1.23) << state;
    }
}

TEST(HostileWorkbook, ReadsOnlyRegularFilesAndNeverWaitsOnAPipe) {
    QTemporaryDir dir;
    const std::string pipe = dir.filePath("pipe.xlsx").toStdString();
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    for (const std::string& path : {pipe, std::string("/dev/zero")}) {
        try {
            readResultsWorkbook(path); // would block or never end if it were read
            ADD_FAILURE() << "read " << path;
        } catch (const WorkbookError& e) {
            EXPECT_EQ(e.kind(), Kind::CannotOpen);
            EXPECT_NE(std::string(e.what()).find("keine gewöhnliche Datei"), std::string::npos);
        }
    }
}

} // namespace
} // namespace kolmaris
