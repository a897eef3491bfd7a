#include "exchange/exact_numbers.h"

#include <unzip.h>
#include <zip.h>

#include <charconv>
#include <memory>

namespace kolmaris::exchange_detail {

namespace {

struct UnzipCloser {
    void operator()(void* file) const { unzClose(file); }
};
struct ZipCloser {
    void operator()(void* file) const { zipClose(file, nullptr); }
};

// The current entry, whole. The package is our own, just written, so its sizes are trusted.
bool readEntry(unzFile in, std::string& bytes) {
    unz_file_info64 info{};
    if (unzGetCurrentFileInfo64(in, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK ||
        unzOpenCurrentFile(in) != UNZ_OK) {
        return false;
    }
    bytes.resize(static_cast<std::size_t>(info.uncompressed_size));
    const int read =
        bytes.empty() ? 0
                      : unzReadCurrentFile(in, bytes.data(), static_cast<unsigned>(bytes.size()));
    return unzCloseCurrentFile(in) == UNZ_OK && read == static_cast<int>(bytes.size());
}

// Replaces the value of each listed cell; the writer puts it as <c r="H3" ...><v>...</v>.
void patchSheet(std::string& xml, const std::vector<ExactValue>& values) {
    for (const ExactValue& value : values) {
        const std::size_t cell = xml.find("<c r=\"" + value.cell + "\"");
        if (cell == std::string::npos) {
            continue;
        }
        const std::size_t end = xml.find("</c>", cell);
        const std::size_t open = xml.find("<v>", cell);
        const std::size_t close = xml.find("</v>", cell);
        if (end == std::string::npos || open > end || close > end) {
            continue;
        }
        xml.replace(open + 3, close - open - 3, value.text);
    }
}

} // namespace

std::string exactXmlNumber(double value) {
    char buffer[32];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    return ec == std::errc() ? std::string(buffer, end) : std::string("0");
}

bool copyWithExactValues(const std::string& from, const std::string& to,
                         const std::string& sheetPart, const std::vector<ExactValue>& values) {
    const std::unique_ptr<void, UnzipCloser> in(unzOpen64(from.c_str()));
    if (!in) {
        return false;
    }
    std::unique_ptr<void, ZipCloser> out(zipOpen64(to.c_str(), APPEND_STATUS_CREATE));
    if (!out) {
        return false;
    }
    for (int status = unzGoToFirstFile(in.get()); status == UNZ_OK;
         status = unzGoToNextFile(in.get())) {
        char name[256] = {};
        unz_file_info64 info{};
        if (unzGetCurrentFileInfo64(in.get(), &info, name, sizeof name - 1, nullptr, 0, nullptr,
                                    0) != UNZ_OK) {
            return false;
        }
        std::string bytes;
        if (!readEntry(in.get(), bytes)) {
            return false;
        }
        if (sheetPart == name) {
            patchSheet(bytes, values);
        }
        zip_fileinfo entry{};
        entry.dosDate = info.dosDate;
        if (zipOpenNewFileInZip64(out.get(), name, &entry, nullptr, 0, nullptr, 0, nullptr,
                                  Z_DEFLATED, Z_DEFAULT_COMPRESSION, 0) != ZIP_OK ||
            zipWriteInFileInZip(out.get(), bytes.data(), static_cast<unsigned>(bytes.size())) !=
                ZIP_OK ||
            zipCloseFileInZip(out.get()) != ZIP_OK) {
            return false;
        }
    }
    return zipClose(out.release(), nullptr) == ZIP_OK;
}

} // namespace kolmaris::exchange_detail
