// The one failure the driver raises: something the scenario waited for or
// relied on did not happen. GoogleTest reports the message of an exception
// that leaves a test body, so the message names what was awaited.
#pragma once

#include <stdexcept>
#include <string>

namespace e2e {

class DriverError : public std::runtime_error {
public:
    explicit DriverError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace e2e
