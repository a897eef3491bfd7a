#pragma once

#include <unzip.h>
#include <zip.h>

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryFile>

#include <map>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

// Builds and opens zip packages for the tests, independently of the code under test.
namespace kolmaris::test_support {

using PartList = std::vector<std::pair<QString, QByteArray>>;

inline std::string zipBytes(const PartList& parts) {
    QTemporaryFile file;
    if (!file.open()) {
        throw std::runtime_error("no temporary file");
    }
    const QByteArray path = QFile::encodeName(file.fileName());
    zipFile zip = zipOpen64(path.constData(), APPEND_STATUS_CREATE);
    if (zip == nullptr) {
        throw std::runtime_error("cannot create zip");
    }
    for (const auto& [name, content] : parts) {
        if (zipOpenNewFileInZip64(zip, name.toUtf8().constData(), nullptr, nullptr, 0, nullptr, 0,
                                  nullptr, Z_DEFLATED, Z_DEFAULT_COMPRESSION, 0) != ZIP_OK ||
            zipWriteInFileInZip(zip, content.constData(), static_cast<unsigned>(content.size())) !=
                ZIP_OK ||
            zipCloseFileInZip(zip) != ZIP_OK) {
            throw std::runtime_error("cannot add " + name.toStdString());
        }
    }
    zipClose(zip, nullptr);
    QFile written(file.fileName());
    written.open(QIODevice::ReadOnly);
    return written.readAll().toStdString();
}

// Every part of a package file, inflated.
inline std::map<QString, QByteArray> unzipFile(const QString& path) {
    std::map<QString, QByteArray> parts;
    unzFile zip = unzOpen64(QFile::encodeName(path).constData());
    if (zip == nullptr) {
        throw std::runtime_error("not a zip: " + path.toStdString());
    }
    for (int more = unzGoToFirstFile(zip); more == UNZ_OK; more = unzGoToNextFile(zip)) {
        char name[512];
        unz_file_info64 info{};
        unzGetCurrentFileInfo64(zip, &info, name, sizeof name, nullptr, 0, nullptr, 0);
        if (unzOpenCurrentFile(zip) != UNZ_OK) {
            throw std::runtime_error("cannot open a part");
        }
        QByteArray content;
        char chunk[4096];
        for (int n; (n = unzReadCurrentFile(zip, chunk, sizeof chunk)) > 0;) {
            content.append(chunk, n);
        }
        unzCloseCurrentFile(zip);
        parts[QString::fromUtf8(name)] = content;
    }
    unzClose(zip);
    return parts;
}

} // namespace kolmaris::test_support
