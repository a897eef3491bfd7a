#include "exchange/zip_memory.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace kolmaris::exchange_detail {

namespace {

ZipMemory& memoryOf(voidpf stream) {
    return *static_cast<ZipMemory*>(stream);
}

voidpf memoryOpen(voidpf opaque, const void*, int) {
    return opaque;
}

uLong memoryRead(voidpf, voidpf stream, void* buf, uLong size) {
    ZipMemory& memory = memoryOf(stream);
    const std::size_t available =
        memory.bytes.size() - std::min(memory.position, memory.bytes.size());
    const std::size_t n = std::min<std::size_t>(size, available);
    std::memcpy(buf, memory.bytes.data() + memory.position, n);
    memory.position += n;
    return static_cast<uLong>(n);
}

uLong memoryWrite(voidpf, voidpf stream, const void* buf, uLong size) {
    ZipMemory& memory = memoryOf(stream);
    try {
        if (memory.position + size > memory.bytes.size()) {
            memory.bytes.resize(memory.position + size);
        }
    } catch (const std::bad_alloc&) {
        memory.outOfMemory = true; // an exception must not pass through minizip's C frames
        return 0;
    }
    std::memcpy(&memory.bytes[memory.position], buf, size);
    memory.position += size;
    return size;
}

ZPOS64_T memoryTell(voidpf, voidpf stream) {
    return memoryOf(stream).position;
}

long memorySeek(voidpf, voidpf stream, ZPOS64_T offset, int origin) {
    ZipMemory& memory = memoryOf(stream);
    const auto total = static_cast<ZPOS64_T>(memory.bytes.size());
    ZPOS64_T base = 0;
    switch (origin) {
    case ZLIB_FILEFUNC_SEEK_SET:
        base = 0;
        break;
    case ZLIB_FILEFUNC_SEEK_CUR:
        base = memory.position;
        break;
    case ZLIB_FILEFUNC_SEEK_END:
        base = total;
        break;
    default:
        return -1;
    }
    if (offset > total || base > total - offset) {
        return -1; // offsets read from a file may point anywhere
    }
    memory.position = static_cast<std::size_t>(base + offset);
    return 0;
}

int memoryClose(voidpf, voidpf) {
    return 0;
}

int memoryError(voidpf, voidpf) {
    return 0;
}

} // namespace

zlib_filefunc64_def zipMemoryIo(ZipMemory& memory) {
    zlib_filefunc64_def io{};
    io.zopen64_file = memoryOpen;
    io.zread_file = memoryRead;
    io.zwrite_file = memoryWrite;
    io.ztell64_file = memoryTell;
    io.zseek64_file = memorySeek;
    io.zclose_file = memoryClose;
    io.zerror_file = memoryError;
    io.opaque = &memory;
    return io;
}

} // namespace kolmaris::exchange_detail
