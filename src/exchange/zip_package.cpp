#include "exchange/zip_package.h"

#include "exchange/reader_common.h"

#include <set>
#include <string>

namespace kolmaris::exchange_detail {

Package::Package(const QByteArray& bytes) {
    memory_.bytes = bytes.toStdString();
    zlib_filefunc64_def io = zipMemoryIo(memory_);
    zip_ = unzOpen2_64("", &io);
    if (zip_ == nullptr) {
        damaged();
    }
    unz_global_info64 info{};
    if (unzGetGlobalInfo64(zip_, &info) != UNZ_OK) {
        unzClose(zip_);
        damaged();
    }
    if (info.number_entry > static_cast<ZPOS64_T>(maxEntries)) {
        unzClose(zip_);
        tooLarge();
    }
    try {
        if (info.number_entry > 0) {
            checkNames();
        }
    } catch (...) {
        unzClose(zip_);
        throw;
    }
}

std::optional<QByteArray> Package::part(const QString& name, qint64 limit) {
    const QByteArray wanted = name.toUtf8();
    if (wanted.isEmpty() || wanted.size() >= 256) {
        return std::nullopt;
    }
    const int located = unzLocateFile(zip_, wanted.constData(), 2 /* case-insensitive */);
    if (located == UNZ_END_OF_LIST_OF_FILE) {
        return std::nullopt;
    }
    if (located != UNZ_OK || unzOpenCurrentFile(zip_) != UNZ_OK) {
        damaged();
    }
    QByteArray out;
    char chunk[16384];
    for (;;) {
        // The sizes in the entry's header are not trusted: the count is what was inflated.
        const int n = unzReadCurrentFile(zip_, chunk, sizeof chunk);
        if (n < 0) {
            unzCloseCurrentFile(zip_);
            damaged();
        }
        if (n == 0) {
            break;
        }
        if (out.size() + n > limit) {
            unzCloseCurrentFile(zip_);
            tooLarge();
        }
        out.append(chunk, n);
    }
    if (unzCloseCurrentFile(zip_) != UNZ_OK) { // the CRC, once everything was read
        damaged();
    }
    return out;
}

void Package::checkNames() {
    std::set<std::string> seen;
    int status = unzGoToFirstFile(zip_);
    for (int count = 0; status == UNZ_OK; status = unzGoToNextFile(zip_)) {
        unz_file_info64 info{};
        if (++count > maxEntries ||
            unzGetCurrentFileInfo64(zip_, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK) {
            damaged();
        }
        std::string name(info.size_filename, '\0');
        if (unzGetCurrentFileInfo64(zip_, nullptr, name.data(), static_cast<uLong>(name.size()),
                                    nullptr, 0, nullptr, 0) != UNZ_OK) {
            damaged();
        }
        for (char& c : name) {
            if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) {
                reject(Kind::Damaged, "Sie enthält einen Teil mit ungültigem Namen.");
            }
            c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
        }
        if (!seen.insert(name).second) {
            reject(Kind::Damaged, "Sie enthält einen Teil mehrfach unter demselben Namen.");
        }
    }
    if (status != UNZ_END_OF_LIST_OF_FILE) {
        damaged();
    }
}

} // namespace kolmaris::exchange_detail
