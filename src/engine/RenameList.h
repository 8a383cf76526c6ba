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

// What the next start is to do with one file of ours. Each of these makes
// it the one operation pending on that file: the lines already in the list
// that replace or delete the same file (compared as DOS reads the paths)
// are taken out, so that the start carries out what the last run decided
// and nothing that undoes it. A temporary file that only a line taken out
// pointed at (one of ReplacementTemporaryIn's names beside the file) is
// deleted once the new list is in place. Lines of other files stay as they
// are. Each answers false, with the list as it was and no other file left
// beside it, when a path is refused, the existing list cannot be read for
// certain (any failure but "not found" when asked for it, or larger than
// kLongestRenameList), or the new one cannot be put in place whole and
// flushed. The new list keeps the old one's read-only, hidden, system and
// archive attributes.
//
// `file` is deleted at the next start.
bool ScheduleDeletionAtStartup(const std::string& listPath, const std::string& file);
// `replacement` takes the place of `file` at the next start.
bool ScheduleReplacementAtStartup(const std::string& listPath, const std::string& file,
                                  const std::string& replacement);
// Nothing is to happen to `file` at the next start: it is as it should stay.
// True also when nothing was pending, and for a path refused as above: no
// line can name it.
bool CancelStartupOperations(const std::string& listPath, const std::string& file);

// The rename list of this machine: "wininit.ini" in the Windows directory.
std::string SystemRenameList();

// A new, empty file with an 8.3 name in `directory`, for a copy that is to
// replace a file in use there at the next start; empty when none can be made.
std::string ReplacementTemporaryIn(const std::string& directory);

// How the list is looked up: GetFileAttributesA, a failure told by the last
// error. A failure that passes (a sharing conflict, a busy network drive)
// cannot be brought about from outside, so tests put their own query in
// place; nullptr puts the platform's back.
using AttributeQuery = DWORD(WINAPI*)(LPCSTR path);
void SetListAttributeQuery(AttributeQuery query);

// How the list's files are renamed: MoveFileA. Tests put a failing one in
// place to reach the recovery of a replacement that fails half-way; nullptr
// puts the platform's back.
using FileMover = BOOL(WINAPI*)(LPCSTR from, LPCSTR to);
void SetListFileMover(FileMover mover);

}  // namespace engine
