#include "engine/OleErrors.h"

#include <string>

#include "engine/SystemErrors.h"

namespace engine {

namespace {

std::string Describe(HRESULT code) {
    std::string text = SystemErrorText(static_cast<DWORD>(code));
    if (text.empty()) text = ui::Format("OLE error %.8lx", static_cast<unsigned long>(code));
    return text;
}

}  // namespace

EOleSysError::EOleSysError(HRESULT code) : Exception(Describe(code)), code_(code) {}

}  // namespace engine
