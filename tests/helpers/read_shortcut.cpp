// Reads shortcuts back through the shell, one line per field, so that the
// shortcuts two installs made can be compared as the shell sees them: their
// files also hold the times of their targets, which differ from run to run.
//   read_shortcut.exe LINK...
#include <cstdio>
#include <exception>

#include "shortcut_view.h"

int main(int argc, char** argv) {
    int status = 0;
    for (int i = 1; i < argc; ++i) {
        try {
            const auto view = e2e::ReadShortcut(argv[i]);
            if (!view) {
                std::printf("unreadable\n");
                status = 1;
                continue;
            }
            std::printf("target=%s\narguments=%s\ndirectory=%s\ndescription=%s\n",
                        view->target.c_str(), view->arguments.c_str(),
                        view->workingDirectory.c_str(), view->description.c_str());
            std::printf("icon=%s,%d\nshow=%d hotkey=%u\n", view->iconFile.c_str(), view->iconIndex,
                        view->showCommand, view->hotkey);
        } catch (const std::exception& error) {
            std::printf("unreadable: %s\n", error.what());
            status = 1;
        }
    }
    return status;
}
