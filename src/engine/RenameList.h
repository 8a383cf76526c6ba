// The platform's start-up rename list, "wininit.ini" in the Windows
// directory: before Windows starts, the lines of its [rename] section are
// carried out in real-mode DOS, one "target=source" each, and the target NUL
// deletes the source. Only 8.3 names can be read there.
//
// The list is shared with every other program that has operations pending,
// so it is merged, never overwritten, and replaced only once the new content
// is whole on disk.
#pragma once

#include <string>

namespace engine {

inline constexpr char kRenameListName[] = "\\wininit.ini";

// The line that deletes `file` at the next start: "NUL=" and the path, in
// its short form when any component is not a valid 8.3 name (the file must
// exist then). Empty when the path is refused: it holds a control character
// or a character no file name may hold, or it is not an absolute path on a
// drive letter with plain components ("." and ".." and empty ones refused),
// or its short form cannot be had.
std::string PendingDeletionLine(const std::string& file);

// True for a name DOS can hold: one to eight characters, then optionally a
// dot and one to three more, none of them a blank or a character that only
// long names may hold. Letter case does not matter.
bool IsEightDotThreeName(const std::string& name);

// The list after adding `line` to `existing`. An empty list becomes
// "[rename]", CR LF and the line, with nothing after it. Otherwise every
// byte is kept: the line joins the end of the first [rename] section (or a
// new section at the end of the file), with the line ends the file already
// uses, and a line already in that section is not added twice.
std::string MergeRenameList(const std::string& existing, const std::string& line);

// Adds the deletion of `file` to the rename list at `listPath`. Answers
// false, with the list as it was, when the path is refused, the existing list
// cannot be read, or the new one cannot be written whole.
bool ScheduleDeletionAtStartup(const std::string& listPath, const std::string& file);

}  // namespace engine
