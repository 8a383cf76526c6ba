/* A stand-in for one program of the suite on the sample medium: it shows a
   window that says which sample it is and where it was started. */
#include <windows.h>
#include <stdio.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show) {
    char directory[MAX_PATH] = "";
    char text[512];
    (void)instance;
    (void)previous;
    (void)commandLine;
    (void)show;
    GetCurrentDirectoryA(sizeof directory, directory);
    snprintf(text, sizeof text,
             "This is the sample %s of the Quarnel sample medium.\n\n"
             "Started in: %s",
             SAMPLE_NAME, directory);
    MessageBoxA(NULL, text, SAMPLE_NAME " (sample)", MB_OK | MB_ICONINFORMATION);
    return 0;
}
