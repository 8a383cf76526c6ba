// Answer files on the disk: read at the start of a run, written by the
// install once everything it was asked for is in place.
#include "engine/AnswerFile.h"

#include "engine/FileUtil.h"
#include "engine/SetupLog.h"
#include "engine/SetupProcedure.h"
#include "engine/WholeFile.h"

namespace engine {

namespace {

// Far more than any answer file holds; a larger file is not one.
constexpr std::size_t kLongestAnswerFile = 64 * 1024;

}  // namespace

void PrepareAnswerFiles(SetupCommandLine& line) {
    if (!line.saveAnswerFile.empty()) line.saveAnswerFile = FullPath(line.saveAnswerFile);
    if (line.loadAnswerFile.empty() || !line.Understood()) return;
    line.loadAnswerFile = FullPath(line.loadAnswerFile);
    std::string text;
    if (!ReadWholeFile(line.loadAnswerFile, kLongestAnswerFile, text)) {
        line.error = "The answer file " + line.loadAnswerFile + " cannot be read";
        return;
    }
    Answers answers;
    const std::string why = ParseAnswers(text, answers);
    if (!why.empty()) {
        line.error = "The answer file " + line.loadAnswerFile + " is not understood: " + why;
        return;
    }
    ApplyAnswers(answers, line);
}

void SaveAnswerFile(const std::string& path, const InstallChoices& choices) {
    Answers answers;
    answers.directory = choices.installDir;
    answers.components = choices.components;
    answers.menuGroup = choices.menuGroup;
    answers.viewReadme = choices.viewReadme;
    answers.startupShortcut = choices.startupShortcut;
    if (ReplaceWholeFile(path, AnswersText(answers))) {
        LogLine("Answer file written: " + path);
    } else {
        LogError("Cannot write the answer file " + path);
    }
}

}  // namespace engine
