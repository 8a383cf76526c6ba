// Another program's window for the tests: a shown, topmost popup at the
// screen rectangle given on the command line ("left top width height
// address", the address in hexadecimal) whose "QuarnelControl" property holds
// that address, as a window of a second setup.exe holds one of its own
// objects. It lives until it is closed.
#include <windows.h>

#include <cstdio>

namespace {

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        ::RemovePropA(window, "QuarnelControl");
        ::PostQuitMessage(0);
        return 0;
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    int left = 0, top = 0, width = 0, height = 0;
    unsigned long long address = 0;
    if (std::sscanf(commandLine, "%d %d %d %d %llx", &left, &top, &width, &height, &address) != 5)
        return 2;
    WNDCLASSA wc{};
    wc.lpfnWndProc = &WindowProc;
    wc.hInstance = instance;
    wc.hbrBackground = static_cast<HBRUSH>(::GetStockObject(GRAY_BRUSH));
    wc.lpszClassName = "QuarnelForeignWindow";
    if (::RegisterClassA(&wc) == 0) return 1;
    HWND window =
        ::CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, wc.lpszClassName, "foreign", WS_POPUP,
                          left, top, width, height, nullptr, nullptr, instance, nullptr);
    if (window == nullptr) return 1;
    ::SetPropA(window, "QuarnelControl", reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(address)));
    ::ShowWindow(window, SW_SHOWNOACTIVATE);
    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) ::DispatchMessageA(&msg);
    return 0;
}
