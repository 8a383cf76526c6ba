// Throws from another translation unit, so that the compiler cannot see the
// throw from the handler and the exception really unwinds.
#pragma once

namespace check {

[[noreturn]] void ThrowRangeError(const char* message);
[[noreturn]] void ThrowNumber(int number);

}  // namespace check
