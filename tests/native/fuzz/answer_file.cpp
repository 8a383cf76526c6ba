// Answer files on any bytes: a refused file leaves the answers as they
// were, and what a read file holds is written out and read back the same.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "engine/AnswerFile.h"

namespace {

[[noreturn]] void Broken(const char* what) {
    std::fprintf(stderr, "answer file: %s\n", what);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    engine::Answers answers;
    answers.viewReadme = true;
    const std::string before = engine::AnswersText(answers);
    if (!engine::ParseAnswers(text, answers).empty()) {
        if (engine::AnswersText(answers) != before) Broken("a refused file changed the answers");
        return 0;
    }
    if (answers.directory && answers.directory->find_first_not_of(" \t") == std::string::npos)
        Broken("read with a blank directory");
    engine::Answers again;
    const std::string written = engine::AnswersText(answers);
    if (!engine::ParseAnswers(written, again).empty()) Broken("its own text is refused");
    if (engine::AnswersText(again) != written) Broken("its own text reads back otherwise");
    return 0;
}
