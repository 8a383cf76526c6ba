/* What libgcc's and libstdc++'s thread support ask of the C runtime. */
#include <windows.h>

/* Threads are in use: the C++ runtime keeps its locks, as it always has. */
int _CRT_MT = 2;

/* Registers a destructor for a thread-local key, to be run as a thread ends.
   The program's code runs on its one thread, whose data ends with the
   process; no other thread ever holds a key's value, so none is kept. */
int __mingwthr_key_dtor(DWORD key, void (*destructor)(void*)) {
    (void)key;
    (void)destructor;
    return 0;
}
