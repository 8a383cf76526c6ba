#include "engine/SystemErrors.h"

namespace engine {

std::string SystemErrorText(DWORD code) {
    char buffer[512];
    DWORD length = ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                    nullptr, code, 0, buffer, sizeof(buffer), nullptr);
    while (length > 0) {
        const unsigned char last = static_cast<unsigned char>(buffer[length - 1]);
        if (last > ' ' && last != '.') break;
        --length;
    }
    return std::string(buffer, length);
}

}  // namespace engine
