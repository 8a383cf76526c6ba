#include "engine/OleErrors.h"

#include <string>

namespace engine {

namespace {

// The platform's text without its line end and full stop: the error box adds
// its own full stop.
std::string SystemText(HRESULT code) {
    char buffer[512];
    DWORD length =
        ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                         static_cast<DWORD>(code), 0, buffer, sizeof(buffer), nullptr);
    while (length > 0) {
        const unsigned char last = static_cast<unsigned char>(buffer[length - 1]);
        if (last > ' ' && last != '.') break;
        --length;
    }
    return std::string(buffer, length);
}

std::string Describe(HRESULT code) {
    std::string text = SystemText(code);
    if (text.empty()) text = ui::Format("OLE error %.8lx", static_cast<unsigned long>(code));
    return text;
}

}  // namespace

EOleSysError::EOleSysError(HRESULT code) : Exception(Describe(code)), code_(code) {}

}  // namespace engine
