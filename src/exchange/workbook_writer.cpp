#include "exchange/workbook.h"
#include "exchange/workbook_support.h"

#include "calc/media.h"
#include "exchange/zip_memory.h"
#include "files/file_replacement.h"
#include "results/recalculation.h"
#include "results/section_loss.h"

#include <zip.h>

#include <algorithm>
#include <cmath>
#include <ctime>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace kolmaris {

namespace {

using namespace exchange_detail;

[[noreturn]] void cannotWrite(const std::string& reason) {
    fail(WorkbookError::Kind::CannotWrite, workbookSaveHeadline, reason);
}

const char* const xmlHeader = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";
const char* const mainNs = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
const char* const relationshipNs =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
const char* const sheetPart = "xl/worksheets/sheet1.xml";

// Text for element content and attribute values. Characters XML 1.0 cannot carry are dropped.
std::string escaped(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            if (static_cast<unsigned char>(c) >= 0x20 || c == '\t' || c == '\n' || c == '\r') {
                out += c;
            }
        }
    }
    return out;
}

// The number format of a table column: "0", "0.00" or "0.00000", as the table shows it.
std::string columnPattern(int col) {
    const int decimals = columnDecimals[col];
    return decimals > 0 ? "0." + std::string(static_cast<std::size_t>(decimals), '0') : "0";
}

// The distinct patterns of the table's columns and then of the origin columns that have one,
// each a cell style from 1 on (0 is "General").
std::vector<std::string> stylePatterns() {
    std::vector<std::string> patterns;
    const auto add = [&patterns](const std::string& pattern) {
        if (!pattern.empty() &&
            std::find(patterns.begin(), patterns.end(), pattern) == patterns.end()) {
            patterns.push_back(pattern);
        }
    };
    for (int c = 0; c < tableCols; ++c) {
        add(columnPattern(c));
    }
    for (const OriginColumn& column : originColumns) {
        add(column.pattern);
    }
    return patterns;
}

int patternStyle(const std::string& pattern) {
    if (pattern.empty()) {
        return 0;
    }
    const auto patterns = stylePatterns();
    return static_cast<int>(std::find(patterns.begin(), patterns.end(), pattern) -
                            patterns.begin()) +
           1;
}

int columnStyle(int col) {
    return patternStyle(columnPattern(col));
}

std::string stylesXml() {
    const auto patterns = stylePatterns();
    const std::string count = std::to_string(patterns.size());
    std::string numFmts = "<numFmts count=\"" + count + "\">";
    std::string xfs = "<cellXfs count=\"" + std::to_string(patterns.size() + 1) +
                      "\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\"/>";
    for (std::size_t i = 0; i < patterns.size(); ++i) {
        const std::string id = std::to_string(164 + i); // the first id free for own formats
        numFmts += "<numFmt numFmtId=\"" + id + "\" formatCode=\"" + patterns[i] + "\"/>";
        xfs += "<xf numFmtId=\"" + id +
               "\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\" applyNumberFormat=\"1\"/>";
    }
    return xmlHeader + std::string("<styleSheet xmlns=\"") + mainNs + "\">" + numFmts +
           "</numFmts><fonts count=\"1\"><font><sz val=\"11\"/><name val=\"Calibri\"/></font>"
           "</fonts><fills count=\"2\"><fill><patternFill patternType=\"none\"/></fill><fill>"
           "<patternFill patternType=\"gray125\"/></fill></fills><borders count=\"1\"><border>"
           "<left/><right/><top/><bottom/><diagonal/></border></borders><cellStyleXfs "
           "count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\"/>"
           "</cellStyleXfs>" +
           xfs +
           "</cellXfs><cellStyles count=\"1\"><cellStyle name=\"Normal\" xfId=\"0\" "
           "builtinId=\"0\"/></cellStyles></styleSheet>";
}

// The workbook's texts, each kept once and referred to by its index.
class SharedStrings {
public:
    int indexOf(const std::string& text) {
        const auto [it, added] = index_.emplace(text, static_cast<int>(texts_.size()));
        if (added) {
            texts_.push_back(text);
        }
        return it->second;
    }
    std::string xml() const {
        std::string out = xmlHeader + std::string("<sst xmlns=\"") + mainNs + "\" count=\"" +
                          std::to_string(texts_.size()) + "\" uniqueCount=\"" +
                          std::to_string(texts_.size()) + "\">";
        for (const std::string& text : texts_) {
            // The headers' leading blanks are part of them.
            out += "<si><t xml:space=\"preserve\">" + escaped(text) + "</t></si>";
        }
        return out + "</sst>";
    }

private:
    std::vector<std::string> texts_;
    std::map<std::string, int> index_;
};

// One sheet row's cells, written in column order.
class RowWriter {
public:
    RowWriter(int row, SharedStrings& strings) : row_(row), strings_(strings) {}

    // A value must read back as itself: a number that is none cannot be written.
    void number(int col, double value, int style = 0) {
        if (!std::isfinite(value)) {
            fail(WorkbookError::Kind::TableUnusable, workbookSaveHeadline,
                 "In Zelle " + cellName(row_, col) + " der Tabelle steht keine Zahl.");
        }
        cells_ += "<c r=\"" + cellName(row_, col) + "\"" +
                  (style > 0 ? " s=\"" + std::to_string(style) + "\"" : std::string()) + "><v>" +
                  xmlNumber(value) + "</v></c>";
    }
    void text(int col, const std::string& text) {
        if (!text.empty()) {
            cells_ += "<c r=\"" + cellName(row_, col) + "\" t=\"s\"><v>" +
                      std::to_string(strings_.indexOf(text)) + "</v></c>";
        }
    }
    std::string xml() const {
        return "<row r=\"" + std::to_string(row_ + 1) + "\">" + cells_ + "</row>";
    }

private:
    int row_;
    SharedStrings& strings_;
    std::string cells_;
};

// The row's fittings as their text, and Σζ, Z and R·l + Z as numbers where the row gives them
// a Z. Without fittings Z is 0, so that a spreadsheet can add R·l + Z along every row.
void writeFittings(RowWriter& row, const ResultValues& values) {
    try {
        row.text(firstInputCol + FittingItems, fittingsText(values.origin.fittings));
    } catch (const FittingError& error) {
        fail(WorkbookError::Kind::TableUnusable, workbookSaveHeadline, error.what());
    }
    const SectionLoss section = sectionLossOf(values);
    if (!section.fittings) {
        return;
    }
    const auto number = [&row](InputColumn col, double value) {
        row.number(firstInputCol + col, value, patternStyle(originColumns[col].pattern));
    };
    number(ZetaSum, section.fittings->zetaSum);
    number(FittingsZ, section.fittings->loss);
    number(SectionTotal, *section.total());
}

// The check calculation beside the result as numbers, where its inputs give one: the exact λ and
// the loss with it, with the program's properties, and for water in the IAPWS range the check
// with those properties as well.
void writeCheck(RowWriter& row, const ResultValues& values) {
    const auto check = checkOf(values);
    if (!check) {
        return;
    }
    const auto number = [&row](InputColumn col, double value) {
        row.number(firstInputCol + col, value, patternStyle(originColumns[col].pattern));
    };
    if (const auto& own = check->programProperties) {
        number(CheckLambda, own->lambda.value);
        number(CheckLambdaDeviation, own->lambda.deviation);
        number(CheckLoss, own->lossPerMetre.value);
        number(CheckLossDeviation, own->lossPerMetre.deviation);
    }
    if (const auto& iapws = check->iapws) {
        number(IapwsDensity, iapws->density.value);
        number(IapwsViscosity, iapws->viscosity.value * 1e6);
        number(IapwsReynolds, iapws->reynolds.value);
        number(IapwsLambda, iapws->lambda.value);
        number(IapwsLoss, iapws->lossPerMetre.value);
        number(IapwsLossDeviation, iapws->lossPerMetre.deviation);
    }
}

std::string sheetXml(const std::vector<ResultValues>& results, const NumberFormat& format,
                     SharedStrings& strings) {
    std::string rows;
    for (int r = 0; r < headerRows; ++r) {
        RowWriter row(r, strings);
        for (int c = 0; c < tableCols; ++c) {
            row.text(c, headerText(r, c));
        }
        for (int i = 0; i < inputCols; ++i) {
            row.text(firstInputCol + i, inputHeaderText(r, i));
        }
        rows += row.xml();
    }
    for (std::size_t n = 0; n < results.size(); ++n) {
        const ResultValues& v = results[n];
        RowWriter row(headerRows + static_cast<int>(n), strings);
        // The values the table shows, so the spreadsheet shows the table's texts.
        const double shown[tableCols] = {static_cast<double>(n + 1),
                                         v.velocity,
                                         v.lossPerMetre,
                                         v.lossTotal,
                                         v.reynolds,
                                         v.lambda};
        for (int c = 0; c < tableCols; ++c) {
            row.number(c, shownValue(shown[c], columnDecimals[c]), columnStyle(c));
        }
        if (const auto& in = v.origin.inputs) {
            const double inputs[numericInputs] = {in->diameter, in->flowRate, in->length,
                                                  in->temperature};
            for (int i = 0; i < numericInputs; ++i) {
                row.number(firstInputCol + i, inputs[i]);
            }
            row.text(firstInputCol + MediumName, nameOf(in->medium));
            row.text(firstInputCol + MaterialName, nameOf(in->material));
        }
        row.text(firstInputCol + Notes, notesText(v.origin, format));
        writeFittings(row, v);
        writeCheck(row, v);
        rows += row.xml();
    }
    std::string cols = "<cols><col min=\"1\" max=\"" + std::to_string(tableCols) +
                       "\" width=\"12.7109375\" customWidth=\"1\"/>";
    for (int i = 0; i < inputCols; ++i) {
        const std::string col = std::to_string(firstInputCol + i + 1);
        cols += "<col min=\"" + col + "\" max=\"" + col + "\" width=\"" +
                xmlNumber(originColumns[i].width) + "\" customWidth=\"1\"/>";
    }
    return xmlHeader + std::string("<worksheet xmlns=\"") + mainNs + "\" xmlns:r=\"" +
           relationshipNs + "\">" + cols + "</cols><sheetData>" + rows + "</sheetData></worksheet>";
}

std::string relationshipsXml(const std::vector<std::pair<std::string, std::string>>& targets) {
    std::string out = xmlHeader + std::string("<Relationships xmlns=\"http://schemas."
                                              "openxmlformats.org/package/2006/relationships\">");
    for (std::size_t i = 0; i < targets.size(); ++i) {
        out += "<Relationship Id=\"rId" + std::to_string(i + 1) + "\" Type=\"" + targets[i].first +
               "\" Target=\"" + targets[i].second + "\"/>";
    }
    return out + "</Relationships>";
}

using Parts = std::vector<std::pair<std::string, std::string>>; // name, content

// Every part of the package, built in memory before any file is touched.
Parts workbookParts(const std::vector<ResultValues>& results, const NumberFormat& format) {
    SharedStrings strings;
    const std::string sheet = sheetXml(results, format, strings);
    const std::string type = relationshipNs + std::string("/");
    const std::string office = "application/vnd.openxmlformats-officedocument.spreadsheetml.";
    const auto override = [](const std::string& part, const std::string& contentType) {
        return "<Override PartName=\"/" + part + "\" ContentType=\"" + contentType + "\"/>";
    };
    return {
        {"[Content_Types].xml",
         xmlHeader +
             std::string("<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/"
                         "content-types\"><Default Extension=\"rels\" ContentType=\"application/"
                         "vnd.openxmlformats-package.relationships+xml\"/><Default "
                         "Extension=\"xml\" ContentType=\"application/xml\"/>") +
             override("xl/workbook.xml", office + "sheet.main+xml") +
             override(sheetPart, office + "worksheet+xml") +
             override("xl/styles.xml", office + "styles+xml") +
             override("xl/sharedStrings.xml", office + "sharedStrings+xml") + "</Types>"},
        {"_rels/.rels", relationshipsXml({{type + "officeDocument", "xl/workbook.xml"}})},
        {"xl/workbook.xml",
         xmlHeader + std::string("<workbook xmlns=\"") + mainNs + "\" xmlns:r=\"" + relationshipNs +
             "\"><sheets><sheet name=\"Ergebnisse\" sheetId=\"1\" r:id=\"rId1\"/></sheets>"
             "</workbook>"},
        {"xl/_rels/workbook.xml.rels",
         relationshipsXml({{type + "worksheet", "worksheets/sheet1.xml"},
                           {type + "styles", "styles.xml"},
                           {type + "sharedStrings", "sharedStrings.xml"}})},
        {"xl/styles.xml", stylesXml()},
        {sheetPart, sheet},
        {"xl/sharedStrings.xml", strings.xml()},
    };
}

// The parts as one zip package, in memory: no file is touched until it is complete, and then
// one plain write puts it on the disk, so that a failure there keeps its cause.
std::string packageOf(const Parts& parts) {
    ZipMemory package;
    zlib_filefunc64_def io = zipMemoryIo(package);
    zipFile zip = zipOpen2_64("", APPEND_STATUS_CREATE, nullptr, &io);
    bool ok = zip != nullptr;
    zip_fileinfo entry{};
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    entry.tmz_date = {static_cast<uInt>(local.tm_sec),  static_cast<uInt>(local.tm_min),
                      static_cast<uInt>(local.tm_hour), static_cast<uInt>(local.tm_mday),
                      static_cast<uInt>(local.tm_mon),  static_cast<uInt>(local.tm_year + 1900)};
    for (auto part = parts.begin(); ok && part != parts.end(); ++part) {
        const std::string& content = part->second;
        ok = zipOpenNewFileInZip64(zip, part->first.c_str(), &entry, nullptr, 0, nullptr, 0,
                                   nullptr, Z_DEFLATED, Z_DEFAULT_COMPRESSION, 0) == ZIP_OK &&
             zipWriteInFileInZip(zip, content.data(), static_cast<unsigned>(content.size())) ==
                 ZIP_OK &&
             zipCloseFileInZip(zip) == ZIP_OK;
    }
    ok = zip != nullptr && zipClose(zip, nullptr) == ZIP_OK && ok; // frees the handle in any case
    if (!ok) {
        cannotWrite(package.outOfMemory ? "Der Arbeitsspeicher reicht nicht aus."
                                        : "Die Arbeitsmappe konnte nicht angelegt werden.");
    }
    return std::move(package.bytes);
}

} // namespace

void writeResultsWorkbook(const std::vector<ResultValues>& results, const NumberFormat& format,
                          const std::string& path) {
    if (results.size() > static_cast<std::size_t>(maxResults)) {
        fail(WorkbookError::Kind::TableUnusable, workbookSaveHeadline,
             "Die Tabelle hat mehr als " + resultCount(maxResults) + ".");
    }
    const std::string package = packageOf(workbookParts(results, format));
    try {
        replaceFileWith(path, package.data(), package.size());
    } catch (const FileError& error) {
        cannotWrite(error.what());
    }
}

} // namespace kolmaris
