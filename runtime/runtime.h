/* What the pieces of the runtime share: the import pointers that code built
   against the platform's C headers calls through, and the C library state. */
#ifndef QUARNEL_RUNTIME_H
#define QUARNEL_RUNTIME_H

/* The platform's headers declare some C functions as imported from a DLL, so
   code built against them (the program, libstdc++) calls those through a
   pointer named __imp_<symbol>. The runtime defines that pointer itself and
   points it at its own function: the call then stays inside the program. */
#define RT_TEXT_(x) #x
#define RT_TEXT(x) RT_TEXT_(x)
#define RT_IMPORT_NAME(name) "__imp_" RT_TEXT(__USER_LABEL_PREFIX__) #name
#define RT_IMPORT_POINTER(name) \
    __typeof__(name)* const rt_import_##name __asm__(RT_IMPORT_NAME(name)) = name

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Shows what was written to the standard error stream, followed by the
   ending, in a message box: a program of the windows subsystem has no console
   where it could be read. */
void rt_show_diagnostics(const char* ending);

/* Where the file name in the first `length` bytes of `path` starts: after the
   last backslash or slash that is a character of its own. `is_lead` tells
   which bytes start a two-byte character, whose second byte may have a
   backslash's value (Shift-JIS "\x83\x5C"). */
const char* rt_file_name_part(const char* path, size_t length, int (*is_lead)(unsigned char));

#ifdef __cplusplus
}
#endif

#endif
