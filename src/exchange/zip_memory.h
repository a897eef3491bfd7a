#pragma once

#include <ioapi.h>

#include <cstddef>
#include <string>

namespace kolmaris::exchange_detail {

// A zip container held in memory, seen by minizip through its I/O callbacks: read from when a
// workbook is read, grown when one is written. minizip goes back to finish each entry's header,
// so writes may land anywhere in what is already there.
struct ZipMemory {
    std::string bytes;
    std::size_t position = 0;
    bool outOfMemory = false; // a write failed for want of memory
};

// Callbacks over `memory`; it must outlive the zip handle opened with them.
zlib_filefunc64_def zipMemoryIo(ZipMemory& memory);

} // namespace kolmaris::exchange_detail
