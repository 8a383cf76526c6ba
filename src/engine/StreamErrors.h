// Errors raised by the file copy. Each carries its final message; the
// callers do not catch them, so they reach the standard error box.
#pragma once

#include <exception>
#include <string>
#include <utility>

#include "ui/exceptions.h"

namespace engine {

class EStreamError : public ui::Exception {
public:
    using Exception::Exception;
    // `logged`: the same message with each path in the form the log names
    // it (canonical), where the box shows the path as it was formed.
    EStreamError(std::string message, std::string logged)
        : Exception(std::move(message)), logged_(std::move(logged)) {}
    const std::string& Logged() const { return logged_.empty() ? Message() : logged_; }

private:
    std::string logged_;
};

// What the log says of an error that left a step.
inline std::string LoggedText(const std::exception& error) {
    const auto* stream = dynamic_cast<const EStreamError*>(&error);
    return stream != nullptr ? stream->Logged() : std::string(error.what());
}

// The source cannot be opened: "Cannot open file <source>".
class EFOpenError : public EStreamError {
public:
    using EStreamError::EStreamError;
};

// The destination cannot be created: "Cannot create file <destination>".
class EFCreateError : public EStreamError {
public:
    using EStreamError::EStreamError;
};

class EReadError : public EStreamError {
public:
    EReadError() : EStreamError("Stream read error") {}
};

class EWriteError : public EStreamError {
public:
    EWriteError() : EStreamError("Stream write error") {}
};

}  // namespace engine
