#pragma once

// Workbooks built to make a reader work hard: elements with many attributes, namespace
// declarations nested deep, one huge text in every cell, and so on, repeated. Used by the reader
// benchmark (at the reader's bounds) and by the fuzz seed generator (at them and just past them).

#include "exchange/workbook.h"

#include <unzip.h>
#include <zip.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include <unistd.h>

namespace kolmaris::hostile {

using Parts = std::vector<std::pair<std::string, std::string>>;

inline const char* const mainNs = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";

// The two header rows of a results table, as inline strings.
inline std::string headerRows() {
    const char* const texts[2][6] = {
        {"        Nr.", "   Geschw.", "     DV/m", "  DV Total", "   Reynold", "    Lamda"},
        {"", "      [m/s]", "   [Pascal]", "   [Pascal]", "        [-]", "        [-]"}};
    std::string out;
    for (int r = 0; r < 2; ++r) {
        out += "<row r=\"" + std::to_string(r + 1) + "\">";
        for (int c = 0; c < 6; ++c) {
            if (texts[r][c][0] != '\0') {
                out += std::string("<c r=\"") + static_cast<char>('A' + c) + std::to_string(r + 1) +
                       "\" t=\"inlineStr\"><is><t xml:space=\"preserve\">" + texts[r][c] +
                       "</t></is></c>";
            }
        }
        out += "</row>";
    }
    return out;
}

// A results sheet: `rootAttributes` on the root, `rows` after the header rows, `tail` after
// the sheet data, where readers skip what they do not know.
inline std::string sheet(const std::string& rootAttributes, const std::string& rows,
                         const std::string& tail) {
    return std::string("<?xml version=\"1.0\" encoding=\"UTF-8\"?><worksheet xmlns=\"") + mainNs +
           "\"" + rootAttributes + "><sheetData>" + headerRows() + rows + "</sheetData>" + tail +
           "</worksheet>";
}

// `unit` `count` times.
inline std::string repeated(const std::string& unit, std::size_t count) {
    std::string out;
    out.reserve(unit.size() * count);
    for (std::size_t i = 0; i < count; ++i) {
        out += unit;
    }
    return out;
}

// Each shape below comes in `count` units; the comment says what one unit holds.

// One element with `attributes` distinct attributes, all names of one length.
inline std::string manyAttributes(int attributes, std::size_t count) {
    std::string unit = "<x";
    for (int i = 0; i < attributes; ++i) {
        unit += " a" + std::to_string(10000 + i) + "=\"\"";
    }
    return sheet("", "", repeated(unit + "/>", count));
}

// `declarations` prefixes declared on the root; a unit is one element with `attributes`
// attributes, every name using the prefix declared first, which a lookup reaches last.
inline std::string manyNamespaces(int declarations, int attributes, std::size_t count) {
    std::string root;
    for (int i = 0; i < declarations; ++i) {
        root += " xmlns:n" + std::to_string(1000 + i) + "=\"urn:" + std::to_string(i) + "\"";
    }
    std::string unit = "<n1000:x";
    for (int i = 0; i < attributes; ++i) {
        unit += " n1000:a" + std::to_string(100 + i) + "=\"\"";
    }
    return sheet(root, "", repeated(unit + "/>", count));
}

// A nest of `depth` levels, each declaring `declarations` namespaces: `depth` elements and
// `depth * declarations` attributes.
inline std::string deepNesting(int depth, int declarations, std::size_t count) {
    std::string open;
    std::string close;
    for (int level = 0; level < depth; ++level) {
        open += "<d";
        for (int i = 0; i < declarations; ++i) {
            open += " xmlns:p" + std::to_string(level * declarations + i) + "=\"u\"";
        }
        open += ">";
        close += "</d>";
    }
    return sheet("", "", repeated(open + close, count));
}

// Empty cells beyond the table, up to a sheet row's 16384 per row; a unit is one cell.
inline std::string emptyCells(std::size_t count) {
    std::string rows;
    for (int r = 31; count > 0; ++r) {
        const std::size_t cells = std::min<std::size_t>(count, 16384);
        rows += "<row r=\"" + std::to_string(r) + "\">" + repeated("<c/>", cells) + "</row>";
        count -= cells;
    }
    return sheet("", rows, "");
}

// `unit` (text, comments, CDATA, references, long tags) inside one element.
inline std::string between(const std::string& unit, std::size_t count) {
    return sheet("", "", "<x>" + repeated(unit, count) + "</x>");
}

// Shared strings; a unit is one item of `text`.
inline std::string manyStrings(const std::string& text, std::size_t count) {
    return std::string("<?xml version=\"1.0\"?><sst xmlns=\"") + mainNs + "\">" +
           repeated("<si><t>" + text + "</t></si>", count) + "</sst>";
}

// A package with the workbook part and its relationships around `sheetXml`, plus `extra`.
inline Parts workbookParts(const std::string& sheetXml, const Parts& extra = {}) {
    const std::string rels = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
    Parts parts = {
        {"_rels/.rels", "<?xml version=\"1.0\"?><Relationships xmlns=\"http://schemas."
                        "openxmlformats.org/package/2006/relationships\"><Relationship Id=\"rId1\""
                        " Type=\"" +
                            rels +
                            "/officeDocument\" Target=\"xl/workbook.xml\"/>"
                            "</Relationships>"},
        {"xl/workbook.xml", std::string("<?xml version=\"1.0\"?><workbook xmlns=\"") + mainNs +
                                "\" xmlns:r=\"" + rels +
                                "\"><sheets><sheet name=\"T\" "
                                "sheetId=\"1\" r:id=\"rId1\"/></sheets></workbook>"},
        {"xl/_rels/workbook.xml.rels",
         "<?xml version=\"1.0\"?><Relationships xmlns=\"http://schemas.openxmlformats.org/"
         "package/2006/relationships\"><Relationship Id=\"rId1\" Type=\"" +
             rels +
             "/worksheet\" Target=\"worksheets/sheet1.xml\"/><Relationship Id=\"rId2\" Type=\"" +
             rels + "/sharedStrings\" Target=\"sharedStrings.xml\"/></Relationships>"},
        {"xl/worksheets/sheet1.xml", sheetXml},
    };
    parts.insert(parts.end(), extra.begin(), extra.end());
    return parts;
}

// `part` grown to `bytes` with `fill`: after its content, or inside its root element just
// before the root's end tag. Text costs a parser time by the byte where no bound on markup
// applies.
inline std::string padded(std::string part, char fill, bool inside, std::size_t bytes) {
    const std::size_t at = inside ? part.rfind("</") : part.size();
    return part.insert(at, bytes - part.size(), fill);
}

// The entries of the zip package at `path`, in its order.
inline Parts packageEntries(const std::string& path) {
    Parts parts;
    unzFile zip = unzOpen64(path.c_str());
    bool ok = zip != nullptr;
    for (int at = ok ? unzGoToFirstFile(zip) : UNZ_END_OF_LIST_OF_FILE; ok && at == UNZ_OK;
         at = unzGoToNextFile(zip)) {
        char name[256];
        ok = unzGetCurrentFileInfo64(zip, nullptr, name, sizeof name, nullptr, 0, nullptr, 0) ==
                 UNZ_OK &&
             unzOpenCurrentFile(zip) == UNZ_OK;
        std::string content;
        char chunk[65536];
        for (int n; ok && (n = unzReadCurrentFile(zip, chunk, sizeof chunk)) != 0;) {
            ok = n > 0;
            content.append(chunk, static_cast<std::size_t>(std::max(n, 0)));
        }
        ok = unzCloseCurrentFile(zip) == UNZ_OK && ok;
        parts.emplace_back(name, std::move(content));
    }
    if (zip != nullptr) {
        unzClose(zip);
    }
    if (!ok) {
        throw std::runtime_error("cannot read the package " + path);
    }
    return parts;
}

inline std::string& partNamed(Parts& parts, const std::string& name) {
    for (auto& [path, content] : parts) {
        if (path == name) {
            return content;
        }
    }
    throw std::runtime_error("no part " + name);
}

// A workbook's parts with one more shared string, `head` and then `unit` (XML text, escaped
// already) as often as the strings part can take within `bytes`, and every shared-string cell
// of the result rows in `columns` (letters, such as "LMN") pointed at it.
inline Parts oneStringInColumns(Parts parts, const std::string& columns, const std::string& head,
                                const std::string& unit, std::size_t bytes) {
    std::string& strings = partNamed(parts, "xl/sharedStrings.xml");
    std::size_t index = 0;
    for (std::size_t at = 0; (at = strings.find("<si>", at)) != std::string::npos; ++at) {
        ++index;
    }
    const std::string open = "<si><t xml:space=\"preserve\">";
    const std::string close = "</t></si>";
    const std::size_t room =
        bytes - std::min(bytes, strings.size() + open.size() + close.size() + head.size());
    strings.insert(strings.rfind("</sst>"),
                   open + head + repeated(unit, room / unit.size()) + close);
    std::string& sheet = partNamed(parts, "xl/worksheets/sheet1.xml");
    for (const char column : columns) {
        const std::string cell = std::string("<c r=\"") + column;
        for (std::size_t at = 0; (at = sheet.find(cell, at)) != std::string::npos; ++at) {
            const std::size_t end = sheet.find("</c>", at);
            const std::size_t value = sheet.find("t=\"s\"><v>", at);
            const bool result = std::atoi(sheet.c_str() + at + cell.size()) > 2; // not a title
            if (result && value < end) {
                const std::size_t digits = value + 9;
                sheet.replace(digits, sheet.find("</v>", digits) - digits, std::to_string(index));
            }
        }
    }
    return parts;
}

// The parts of a workbook the program writes: `rows` laminar results of water in black iron,
// each with its inputs and its note.
inline Parts writtenWorkbook(int rows) {
    std::vector<ResultValues> results;
    for (int i = 0; i < rows; ++i) {
        ResultValues v{0.02 + i, 0.5, 1.5, 400, 0.16};
        v.origin.inputs = ResultInputs{20, 0.4 + i, 3, 20, Medium::Water, Material::BlackIron};
        v.origin.notes = {{ResultNote::Kind::Laminar, 0.16}};
        results.push_back(v);
    }
    char name[] = "/tmp/kolmaris-written-XXXXXX";
    const int fd = ::mkstemp(name);
    if (fd < 0) {
        throw std::runtime_error("no temporary file");
    }
    ::close(fd);
    writeResultsWorkbook(results, NumberFormat{','}, name);
    Parts parts = packageEntries(name);
    std::remove(name);
    return parts;
}

// A full table the program wrote, whose medium, material and notes cells all point at one
// shared string: a blank, then `unit` as often as `bytes` of strings part allow.
inline Parts oneHugeString(const std::string& unit, std::size_t bytes) {
    return oneStringInColumns(writtenWorkbook(maxResults), "LMN", " ", unit, bytes);
}

// The note a laminar row of writtenWorkbook() has, and its separator, as XML text.
inline std::string laminarNoteXml() {
    std::string text;
    for (const char c :
         noteText({ResultNote::Kind::Laminar, 0.16}, Medium::Water, NumberFormat{','}) + "; ") {
        text += c == '<' ? std::string("&lt;") : std::string(1, c);
    }
    return text;
}

// The parts deflated into a zip package, in this order, duplicates allowed.
inline std::string packageBytes(const Parts& parts) {
    char name[] = "/tmp/kolmaris-hostile-XXXXXX";
    const int fd = ::mkstemp(name);
    if (fd < 0) {
        throw std::runtime_error("no temporary file");
    }
    ::close(fd);
    zipFile zip = zipOpen64(name, APPEND_STATUS_CREATE);
    bool ok = zip != nullptr;
    for (const auto& [path, content] : parts) {
        ok = ok &&
             zipOpenNewFileInZip64(zip, path.c_str(), nullptr, nullptr, 0, nullptr, 0, nullptr,
                                   Z_DEFLATED, Z_DEFAULT_COMPRESSION, 1) == ZIP_OK &&
             zipWriteInFileInZip(zip, content.data(), static_cast<unsigned>(content.size())) ==
                 ZIP_OK &&
             zipCloseFileInZip(zip) == ZIP_OK;
    }
    ok = zip != nullptr && zipClose(zip, nullptr) == ZIP_OK && ok;
    std::string bytes;
    if (std::FILE* file = std::fopen(name, "rb")) {
        char chunk[65536];
        for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, file)) > 0;) {
            bytes.append(chunk, n);
        }
        std::fclose(file);
    }
    std::remove(name);
    if (!ok) {
        throw std::runtime_error("cannot write the package");
    }
    return bytes;
}

} // namespace kolmaris::hostile
