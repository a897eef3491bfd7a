#include "files/file_reading.h"

#include <cerrno>
#include <cstdio>

#include <fcntl.h>
#include <sys/stat.h>
#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace kolmaris {

namespace {

[[noreturn]] void cannotOpen(const char* cause) {
    throw FileError(FileError::Kind::CannotOpen, cause);
}

void refuseUnlessRegular(bool directory, bool regular) {
    if (directory) {
        cannotOpen("Das ist ein Ordner, keine Datei.");
    }
    if (!regular) {
        cannotOpen("Das ist keine gewöhnliche Datei, sondern etwa eine Pipe oder ein Gerät.");
    }
}

void appendChecked(std::string& bytes, const char* chunk, std::size_t n, std::size_t maxBytes) {
    bytes.append(chunk, n);
    if (bytes.size() > maxBytes) {
        throw FileError(FileError::Kind::TooLarge, "Die Datei ist zu groß.");
    }
}

} // namespace

#ifdef _WIN32

std::string readRegularFile(const std::string& path, std::size_t maxBytes) {
    struct _stat64 info {};
    if (::_stat64(path.c_str(), &info) != 0) {
        cannotOpen(errno == ENOENT ? "Die Datei gibt es nicht."
                                   : "Die Datei lässt sich nicht öffnen.");
    }
    refuseUnlessRegular((info.st_mode & _S_IFDIR) != 0, (info.st_mode & _S_IFREG) != 0);
    std::FILE* in = std::fopen(path.c_str(), "rb");
    if (in == nullptr) {
        cannotOpen("Die Datei lässt sich nicht öffnen.");
    }
    struct Closer {
        std::FILE* file;
        ~Closer() { std::fclose(file); }
    } closer{in};
    std::string bytes;
    char chunk[65536];
    for (;;) {
        const std::size_t n = std::fread(chunk, 1, sizeof chunk, in);
        appendChecked(bytes, chunk, n, maxBytes);
        if (n < sizeof chunk) {
            if (std::ferror(in)) {
                cannotOpen("Die Datei lässt sich nicht lesen.");
            }
            return bytes;
        }
    }
}

#else

std::string readRegularFile(const std::string& path, std::size_t maxBytes) {
    // The check before opening keeps devices closed; the one after it catches a file swapped
    // in between, and O_NONBLOCK keeps even that open from waiting.
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        cannotOpen(errno == ENOENT || errno == ENOTDIR ? "Die Datei gibt es nicht."
                                                       : "Die Datei lässt sich nicht öffnen.");
    }
    refuseUnlessRegular(S_ISDIR(info.st_mode), S_ISREG(info.st_mode));
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        cannotOpen("Die Datei lässt sich nicht öffnen.");
    }
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    if (::fstat(fd, &info) != 0) {
        cannotOpen("Die Datei lässt sich nicht öffnen.");
    }
    refuseUnlessRegular(S_ISDIR(info.st_mode), S_ISREG(info.st_mode));
    std::string bytes;
    char chunk[65536];
    for (;;) {
        const ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            cannotOpen("Die Datei lässt sich nicht lesen.");
        }
        if (n == 0) {
            return bytes;
        }
        appendChecked(bytes, chunk, static_cast<std::size_t>(n), maxBytes);
    }
}

#endif

} // namespace kolmaris
