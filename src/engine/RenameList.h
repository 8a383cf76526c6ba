// The platform's start-up rename list, "wininit.ini" in the Windows
// directory (RenameListText.h has its text and the rules of its lines).
//
// The list is shared with every other program that has operations pending,
// so it is merged, never overwritten, and replaced only once the new content
// is whole on disk. A list that cannot be read for certain is left alone.
#pragma once

#include <windows.h>

#include <string>

#include "engine/RenameListText.h"

namespace engine {

inline constexpr char kRenameListName[] = "\\wininit.ini";

// The line that deletes `file` at the next start: "NUL=" and the path as DOS
// will read it, in the OEM code page. A path that is not plain ASCII or not
// made of 8.3 names is written in its short form (the file must exist then).
// Empty when the path is refused: it is not a plain absolute path on a drive
// letter (control characters, characters no file name may hold, ".", ".."
// and empty components refused), its short form cannot be had, a character
// has no OEM form, or what DOS would read is longer than it takes.
std::string PendingDeletionLine(const std::string& file);

// Adds the deletion of `file` to the rename list at `listPath`. Answers false,
// with the list as it was and no other file left beside it, when the path is
// refused, the existing list cannot be read for certain (any failure but
// "not found" when asked for it, or larger than kLongestRenameList), or the
// new one cannot be written whole. The new list keeps the old one's
// read-only, hidden, system and archive attributes.
bool ScheduleDeletionAtStartup(const std::string& listPath, const std::string& file);

// How the list is looked up: GetFileAttributesA, a failure told by the last
// error. A failure that passes (a sharing conflict, a busy network drive)
// cannot be brought about from outside, so tests put their own query in
// place; nullptr puts the platform's back.
using AttributeQuery = DWORD(WINAPI*)(LPCSTR path);
void SetListAttributeQuery(AttributeQuery query);

}  // namespace engine
