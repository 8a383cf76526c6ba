#include "ui/code_page.h"

#include <windows.h>

namespace ui {

// The code page is named, not left to CP_ACP: the Windows 95 family's
// IsDBCSLeadByteEx is only documented for real code page numbers.
bool IsAnsiLeadByte(unsigned char byte) { return ::IsDBCSLeadByteEx(::GetACP(), byte) != FALSE; }

bool IsOemLeadByte(unsigned char byte) { return ::IsDBCSLeadByteEx(::GetOEMCP(), byte) != FALSE; }

}  // namespace ui
