/* The memory functions. The compiler must not turn these loops back into
   calls of the functions they implement (see CMakeLists.txt). */
#include <stdint.h>
#include <string.h>

/* Whole words where both ends allow it; they may alias any object. */
typedef size_t __attribute__((may_alias)) Word;

static int words_fit(const void* a, const void* b) {
    return (((uintptr_t)a | (uintptr_t)b) & (sizeof(Word) - 1)) == 0;
}

/* Lowest address first: also right where the destination starts below an
   overlapping source, since every store lands on bytes already read. */
static void copy_forwards(unsigned char* d, const unsigned char* s, size_t count) {
    if (words_fit(d, s)) {
        for (; count >= sizeof(Word); count -= sizeof(Word)) {
            const Word word = *(const Word*)s;
            *(Word*)d = word;
            d += sizeof(Word);
            s += sizeof(Word);
        }
    }
    while (count--) *d++ = *s++;
}

void* memcpy(void* restrict destination, const void* restrict source, size_t count) {
    copy_forwards(destination, source, count);
    return destination;
}

void* memmove(void* destination, const void* source, size_t count) {
    unsigned char* d = destination;
    const unsigned char* s = source;
    if (d == s || count == 0) return destination;
    if ((uintptr_t)d - (uintptr_t)s >= count) {
        /* The destination does not start inside the source. */
        copy_forwards(d, s, count);
        return destination;
    }
    /* It starts inside: backwards, so that no byte is overwritten unread. */
    d += count;
    s += count;
    while (count--) *--d = *--s;
    return destination;
}

void* memset(void* destination, int value, size_t count) {
    unsigned char* d = destination;
    const unsigned char byte = (unsigned char)value;
    while (count && ((uintptr_t)d & (sizeof(Word) - 1))) {
        *d++ = byte;
        --count;
    }
    if (count >= sizeof(Word)) {
        const Word pattern = (Word)-1 / 0xFF * byte;
        for (; count >= sizeof(Word); count -= sizeof(Word)) {
            *(Word*)d = pattern;
            d += sizeof(Word);
        }
    }
    while (count--) *d++ = byte;
    return destination;
}

int memcmp(const void* left, const void* right, size_t count) {
    const unsigned char* a = left;
    const unsigned char* b = right;
    for (; count; --count, ++a, ++b) {
        if (*a != *b) return *a < *b ? -1 : 1;
    }
    return 0;
}

void* memchr(const void* block, int value, size_t count) {
    const unsigned char* p = block;
    const unsigned char byte = (unsigned char)value;
    for (; count; --count, ++p) {
        if (*p == byte) return (void*)p;
    }
    return NULL;
}
