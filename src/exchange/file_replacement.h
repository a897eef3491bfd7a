#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
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

// Writes `size` bytes to a new file `file`. Whatever fails, the message names its cause: a
// full disk fails at the last flush as often as at a write, and its errno must reach the user.
void writeBytes(const std::string& file, const char* data, std::size_t size);

// Writes the file at `path`: `writeContent` fills the temporary file it is given, and only a
// complete file, synced to the disk, takes the target's place.
void replaceFile(const std::string& path,
                 const std::function<void(const std::string& temporary)>& writeContent);

} // namespace kolmaris::exchange_detail
