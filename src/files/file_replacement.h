#pragma once

#include "files/file_error.h"

#include <cstddef>
#include <functional>
#include <string>

// Putting a finished file in place of the user's target: written under a temporary name in the
// target's folder and renamed over it only when complete, through links to the file they name,
// and never over a file the user may not replace. Every failure is a FileError (CannotWrite)
// that names its cause in German.
namespace kolmaris {

// Writes `size` bytes to a new file `file`. Whatever fails, the message names its cause: a
// full disk fails at the last flush as often as at a write, and its errno must reach the user.
void writeBytes(const std::string& file, const char* data, std::size_t size);

// Writes the file at `path`: `writeContent` fills the temporary file it is given, and only a
// complete file, synced to the disk, takes the target's place. Whatever `writeContent` throws
// passes through, and the target stays as it was.
void replaceFile(const std::string& path,
                 const std::function<void(const std::string& temporary)>& writeContent);

// replaceFile with these bytes as the content.
void replaceFileWith(const std::string& path, const char* data, std::size_t size);

} // namespace kolmaris
