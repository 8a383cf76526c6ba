// The log of a run started with /LOG=: one line per step, appended to a file
// a technician reads afterwards. The steps write to it where they happen, so
// that the window flow and the unattended one log alike. Without a log file
// every call is a no-op.
#pragma once

#include <string>

namespace engine {

// Starts logging to `path` (created when missing, never truncated); an empty
// path stops it. Nothing is written until the first line.
void StartLog(const std::string& path);
bool Logging();

// Appends "<date> <time> <text>" and a line end. A log that cannot be
// written never stops the work: the line is dropped.
void LogLine(const std::string& text);
void LogError(const std::string& text);  // the same, as "Error: <text>"

// Every run that writes a log locks this one byte of the file, far past any
// log's end, while it finds the end and writes there: two runs on one file
// then append in turn instead of writing over each other's lines.
constexpr unsigned long kLogWriterLockOffset = 0x7FFFFFFF;

// The text of the last error of the run, kept with or without a log file,
// for the status MIF; empty when there was none.
const std::string& LastLoggedError();

}  // namespace engine
