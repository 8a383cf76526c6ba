// File-system routines of the install and the removal: the copy with a
// progress control following the bytes, directory making, deletion by
// wildcard, emptying a tree, and the Windows and system directories.
//
// Paths are 8-bit text in the ANSI code page, formed and reported exactly as
// given: a trailing dot stays ("wardex." is the file wardex), and a doubled
// backslash stays in what the user is shown. What is handed to the platform,
// and written to the log, is the path's canonical form (PlatformPath). Paths
// are walked a character at a time, so that the second byte of a
// double-byte character is never taken for a backslash.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "engine/StreamErrors.h"
#include "ui/component.h"

namespace engine {

// One buffer of this size per copy; the progress moves once per block.
constexpr std::uint32_t kCopyBufferSize = 8192;

// Copies `source` to `destination` (or into it, under the source's file name,
// when it names a directory), making missing directories on the way. The
// destination gets normal attributes and the source's last-write time at DOS
// resolution (two seconds, local time). `progress`, when of a known kind,
// runs from 0 to the size in bytes and is set back to 0 at the end, failures
// included. Raises EFOpenError, EFCreateError, EReadError or EWriteError;
// errors raised by the progress control pass through.
//
// A destination that another program holds open (a running program's own
// file), on a local fixed, removable or RAM drive, is not written now: the
// copy goes to a temporary file with an 8.3 name beside it, and the
// system's rename list (RenameList.h) puts it in place at the next Windows
// start. On any other drive the next start cannot help, and the destination
// is not created. A copy written directly takes out what the list would
// still do to the destination at that start; should the list not let that
// go, EFCreateError is raised, since the copy would not stay.
void CopyFileWithProgress(const std::string& source, const std::string& destination,
                          ui::TComponent* progress);

// Makes a directory and any missing parents, outermost first; silent.
void EnsureDirectoryPath(const std::string& path);
// Makes the one directory named; parents are not made and failure is silent.
void MakeDirectory(const std::string& path);
bool IsDirectoryPresent(const std::string& path);
// Present and not a directory.
bool IsFilePresent(const std::string& path);

// The path as the platform is given it, and as the log names it: each run of
// backslashes made one, a leading pair (a network path) kept. Nothing
// documents how the file system of Windows 95 reads a doubled backslash
// (its long-file-name services take "X:\\" for the start of a network
// path), and a path copied from the log should work in any tool.
std::string PlatformPath(const std::string& path);

// The path made whole against the current directory and canonical by the
// program's own text rules, whatever the platform's call makes of a doubled
// backslash: what the rename list writes and compares, and what a log, an
// answer file or a status MIF keeps to name its file for the whole run.
// Canonical as given when it cannot be made whole.
std::string FullPath(const std::string& path);

// "" stays "", "c:" and "c:\" stay, a lone drive letter "c" becomes "c:\",
// anything else gets a backslash appended.
std::string AppendBackslash(const std::string& path);
// True when the last character is a backslash.
bool EndsWithBackslash(const std::string& path);
// Text up to and including the last backslash or colon; "" when neither.
std::string DirectoryPart(const std::string& path);
// Text after the last backslash or colon.
std::string FileNamePart(const std::string& path);

// Low 32 bits of the size, as a signed number; -1 when not found.
std::int32_t SourceFileSize(const std::string& path);

// Deletes the files matching a wildcard name (directories are left alone),
// each as DeleteFileOrAtStartup does. Every match is tried, also after one
// that stays (read-only, in use), and each that stays is logged. Tells a
// mask that matched nothing from one whose matches all went (or were left
// for the next start) and from one that left a file behind.
enum class MatchDeletion { NoMatch, AllGone, SomeStayed };
MatchDeletion DeleteEveryMatch(const std::string& mask);
// The same; true only when something matched and nothing stayed.
bool DeleteMatchingFiles(const std::string& mask);

// Deletes a file unless another program has it open: Windows 95 and 98
// delete a file that is open for normal I/O, from under the program that
// writes it (only a running program's own file refuses). The file is first
// opened without sharing; a sharing violation there leaves it in place.
// False when it stays, with the last error set (ERROR_SHARING_VIOLATION for
// a file in use).
bool DeleteFileUnlessOpen(const std::string& path);

// Deletes a file; one that another program holds open, on a drive that the
// next Windows start can reach, is listed for deletion at that start
// instead. Either way a replacement listed for the next start goes from the
// list, its temporary with it. False, logged with the path and the reason,
// when the file stays (read-only, no rights, in use on a network drive or
// with a list that cannot take the line) or when a replacement that would
// bring it back cannot be taken out of the list.
bool DeleteFileOrAtStartup(const std::string& path);

// Deletes everything below `path`, read-only files included, and the
// directory itself when `removeItself` is set and all else went well. A bare
// drive ("x:") is never removed. True when everything tried succeeded; each
// entry that stays is logged with its reason.
bool ClearDirectoryTree(const std::string& path, bool removeItself);

// How the type of a drive is asked for, given its root ("C:\"):
// GetDriveTypeA. Tests put their own in place to have a network drive;
// nullptr puts the platform's back.
using DriveTypeQuery = UINT(WINAPI*)(LPCSTR root);
void SetDriveTypeQuery(DriveTypeQuery query);

// No trailing backslash unless the directory is a drive root.
std::string WindowsDirectoryPath();
std::string SystemDirectoryPath();

}  // namespace engine
