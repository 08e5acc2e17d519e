#pragma once
// Failure of a file operation, with the stage that failed so the caller can pick its message.

#include <stdexcept>
#include <string>

class FileError : public std::runtime_error {
public:
    enum class Reason {
        CannotRead,    // the file could not be opened or read
        CannotCreate,  // the new content could not be written
        CannotReplace, // the new content is complete but could not take the target's place
    };

    // detail: a technical description (path, system error) for diagnostics, not for the user.
    FileError(Reason reason, const std::string& detail) : std::runtime_error(detail), why(reason) {}

    Reason reason() const noexcept { return why; }

private:
    Reason why;
};
