/* The string functions: bytes compare as unsigned char. */
#include <string.h>
#include <wchar.h>

size_t strlen(const char* text) {
    const char* end = text;
    while (*end) ++end;
    return (size_t)(end - text);
}

size_t wcslen(const wchar_t* text) {
    const wchar_t* end = text;
    while (*end) ++end;
    return (size_t)(end - text);
}

int strcmp(const char* left, const char* right) {
    const unsigned char* a = (const unsigned char*)left;
    const unsigned char* b = (const unsigned char*)right;
    while (*a && *a == *b) ++a, ++b;
    return *a < *b ? -1 : *a > *b;
}

int strncmp(const char* left, const char* right, size_t count) {
    const unsigned char* a = (const unsigned char*)left;
    const unsigned char* b = (const unsigned char*)right;
    for (; count; --count, ++a, ++b) {
        if (*a != *b) return *a < *b ? -1 : 1;
        if (!*a) break;
    }
    return 0;
}

char* strchr(const char* text, int value) {
    const char c = (char)value;
    for (;; ++text) {
        if (*text == c) return (char*)text;
        if (!*text) return NULL;
    }
}

char* strncpy(char* restrict destination, const char* restrict source, size_t count) {
    char* d = destination;
    for (; count && *source; --count) *d++ = *source++;
    /* The rest of the field is filled with zeros. */
    for (; count; --count) *d++ = 0;
    return destination;
}
