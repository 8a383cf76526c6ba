// The switches an unattended run is started with, as technicians write them
// in logon scripts and distribution tools: names in any case and order, a
// value after "=", and blanks inside a value kept when the argument or the
// value alone is in double quotes. Each switch is given once at most, and
// every quote is closed: a line that breaks either rule is not understood,
// since what it asks for cannot be known. Plain text in, plain data out.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "engine/ComponentTable.h"

namespace engine {

struct SetupCommandLine {
    bool silent = false;  // no window, no question: the terms accepted by the technician
    bool remove = false;  // remove the recorded install instead of installing
    bool directoryGiven = false;
    std::string directory;  // as typed into the directory field
    bool componentsGiven = false;
    std::array<bool, kComponentCount> components{true, true, true, true, true};
    bool menuGroup = true;
    bool startupShortcut = true;
    std::string logFile;         // empty: no log
    std::string mifName;         // the status MIF's name without ".MIF"; empty: none
    std::string saveAnswerFile;  // where the install writes its choices; empty: nowhere
    std::string loadAnswerFile;  // where the choices are read from; empty: the switches alone
    // No switch of its own: only an answer file unticks "View readme".
    bool viewReadme = true;
    // Why the line was not understood, naming the argument; empty when it was.
    std::string error;

    bool Understood() const { return error.empty(); }
};

// The arguments of a command line after the program's name: separated by
// blanks or tabs; a double quote starts or ends a stretch in which blanks
// belong to the argument, and is itself dropped. A path holds no double
// quote, so none is taken literally; an unclosed stretch runs to the end
// (and ParseCommandLine refuses the line).
std::vector<std::string> SplitArguments(const std::string& arguments);

// Reads "Wardex,Trivel" into the ticks; an error text when a name is unknown
// or missing, naming `where` the list was given.
std::string ReadComponentList(const std::string& list, const std::string& where,
                              std::array<bool, kComponentCount>& ticks);

// Reads every switch. The first argument not understood sets `error`; the
// switches read before and after it are kept, so that a silent run refused
// for its command line still knows it must stay silent and where to log why.
// The argument an unclosed quote runs into, a second copy of a switch and a
// refused value are not read; a line refused for its /MIF= has no status
// file at all.
SetupCommandLine ParseCommandLine(const std::string& arguments);

// True when the path lies in the device namespace (under \\.\ or \\?\), or
// its last component names a device of the platform (CON, PRN, AUX, NUL,
// CLOCK$, COM1 to COM9, LPT1 to LPT9), in any case, with or without a
// directory, a drive or an extension.
bool NamesDevice(const std::string& path);

}  // namespace engine
