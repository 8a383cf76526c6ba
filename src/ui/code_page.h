// The system's two 8-bit code pages, as path text needs them: the ANSI one,
// in which the program's paths are written, and the OEM one of real-mode DOS.
#pragma once

namespace ui {

// True when the byte starts a two-byte character of the ANSI code page.
bool IsAnsiLeadByte(unsigned char byte);
// The same for the OEM code page.
bool IsOemLeadByte(unsigned char byte);

}  // namespace ui
