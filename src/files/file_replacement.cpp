#include "files/file_replacement.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#ifdef _WIN32
#include <io.h>
#include <random>
#else
#include <unistd.h>
#endif

namespace kolmaris {

namespace fs = std::filesystem;

namespace {

[[noreturn]] void cannotWrite(const std::string& reason) {
    throw FileError(FileError::Kind::CannotWrite, reason);
}

// The German reason for a failed file operation, from its errno.
[[noreturn]] void cannotWriteErrno(int error) {
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        cannotWrite("Den Ordner gibt es nicht.");
    case EACCES:
    case EPERM:
        cannotWrite("Für diesen Ordner oder diese Datei fehlt die Schreibberechtigung.");
    case EROFS:
        cannotWrite("Der Datenträger ist schreibgeschützt.");
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
        cannotWrite("Auf dem Datenträger ist nicht genug Platz.");
    case EFBIG:
        cannotWrite("Die Datei wäre größer, als dieser Datenträger oder das System erlaubt.");
    case EISDIR:
        cannotWrite("Unter diesem Namen gibt es schon einen Ordner.");
    case ENAMETOOLONG:
        cannotWrite("Der Dateiname ist zu lang.");
    case ELOOP:
        cannotWrite("Der Dateiname führt über zu viele Verknüpfungen.");
    default:
        cannotWrite("Die Datei konnte nicht geschrieben werden.");
    }
}

// A failure to create a file in `folder`. "No such file" there can also come from a folder that
// exists but takes no files of this kind (a virtual file system); only a missing folder may be
// called missing.
[[noreturn]] void cannotCreateIn(const fs::path& folder, int error) {
    std::error_code ec;
    if ((error == ENOENT || error == ENOTDIR) && fs::is_directory(folder, ec)) {
        cannotWrite("In diesem Ordner lassen sich keine Dateien anlegen.");
    }
    cannotWriteErrno(error);
}

} // namespace

void writeBytes(const std::string& file, const char* data, std::size_t size) {
    std::FILE* out = std::fopen(file.c_str(), "wb");
    if (out == nullptr) {
        cannotWriteErrno(errno);
    }
    errno = 0;
    const bool written = std::fwrite(data, 1, size, out) == size && std::fflush(out) == 0;
    const int writeErrno = errno;
    errno = 0;
    const bool closed = std::fclose(out) == 0;
    if (!written || !closed) {
        cannotWriteErrno(written ? errno : writeErrno);
    }
}

namespace {

// Removes the temporary file unless it was renamed into place.
class TemporaryFile {
public:
    explicit TemporaryFile(const fs::path& folder);
    ~TemporaryFile();
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    const std::string& path() const { return path_; }
    void release() { path_.clear(); }

private:
    std::string path_;
};

TemporaryFile::TemporaryFile(const fs::path& folder) {
#ifdef _WIN32
    // A fresh name, created exclusively so that no other file is ever overwritten.
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string name = ".kolmaris-" + std::to_string(random()) + ".part";
        const fs::path candidate = folder / name;
        const int fd = _wopen(candidate.c_str(), _O_CREAT | _O_EXCL | _O_WRONLY | _O_BINARY,
                              _S_IREAD | _S_IWRITE);
        if (fd >= 0) {
            _close(fd);
            path_ = candidate.string();
            return;
        }
        if (errno != EEXIST) {
            cannotCreateIn(folder, errno);
        }
    }
    cannotWriteErrno(EEXIST);
#else
    std::string pattern = (folder / ".kolmaris-XXXXXX.part").string();
    const int fd = mkstemps(pattern.data(), 5);
    if (fd < 0) {
        cannotCreateIn(folder, errno);
    }
    ::close(fd);
    path_ = pattern;
#endif
}

TemporaryFile::~TemporaryFile() {
    if (!path_.empty()) {
        std::error_code ignored;
        fs::remove(path_, ignored);
    }
}

// The bytes must be on the disk before the rename makes them the file's content.
void syncToDisk(const std::string& file) {
#ifdef _WIN32
    const int fd = _open(file.c_str(), _O_RDWR | _O_BINARY);
    if (fd < 0) {
        cannotWriteErrno(errno);
    }
    const int synced = _commit(fd);
    const int syncErrno = errno;
    _close(fd);
#else
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        cannotWriteErrno(errno);
    }
    const int synced = ::fsync(fd);
    const int syncErrno = errno;
    ::close(fd);
#endif
    if (synced != 0) {
        cannotWriteErrno(syncErrno);
    }
}

// The file a chain of links ends at, whether it exists or not: that file is replaced in its own
// folder and the links stay as they are.
fs::path resolveLinks(fs::path target) {
    for (int hops = 0;; ++hops) {
        std::error_code ec;
        if (!fs::is_symlink(fs::symlink_status(target, ec))) {
            return target;
        }
        if (hops == 40) {
            cannotWriteErrno(ELOOP);
        }
        const fs::path next = fs::read_symlink(target, ec);
        if (ec) {
            cannotWriteErrno(ec.value());
        }
        target = next.is_absolute() ? next : target.parent_path() / next;
    }
}

#ifndef _WIN32
// The rename needs only the folder's permission, so without this check a write-protected file,
// or one the user may not write at all, would be replaced.
void checkReplaceable(const fs::path& target) {
    struct stat existing {};
    if (::stat(target.c_str(), &existing) != 0) {
        return; // a new file
    }
    if (!S_ISREG(existing.st_mode)) {
        cannotWrite("Unter diesem Namen gibt es schon etwas, das keine Datei ist.");
    }
    if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) {
        cannotWriteErrno(errno);
    }
}

// mkstemps creates the file for its creator only; give the new file the mode an ordinary new
// file would get, or the owner, group and mode of the file it replaces. Where the owner or
// group cannot be kept, the older file stays.
void setFinalMode(const std::string& temporary, const fs::path& target) {
    struct stat existing {};
    struct stat created {};
    mode_t mode;
    if (::stat(target.c_str(), &existing) == 0) {
        mode = existing.st_mode & 07777;
        if (::stat(temporary.c_str(), &created) != 0) {
            cannotWriteErrno(errno);
        }
        if ((created.st_uid != existing.st_uid || created.st_gid != existing.st_gid) &&
            ::chown(temporary.c_str(), existing.st_uid, existing.st_gid) != 0) {
            cannotWrite("Die vorhandene Datei gehört einem anderen Benutzer oder einer anderen "
                        "Gruppe; sie wird nicht ersetzt.");
        }
    } else {
        // Reading the mask means setting it; the program has one thread, so nothing races.
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    ::chmod(temporary.c_str(), mode);
}

void syncFolder(const fs::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd); // best effort: the rename itself already happened
        ::close(fd);
    }
}
#endif

} // namespace

void replaceFile(const std::string& path,
                 const std::function<void(const std::string& temporary)>& writeContent) {
    const fs::path target = resolveLinks(fs::path(path));
    std::error_code ec;
    if (target.filename().empty()) {
        cannotWrite("Es wurde kein Dateiname angegeben.");
    }
    if (fs::is_directory(target, ec)) {
        cannotWriteErrno(EISDIR);
    }
    fs::path folder = target.parent_path();
    if (folder.empty()) {
        folder = ".";
    }
#ifndef _WIN32
    checkReplaceable(target);
#endif

    TemporaryFile temporary(folder);
    writeContent(temporary.path());
    syncToDisk(temporary.path());
#ifndef _WIN32
    setFinalMode(temporary.path(), target);
#endif
    // Replaces an existing target in one step on every platform.
    fs::rename(temporary.path(), target, ec);
    if (ec) {
        cannotWriteErrno(ec.default_error_condition().category() == std::generic_category()
                             ? ec.default_error_condition().value()
                             : 0);
    }
    temporary.release();
#ifndef _WIN32
    syncFolder(folder);
#endif
}

void replaceFileWith(const std::string& path, const char* data, std::size_t size) {
    replaceFile(path,
                [data, size](const std::string& temporary) { writeBytes(temporary, data, size); });
}

} // namespace kolmaris
