// The text of the start-up rename list, "wininit.ini": the line that deletes
// a file at the next Windows start, the checks its path must pass, and the
// merge of that line into a list other programs share. Plain text in, plain
// text out; RenameList.h reads and writes the file.
//
// Before Windows starts, the lines of the list's [rename] section are carried
// out in real-mode DOS, one "target=source" each; the target NUL deletes the
// source. DOS reads them in the OEM code page and knows only 8.3 names.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "ui/path_text.h"

namespace engine {

// The largest list the program reads: the profile routines of the Windows
// 95 family read no file above 64 KB, and a larger one is nothing this
// program should hold in memory at once.
inline constexpr std::size_t kLongestRenameList = 65536;

// The longest path real-mode DOS takes: 80 bytes with its terminating zero.
inline constexpr std::size_t kLongestStartupPath = 79;

// True for a name DOS can hold: one to eight bytes, then optionally a dot and
// one to three more, none of them a blank, a control character or a
// character that only long names may hold. Letter case does not matter.
bool IsEightDotThreeName(const std::string& name, ui::LeadByteTest isLead);

// "X:\" and one or more components, none empty, "." or "..", none holding a
// control character or a character no file name may hold.
bool IsPlainAbsolutePath(const std::string& path, ui::LeadByteTest isLead);

// True when every component after the drive is an 8.3 name.
bool HasOnlyShortComponents(const std::string& path, ui::LeadByteTest isLead);

// True when no byte is above 0x7F: the text reads the same in every code page.
bool IsPlainAscii(const std::string& text);

// "NUL=" and the path, for a path as DOS will read it (in the OEM code page
// that `isLead` describes). Empty when the path is refused: not a plain
// absolute path, a component that is not an 8.3 name, or longer than
// kLongestStartupPath.
std::string DeletionLineFor(const std::string& path, ui::LeadByteTest isLead);

// "TARGET=SOURCE": at the next start `source` takes the place of `target`.
// Both paths pass the rules of DeletionLineFor; empty when either is refused.
std::string ReplacementLineFor(const std::string& target, const std::string& source,
                               ui::LeadByteTest isLead);

// True when two paths as DOS reads them name the same file: ASCII letters
// match in either case, and a second byte of a double-byte character is
// compared as it stands (in Shift-JIS it may be a letter's code).
bool SamePathText(const std::string& a, const std::string& b, ui::LeadByteTest isLead);

// The list without the lines of its [rename] sections that decide what
// becomes of `file` at the next start: "file=..." (a replacement) and
// "NUL=file" (a deletion). A line equal to `keep` stays. Every other byte
// stays as it was. `replacedBy` receives the sources of the replacements
// taken out, so that the caller can delete what only they pointed at.
std::string WithoutOperationsOn(const std::string& existing, const std::string& file,
                                const std::string& keep, ui::LeadByteTest isLead,
                                std::vector<std::string>* replacedBy);

// The list after adding `line` to `existing`. An empty list becomes
// "[rename]", CR LF and the line, with nothing after it. Otherwise every byte
// is kept: the line joins the end of the first [rename] section (or a new
// section at the end of the file), and a line already in that section is
// not added twice (compared as SamePathText compares). Lines end in CR LF,
// LF or CR alone; a leading UTF-8 byte-order mark is not part of the first
// line; an end-of-text mark (1A) ends the text that is looked at. The line
// added ends as the file's lines do (as its first line that ends in a line
// feed; CR alone in a file without line feeds), and after a line that ends
// in CR alone in a file of line feeds a line feed goes in first, for readers
// that end lines only there.
std::string MergeRenameList(const std::string& existing, const std::string& line,
                            ui::LeadByteTest isLead);

}  // namespace engine
