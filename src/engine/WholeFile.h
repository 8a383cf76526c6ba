// Small text files read and written whole: an answer file, a status MIF.
// A reader of the target (a distribution tool, the next machine's setup)
// finds either the old file or the new one, never a half-written one.
#pragma once

#include <string>

namespace engine {

// Reads the file of at most `longest` bytes into `text`; false when it
// cannot be opened or read, or is longer.
bool ReadWholeFile(const std::string& path, std::size_t longest, std::string& text);

// Writes `text` to a temporary file beside `path`, then puts it in the
// place of `path`. False, with nothing left of the temporary, when any step
// fails, and when another program has `path` open (it stays as it is).
bool ReplaceWholeFile(const std::string& path, const std::string& text);

}  // namespace engine
