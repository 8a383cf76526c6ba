// Path text: separators, directory and file-name parts, and the walk of a
// directory maker, on 8-bit paths of any code page.
//
// In a double-byte code page (Shift-JIS, GBK, Big5, Korean) the second byte of
// a character may have the value of a backslash: Shift-JIS "ソ" is 83 5C. The
// routines here therefore step through the text a character at a time, told
// by `isLead` which bytes start a two-byte character. Nothing here asks the
// platform; code_page.h has the test for the system's own code page.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace ui {

// True when the byte starts a two-byte character of the code page in use.
using LeadByteTest = bool (*)(unsigned char);

// The test of single-byte code pages: no byte starts a two-byte character.
bool NoLeadBytes(unsigned char);

// Where the last character of `path` starts; npos for the empty text.
std::string::size_type LastCharacterStart(const std::string& path, LeadByteTest isLead);

// Position of the last backslash or colon that is a character of its own
// (not the second byte of a double-byte one); npos when there is none.
std::string::size_type LastSeparator(const std::string& path, LeadByteTest isLead);

// Text up to and including the last backslash or colon; "" when neither.
std::string DirectoryPart(const std::string& path, LeadByteTest isLead);
// Text after the last backslash or colon; the whole path when neither.
std::string FileNamePart(const std::string& path, LeadByteTest isLead);

// Position of the first backslash at or after `from` that is a character of
// its own; npos when there is none. `from` must start a character.
std::string::size_type NextBackslash(const std::string& path, std::size_t from,
                                     LeadByteTest isLead);

// True when the last character is a backslash.
bool EndsWithBackslash(const std::string& path, LeadByteTest isLead);

// "" stays "", a path ending in ':' or '\' stays, a lone drive letter "c"
// becomes "c:\", anything else gets a backslash appended.
std::string AppendBackslash(const std::string& path, LeadByteTest isLead);

// The path with each run of backslashes that are characters made one, so
// that "c:\quarnel\" + "\setup.exe" names the file as the system does. A
// leading pair ("\\server\share") stays: it is how a network path begins.
// Nothing else changes; the platform's own collapsing is not relied on.
std::string CanonicalPath(const std::string& path, LeadByteTest isLead);

// What a directory maker does with a directory whose parent, by the text, is
// itself ("c:\dir\" left over from "c:\dir\\"): leave it, or make it anyway.
enum class OwnParent { Leave, Make };

// The directories a maker of `path` and its missing parents considers,
// innermost first, as lengths of prefixes of `path`: the path without one
// trailing backslash, then the directory part of that without one trailing
// backslash, and so on. The walk ends before a text shorter than three
// characters, and at a text that is its own parent (included or not as
// `ownParent` says). The maker tests them in this order, stops at the first
// that exists, and creates the ones before it outermost first.
std::vector<std::size_t> DirectoryChain(const std::string& path, LeadByteTest isLead,
                                        OwnParent ownParent);

}  // namespace ui
