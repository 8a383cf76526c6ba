/* File descriptors and the random source, which libstdc++'s random device
   refers to. The program opens files through the system's handles and never
   asks for random numbers: there are no descriptors, and every Windows 95
   lacks a source of random numbers, so both fail as documented. */
#define _CRT_RAND_S
#include <errno.h>
#include <stdlib.h>

#include "runtime.h"

int read(int descriptor, void* buffer, unsigned int count) {
    (void)descriptor;
    (void)buffer;
    (void)count;
    errno = EBADF;
    return -1;
}

int close(int descriptor) {
    (void)descriptor;
    errno = EBADF;
    return -1;
}

errno_t rand_s(unsigned int* value) {
    (void)value;
    return EINVAL;
}
RT_IMPORT_POINTER(rand_s);
