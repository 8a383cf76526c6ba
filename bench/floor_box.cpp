// The floor of the memory benchmark: a program that only shows a message
// box, so its memory is what Wine itself costs a window program.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    ::MessageBoxA(nullptr, "The floor of the memory benchmark.", "Floor", MB_OK);
    return 0;
}
