// Errors raised by the file copy. Each carries its final message; the
// callers do not catch them, so they reach the standard error box.
#pragma once

#include "ui/exceptions.h"

namespace engine {

class EStreamError : public ui::Exception {
public:
    using Exception::Exception;
};

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
