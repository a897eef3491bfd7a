#include "exchange/sheet_results.h"
#include "exchange/workbook.h"
#include "exchange/workbook_support.h"
#include "exchange/xml_bounds.h"
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
