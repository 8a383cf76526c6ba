// The command line on any bytes: arguments never hold a double quote, each
// argument put back in quotes splits out again unchanged, and a line that is
// understood always names at least one component and a directory that is not
// blank, and leaves no quote open; no device is ever taken as a file, and
// no status MIF is named that the rules of /MIF= refuse.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/CommandLine.h"
#include "engine/StatusMif.h"

namespace {

[[noreturn]] void Broken(const char* what) {
    std::fprintf(stderr, "command line: %s\n", what);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> arguments = engine::SplitArguments(text);
    std::string quoted;
    for (const std::string& argument : arguments) {
        if (argument.find('"') != std::string::npos) Broken("an argument holds a double quote");
        quoted += " \"" + argument + "\"";
    }
    if (engine::SplitArguments(quoted) != arguments) Broken("quoted arguments split otherwise");

    const engine::SetupCommandLine line = engine::ParseCommandLine(text);
    if (line.Understood()) {
        bool any = false;
        for (const bool chosen : line.components) any = any || chosen;
        if (!any) Broken("understood without a component");
        if (line.directoryGiven && line.directory.find_first_not_of(" \t\r\n") == std::string::npos)
            Broken("understood with a blank directory");
        if (line.remove && !line.silent) Broken("a removal understood without /SILENT");
        std::size_t quotes = 0;
        for (const char c : text) quotes += c == '"';
        if (quotes % 2 != 0) Broken("understood with a quote left open");
    }
    for (const std::string* file : {&line.logFile, &line.saveAnswerFile, &line.loadAnswerFile})
        if (!file->empty() && engine::NamesDevice(*file)) Broken("a device taken as a file");
    std::string mif;
    if (!line.mifName.empty() && (!line.silent || !engine::ReadMifName(line.mifName, mif).empty()))
        Broken("a status MIF taken that its /MIF= rules refuse");
    return 0;
}
