/* errno and its texts. The program calls the C library from its one thread,
   so errno is one variable. */
#include <errno.h>
#include <string.h>

#include "runtime.h"

static int error_number;

int* _errno(void) { return &error_number; }
RT_IMPORT_POINTER(_errno);

char* strerror(int number) {
    switch (number) {
        case 0:
            return "No error";
        case EBADF:
            return "Bad file descriptor";
        case ENOMEM:
            return "Not enough space";
        case EINVAL:
            return "Invalid argument";
        case EDOM:
            return "Domain error";
        case ERANGE:
            return "Result too large";
        case EILSEQ:
            return "Illegal byte sequence";
        default:
            return "Unknown error";
    }
}
