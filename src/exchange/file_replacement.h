#pragma once

#include <filesystem>
#include <string>

// Putting a finished file in place of the user's target: written under a temporary name in the
// target's folder and renamed over it only when complete, through links to the file they name,
// and never over a file the user may not replace. Failures are German messages.
namespace kolmaris::exchange_detail {

// The first line of every message about a failed save.
inline const char* const saveHeadline = "Die Tabelle kann nicht gespeichert werden.";

[[noreturn]] void cannotWrite(const std::string& reason);
// The German reason for a failed file operation, from its errno.
[[noreturn]] void cannotWriteErrno(int error);
// A failure to create a file in `folder`; "missing" only when the folder is.
[[noreturn]] void cannotCreateIn(const std::filesystem::path& folder, int error);

// Removes the temporary file unless it was renamed into place.
class TemporaryFile {
public:
    explicit TemporaryFile(const std::filesystem::path& folder);
    ~TemporaryFile();
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    const std::string& path() const { return path_; }
    void release() { path_.clear(); }

private:
    std::string path_;
};

// The bytes must be on the disk before the rename makes them the file's content.
void syncToDisk(const std::string& file);

// The file a chain of links ends at, whether it exists or not.
std::filesystem::path resolveLinks(std::filesystem::path target);

#ifndef _WIN32
// Refuses a target the user may not replace.
void checkReplaceable(const std::filesystem::path& target);
// Gives the temporary file the mode (and owner and group) the target should keep.
void setFinalMode(const std::string& temporary, const std::filesystem::path& target);
void syncFolder(const std::filesystem::path& folder);
#endif

} // namespace kolmaris::exchange_detail
