#include "thrower.h"

#include <stdexcept>

namespace check {

void ThrowRangeError(const char* message) { throw std::out_of_range(message); }
void ThrowNumber(int number) { throw number; }

}  // namespace check
