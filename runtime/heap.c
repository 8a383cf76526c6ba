/* The C heap is the process heap of the system. */
#include <errno.h>
#include <stdlib.h>
#include <windows.h>

void* malloc(size_t size) {
    /* A block of no bytes is still a distinct block. */
    void* block = HeapAlloc(GetProcessHeap(), 0, size ? size : 1);
    if (!block) errno = ENOMEM;
    return block;
}

void* calloc(size_t count, size_t size) {
    if (size != 0 && count > (size_t)-1 / size) {
        errno = ENOMEM;
        return NULL;
    }
    const size_t total = count * size;
    void* block = HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, total ? total : 1);
    if (!block) errno = ENOMEM;
    return block;
}

void free(void* block) {
    if (block) HeapFree(GetProcessHeap(), 0, block);
}

void* realloc(void* block, size_t size) {
    if (!block) return malloc(size);
    if (size == 0) {
        free(block);
        return NULL;
    }
    /* On failure the old block stays as it was, as the caller expects. */
    void* moved = HeapReAlloc(GetProcessHeap(), 0, block, size);
    if (!moved) errno = ENOMEM;
    return moved;
}
