// Error kinds that leave a handler and reach the application's standard error
// box. Every error carries its final message text; the box adds the full stop.
#pragma once

#include <exception>
#include <string>

namespace ui {

class Exception : public std::exception {
public:
    explicit Exception(std::string message) : message_(std::move(message)) {}
    const char* what() const noexcept override { return message_.c_str(); }
    const std::string& Message() const { return message_; }

private:
    std::string message_;
};

// The silent kind: it ends a handler like any error but shows nothing.
class EAbort : public Exception {
public:
    EAbort() : Exception("Operation aborted") {}
};

// A property set outside its valid range (gauge limits and the like).
class EInvalidOperation : public Exception {
public:
    using Exception::Exception;
};

// An index outside a list (check list box records).
class EListError : public Exception {
public:
    using Exception::Exception;
};

// Malformed form data or image data in the program's own resources.
class EResourceError : public Exception {
public:
    using Exception::Exception;
};

// printf-style formatting into a std::string, for the messages above.
std::string Format(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

}  // namespace ui
