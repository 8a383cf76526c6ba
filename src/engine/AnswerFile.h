// Answer files: the choices of one install (directory, components and the
// three options) kept in a small INI file, so that the same install can be
// made again on other machines, silently or as the setup window's presets.
//
// One section, [Setup], with the keys Dir (the directory as typed into the
// directory field), Components (names as /COMPONENTS= takes them), and
// MenuGroup, ViewReadme and StartupShortcut (Yes or No).
//
// A key left out leaves its choice to the switches and the defaults; a key,
// section or value the program does not know refuses the whole file.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "engine/CommandLine.h"
#include "engine/ComponentTable.h"

namespace engine {

struct InstallChoices;

struct Answers {
    std::optional<std::string> directory;
    std::optional<std::array<bool, kComponentCount>> components;
    std::optional<bool> menuGroup;
    std::optional<bool> viewReadme;
    std::optional<bool> startupShortcut;
};

// Reads the text of an answer file; an error text naming what is wrong, and
// `answers` untouched, when it is not one the program understands.
std::string ParseAnswers(const std::string& text, Answers& answers);

// The text of an answer file with every key that `answers` holds.
std::string AnswersText(const Answers& answers);

// Takes the answers into the command line's choices wherever no switch made
// that choice: a switch given beside the file wins over it.
void ApplyAnswers(const Answers& answers, SetupCommandLine& line);

// At the start of a run: makes the command line's answer-file names whole
// (a later change of the current directory does not move them) and reads
// /LOADINF='s file into the choices. A file that cannot be read or is not
// understood makes the command line not understood, naming the file.
void PrepareAnswerFiles(SetupCommandLine& line);

// Writes the choices an install was made with to `path`, replacing the file
// whole; logged either way. A file that cannot be written does not stop the
// install.
void SaveAnswerFile(const std::string& path, const InstallChoices& choices);

}  // namespace engine
