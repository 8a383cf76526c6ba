// Errors of the component-object layer, raised when the shell link object
// cannot be made or lacks an interface the program needs.
#pragma once

#include <windows.h>

#include "ui/exceptions.h"

namespace engine {

// A failure code from the component-object runtime. The message is the
// platform's text for the code, or "OLE error %.8x" when it has none.
class EOleSysError : public ui::Exception {
public:
    explicit EOleSysError(HRESULT code);
    HRESULT ErrorCode() const { return code_; }

private:
    HRESULT code_;
};

class EIntfCastError : public ui::Exception {
public:
    EIntfCastError() : Exception("Interface not supported") {}
};

}  // namespace engine
