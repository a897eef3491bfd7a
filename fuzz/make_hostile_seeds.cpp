// Writes hostile workbook seeds for fuzz_workbook_reader into the folder given: each of the
// reader's bounds at its limit and just past it, and the files that once got through (an
// uncalculated formula, a result below the table, two entries of one name, parts padded with
// blanks, a name cut by a NUL, a hidden first sheet, a cell with two values, one string of
// megabytes in every name and notes cell). Run at fuzz time,
// so the repository keeps the generator instead of the files.
#include "exchange/reader_common.h"
#include "exchange/xml_bounds.h"
#include "hostile_workbooks.h"

#include <cstdio>
#include <string>

using namespace kolmaris;
using namespace kolmaris::exchange_detail;

namespace {

const std::string goodRow = "<row r=\"3\"><c r=\"A3\"><v>1</v></c><c r=\"B3\"><v>1.23</v></c>"
                            "<c r=\"C3\"><v>45.67</v></c><c r=\"D3\"><v>2283.5</v></c>"
                            "<c r=\"E3\"><v>15433</v></c><c r=\"F3\"><v>0.02346</v></c></row>";

bool save(const std::string& folder, const std::string& name, char layer,
          const std::string& bytes) {
    std::FILE* file = std::fopen((folder + "/" + name).c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    // The target's first byte: even for a whole package, odd for a sheet part alone.
    const bool ok = std::fputc(layer, file) != EOF &&
                    std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && ok;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[1];
    bool ok = true;
    for (int past = 0; past <= 1; ++past) {
        const std::string suffix = past ? "_past" : "_at";
        ok = ok && save(folder, "hostile_attributes" + suffix, 1,
                        hostile::manyAttributes(maxXmlAttributes + past, 4));
        ok = ok && save(folder, "hostile_namespaces" + suffix, 1,
                        hostile::manyNamespaces(maxXmlNamespaces - 1 + past, 8, 4));
        ok = ok && save(folder, "hostile_nested_namespaces" + suffix, 1,
                        hostile::deepNesting(maxXmlNamespaces - 1 + past, 1, 2));
        ok = ok && save(folder, "hostile_depth" + suffix, 1,
                        hostile::deepNesting(maxXmlDepth - 2 + past, 0, 2));
        ok = ok && save(folder, "hostile_tag" + suffix, 1,
                        hostile::between(
                            "<x a=\"" + std::string(maxXmlTagBytes - 8 + past, 'v') + "\"/>", 1));
    }
    // Unclosed elements, which once cost memory by the level.
    ok = ok && save(folder, "hostile_unclosed", 1,
                    hostile::sheet("", "", hostile::repeated("<d>", 4096)));
    ok = ok && save(folder, "hostile_formula", 1,
                    hostile::sheet("", "<row r=\"3\"><c r=\"B3\"><f>1+1</f></c></row>", ""));
    std::string below = goodRow;
    for (std::size_t at; (at = below.find("3\"")) != std::string::npos;) {
        below.replace(at, 2, "31\"");
    }
    ok = ok && save(folder, "hostile_row_31", 1, hostile::sheet("", below, ""));
    hostile::Parts doubled = hostile::workbookParts(hostile::sheet("", goodRow, ""));
    doubled.push_back({"xl/worksheets/sheet1.xml", hostile::sheet("", "", "")});
    ok = ok && save(folder, "hostile_duplicate_entry", 0, hostile::packageBytes(doubled));
    // Parts padded with blanks up to a sheet's old limit: each within every bound on markup.
    hostile::Parts padded = hostile::workbookParts(hostile::sheet("", goodRow, ""));
    for (auto& part : padded) {
        part.second = hostile::padded(part.second, ' ', false, 8 * 1024 * 1024 - 1);
    }
    ok = ok && save(folder, "hostile_padded", 0, hostile::packageBytes(padded));
    // A sheet entry whose name a NUL cuts short, before the real sheet.
    hostile::Parts shadowed = hostile::workbookParts(hostile::sheet("", goodRow, ""));
    shadowed.insert(shadowed.begin(), {"xl/worksheets/sheet1.xml#", hostile::sheet("", "", "")});
    std::string nulName = hostile::packageBytes(shadowed);
    for (std::size_t at; (at = nulName.find("sheet1.xml#")) != std::string::npos;) {
        nulName[at + 10] = '\0';
    }
    ok = ok && save(folder, "hostile_nul_name", 0, nulName);
    hostile::Parts hidden = hostile::workbookParts(hostile::sheet("", goodRow, ""));
    hidden[1].second.replace(hidden[1].second.find("<sheet "), 7, "<sheet state=\"hidden\" ");
    ok = ok && save(folder, "hostile_hidden_sheet", 0, hostile::packageBytes(hidden));
    std::string twoValues = goodRow;
    twoValues.replace(twoValues.find("<v>1.23</v>"), 11, "<v>1.23</v><v>7.77</v>");
    ok = ok && save(folder, "hostile_two_values", 1, hostile::sheet("", twoValues, ""));
    // A written table whose names and notes all point at one shared string of megabytes.
    const auto strings = static_cast<std::size_t>(maxPartBytes);
    ok = ok && save(folder, "hostile_one_string_separators", 0,
                    hostile::packageBytes(hostile::oneHugeString("; ", strings)));
    ok = ok &&
         save(folder, "hostile_one_string_notes", 0,
              hostile::packageBytes(hostile::oneHugeString(hostile::laminarNoteXml(), strings)));
    if (!ok) {
        std::fprintf(stderr, "cannot write the seeds into %s\n", folder.c_str());
        return 1;
    }
    return 0;
}
