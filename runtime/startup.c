/* Start and end of the program: the entry point the loader calls, the static
   constructors, WinMain, and exit with the functions registered by atexit
   (the static destructors among them), run last registered first. */
#include <stdlib.h>
#include <windows.h>

#include "runtime.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand);

/* libgcc: runs the static constructors once, last listed first, and registers
   their destructors with atexit. */
void __main(void);

typedef void (*ExitFunction)(void);

static CRITICAL_SECTION exit_lock;
static ExitFunction* exit_functions;
static size_t exit_count;
static size_t exit_capacity;

int atexit(ExitFunction function) {
    int result = 0;
    EnterCriticalSection(&exit_lock);
    if (exit_count == exit_capacity) {
        const size_t capacity = exit_capacity ? exit_capacity * 2 : 32;
        ExitFunction* grown = realloc(exit_functions, capacity * sizeof *grown);
        if (grown) {
            exit_functions = grown;
            exit_capacity = capacity;
        }
    }
    if (exit_count < exit_capacity) {
        exit_functions[exit_count++] = function;
    } else {
        result = -1;
    }
    LeaveCriticalSection(&exit_lock);
    return result;
}

void exit(int status) {
    /* One at a time and outside the lock: a function may register another. */
    for (;;) {
        ExitFunction function = NULL;
        EnterCriticalSection(&exit_lock);
        if (exit_count > 0) function = exit_functions[--exit_count];
        LeaveCriticalSection(&exit_lock);
        if (!function) break;
        function();
    }
    ExitProcess((UINT)status);
}

void abort(void) {
    rt_show_diagnostics("abnormal program termination");
    ExitProcess(3);
}

/* The command line after the program's own name, as WinMain receives it. */
static LPSTR command_tail(void) {
    LPSTR p = GetCommandLineA();
    if (*p == '"') {
        ++p;
        while (*p && *p != '"') ++p;
        if (*p == '"') ++p;
    } else {
        while (*p && *p != ' ' && *p != '\t') ++p;
    }
    while (*p == ' ' || *p == '\t') ++p;
    return p;
}

static int show_command(void) {
    STARTUPINFOA startup;
    startup.cb = sizeof startup;
    GetStartupInfoA(&startup);
    return (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : SW_SHOWDEFAULT;
}

/* The x87 unit as MinGW's own start-up leaves it, which is what the test
   builds run with: every exception masked, rounding to nearest, and 64-bit
   precision. The loader hands over 53-bit precision, with which the same
   long double (and, on i686, double) arithmetic rounds differently. */
static void reset_x87(void) { __asm__ volatile("fninit"); }

/* The loader enters here with the stack aligned to 4 bytes on i686; the code
   compiled for it expects 16. */
__attribute__((force_align_arg_pointer, noreturn)) void WinMainCRTStartup(void) {
    reset_x87();
    InitializeCriticalSection(&exit_lock);
    __main();
    exit(WinMain(GetModuleHandleA(NULL), NULL, command_tail(), show_command()));
}
