#pragma once

#include "calc/errors.h"

#include <string>

namespace kolmaris {

// A file could not be put in place or read. what() is the cause alone, in German ("Den Ordner
// gibt es nicht."): each caller sets its own headline above it, since only the caller knows
// what the user was doing.
class FileError : public KolmarisError {
public:
    enum class Kind {
        CannotWrite, // the target is unchanged
        CannotOpen,  // missing, unreadable, or not a regular file
        TooLarge,    // longer than the reader allows
    };
    FileError(Kind kind, const std::string& cause) : KolmarisError(cause), kind_(kind) {}
    Kind kind() const { return kind_; }

private:
    Kind kind_;
};

} // namespace kolmaris
