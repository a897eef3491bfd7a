#pragma once

#include "files/file_error.h"

#include <cstddef>
#include <string>

namespace kolmaris {

// The bytes of the regular file at `path`, at most `maxBytes` of them. A pipe would block the
// first read until a writer comes and a device may never end, so only a regular file is read,
// opened without waiting. Throws FileError: CannotOpen (missing, a folder, not a regular file,
// unreadable) or TooLarge, without reading more than one chunk past the limit, whatever size the
// file system reports.
std::string readRegularFile(const std::string& path, std::size_t maxBytes);

} // namespace kolmaris
