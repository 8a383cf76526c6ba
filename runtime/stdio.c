/* The standard streams, as far as the C++ runtime writes to them: its last
   words before an abnormal end go to the standard error stream. They are
   written unbuffered to the process's standard handles, which a program of
   the windows subsystem has only when its starter passed some; nothing opens
   a console for them. The error stream's latest text is kept as well, for the
   message box of an abnormal end. */
#include <stdio.h>
#include <string.h>
#include <windows.h>

#include "runtime.h"

static FILE streams[3];

FILE* __acrt_iob_func(unsigned index) { return index < 3 ? &streams[index] : NULL; }
RT_IMPORT_POINTER(__acrt_iob_func);

/* The end of the error stream's text, enough for the C++ runtime's report of
   an uncaught exception. */
static char kept[512];
static size_t kept_length;

static void keep(const char* text, size_t length) {
    if (length >= sizeof kept) {
        text += length - (sizeof kept - 1);
        length = sizeof kept - 1;
    }
    if (kept_length + length >= sizeof kept) {
        const size_t drop = kept_length + length - (sizeof kept - 1);
        memmove(kept, kept + drop, kept_length - drop);
        kept_length -= drop;
    }
    memcpy(kept + kept_length, text, length);
    kept_length += length;
    kept[kept_length] = '\0';
}

static HANDLE handle_of(const FILE* stream) {
    if (stream == &streams[1]) return GetStdHandle(STD_OUTPUT_HANDLE);
    if (stream == &streams[2]) return GetStdHandle(STD_ERROR_HANDLE);
    return INVALID_HANDLE_VALUE;
}

static int write_all(FILE* stream, const char* text, size_t length) {
    if (stream == &streams[2]) keep(text, length);
    const HANDLE handle = handle_of(stream);
    if (handle == NULL || handle == INVALID_HANDLE_VALUE) return 0;
    while (length > 0) {
        DWORD written = 0;
        if (!WriteFile(handle, text, (DWORD)length, &written, NULL) || written == 0) return 0;
        text += written;
        length -= written;
    }
    return 1;
}

size_t fwrite(const void* data, size_t size, size_t count, FILE* stream) {
    if (size == 0 || count == 0 || count > (size_t)-1 / size) return 0;
    return write_all(stream, data, size * count) ? count : 0;
}

int fputs(const char* text, FILE* stream) {
    return write_all(stream, text, strlen(text)) ? 0 : EOF;
}

int fputc(int c, FILE* stream) {
    const char byte = (char)c;
    return write_all(stream, &byte, 1) ? (unsigned char)byte : EOF;
}

const char* rt_file_name_part(const char* path, size_t length, int (*is_lead)(unsigned char)) {
    const char* name = path;
    for (size_t i = 0; i < length; ++i) {
        if (is_lead((unsigned char)path[i]) && i + 1 < length) {
            ++i; /* the second byte, whatever its value */
        } else if (path[i] == '\\' || path[i] == '/') {
            name = path + i + 1;
        }
    }
    return name;
}

/* The code page is named: the Windows 95 family documents IsDBCSLeadByteEx
   for real code page numbers only. */
static int is_ansi_lead(unsigned char byte) { return IsDBCSLeadByteEx(GetACP(), byte) != FALSE; }

void rt_show_diagnostics(const char* ending) {
    write_all(&streams[2], ending, strlen(ending));
    write_all(&streams[2], "\n", 1);
    char program[MAX_PATH];
    const DWORD length = GetModuleFileNameA(NULL, program, sizeof program);
    const char* name = rt_file_name_part(program, length, is_ansi_lead);
    if (length == 0 || length >= sizeof program) name = NULL;
    MessageBoxA(NULL, kept, name, MB_OK | MB_ICONSTOP | MB_TASKMODAL | MB_SETFOREGROUND);
}
