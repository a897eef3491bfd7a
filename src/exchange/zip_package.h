#pragma once

#include "exchange/zip_memory.h"

#include <QByteArray>
#include <QString>

#include <unzip.h>

#include <optional>

namespace kolmaris::exchange_detail {

// A workbook's zip container, read from memory within the reader's limits. Read with the system's
// minizip, the same one the writer uses. (QuaZip carries its own copy of minizip under the same
// symbol names; with both in one process calls land in the wrong copy and crash.)

class Package {
public:
    // Opens the container; refuses it when it is broken, has too many entries, holds one name
    // twice, or a name with a control character.
    explicit Package(const QByteArray& bytes);
    ~Package() { unzClose(zip_); }
    Package(const Package&) = delete;
    Package& operator=(const Package&) = delete;

    // A part by name, inflated; nothing when the package has no such part. Part names in the
    // container are case-insensitive. Refused as too large past `limit` bytes.
    std::optional<QByteArray> part(const QString& name, qint64 limit);

private:
    // With two entries of one name this reader would take the first and other programs the
    // last, so the same file would show two different tables. Names compare as the lookup
    // compares them, without regard to ASCII case. The lookup also stops a name at a NUL, so a
    // name holding one would stand in for another; no part name has a control character.
    void checkNames();

    ZipMemory memory_;
    unzFile zip_ = nullptr;
};

} // namespace kolmaris::exchange_detail
