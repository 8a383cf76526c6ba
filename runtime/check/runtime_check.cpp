// Runs the C runtime of setup.exe through what the program and the C++
// runtime ask of it: start-up with the floating-point units' state and static
// constructors, exceptions, the heap, the memory, string and character
// functions, formatting and number reading from libmingwex on top of errno
// and the locale, and an exit that runs the registered functions last first.
// It reports on standard output and ends with code 42 when every check held;
// run.sh checks the rest after the exit.
#include <windows.h>

#include <cctype>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <stdexcept>
#include <string>

#include "../runtime.h"
#include "thrower.h"

namespace {

int failures = 0;
// Where allocations are kept, so that the compiler cannot leave them out.
void* volatile kept;

void Check(bool held, const char* what) {
    if (held) return;
    ++failures;
    std::fputs("FAILED: ", stdout);
    std::fputs(what, stdout);
    std::fputc('\n', stdout);
}

void Say(const char* text) { std::fwrite(text, 1, std::strlen(text), stdout); }

// Constructed before WinMain; its destructor is among the exit functions.
struct StaticObject {
    bool constructed = false;
    StaticObject() { constructed = true; }
    ~StaticObject() { Say("exit: static object\n"); }
} staticObject;

std::string Format(const char* format, ...) {
    va_list args;
    va_start(args, format);
    char buffer[128];
    const int length = std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    return length < 0 ? std::string("(error)") : std::string(buffer);
}

void CheckExceptions() {
    try {
        check::ThrowRangeError("out of range");
        Check(false, "a thrown exception returns");
    } catch (const std::exception& error) {
        Check(std::strcmp(error.what(), "out of range") == 0, "what() of a caught exception");
    }
    bool rethrown = false;
    try {
        try {
            check::ThrowNumber(7);
        } catch (int) {
            throw;
        }
    } catch (int number) {
        rethrown = number == 7;
    }
    Check(rethrown, "an exception rethrown from a handler");
    bool refused = false;
    try {
        // More than the heap can give: malloc fails, operator new throws.
        volatile std::size_t huge = static_cast<std::size_t>(-1) / 2;
        kept = new char[huge];
        delete[] static_cast<char*>(kept);
    } catch (const std::bad_alloc&) {
        refused = true;
    }
    Check(refused, "std::bad_alloc when the heap has no room");
}

void CheckHeap() {
    char* block = static_cast<char*>(std::malloc(10));
    std::memcpy(block, "abcdefghi", 10);
    block = static_cast<char*>(std::realloc(block, 100000));
    Check(block && std::strcmp(block, "abcdefghi") == 0, "realloc keeps the contents");
    std::free(block);
    unsigned char* zeros = static_cast<unsigned char*>(std::calloc(1000, 4));
    bool allZero = zeros != nullptr;
    for (int i = 0; allZero && i < 4000; ++i) allZero = zeros[i] == 0;
    Check(allZero, "calloc gives zeroed memory");
    std::free(zeros);
    errno = 0;
    volatile std::size_t many = static_cast<std::size_t>(-1) / 8 + 1;
    Check(std::calloc(many, 16) == nullptr && errno == ENOMEM,
          "calloc refuses an overflowing size");
    std::free(nullptr);
}

// The memory and string functions, called through pointers that the compiler
// cannot see through: it would otherwise put its own inline copies in their
// place, and the runtime's functions would not run.
void* (*volatile memcpy_)(void*, const void*, std::size_t) = std::memcpy;
void* (*volatile memmove_)(void*, const void*, std::size_t) = std::memmove;
void* (*volatile memset_)(void*, int, std::size_t) = std::memset;
int (*volatile memcmp_)(const void*, const void*, std::size_t) = std::memcmp;
void* (*volatile memchr_)(const void*, int, std::size_t) = std::memchr;
int (*volatile strcmp_)(const char*, const char*) = std::strcmp;
int (*volatile strncmp_)(const char*, const char*, std::size_t) = std::strncmp;
char* (*volatile strncpy_)(char*, const char*, std::size_t) = std::strncpy;
char* (*volatile strchr_)(const char*, int) = std::strchr;
std::size_t (*volatile strlen_)(const char*) = std::strlen;

// Every offset within a word and lengths across a few words, so that the
// byte and whole-word paths and their joins all run.
void CheckMemory() {
    unsigned char source[80], buffer[80], expected[80];
    for (int i = 0; i < 80; ++i) source[i] = static_cast<unsigned char>(i * 7 + 1);
    bool copied = true, moved = true, filled = true;
    for (int offset = 0; offset < 8; ++offset) {
        for (int length = 0; length <= 40; ++length) {
            const int from = offset * 3 % 8;
            memset_(buffer, 0, sizeof buffer);
            memcpy_(buffer + offset, source + from, length);
            for (int i = 0; i < 80; ++i) {
                const bool inside = i >= offset && i < offset + length;
                copied &= buffer[i] == (inside ? source[i - offset + from] : 0);
            }
            for (int shift = -9; shift <= 9; ++shift) {
                memcpy_(buffer, source, sizeof buffer);
                memcpy_(expected, source, sizeof expected);
                const int start = 10 + offset, to = start + shift;
                for (int i = 0; i < length; ++i) expected[to + i] = source[start + i];
                memmove_(buffer + to, buffer + start, length);
                moved &= memcmp_(buffer, expected, sizeof buffer) == 0;
            }
            memcpy_(buffer, source, sizeof buffer);
            memset_(buffer + offset, 0xA5, length);
            for (int i = 0; i < 80; ++i) {
                const bool inside = i >= offset && i < offset + length;
                filled &= buffer[i] == (inside ? 0xA5 : source[i]);
            }
        }
    }
    Check(copied, "memcpy copies exactly its range");
    Check(moved, "memmove copies overlapping ranges as if through a buffer");
    Check(filled, "memset fills exactly its range");

    const char* high = "a\xE9";
    const char* low = "a\x41";
    Check(memcmp_(high, low, 2) > 0 && strcmp_(high, low) > 0 && strncmp_(high, low, 2) > 0 &&
              strcmp_(low, high) < 0,
          "bytes from 0x80 up compare above ASCII");
    const char* abc = "abc";
    Check(strncmp_(abc, "abd", 2) == 0 && strncmp_(abc, "abd", 3) < 0 &&
              strncmp_("ab\0X", "ab\0Y", 4) == 0,
          "strncmp stops after its count or at the end of the text");
    char field[8];
    memset_(field, '#', sizeof field);
    strncpy_(field, abc, sizeof field);
    Check(field[0] == 'a' && field[3] == '\0' && field[7] == '\0', "strncpy fills with zeros");
    const char* path = "C:\\dir\\file";
    Check(
        strchr_(path, '\\') == path + 2 && strchr_(path, '\0') == path + 11 && strlen_(path) == 11,
        "strchr finds a byte and the terminator");
    Check(memchr_(path, 'f', 11) == path + 7 && memchr_(path, 'f', 7) == nullptr,
          "memchr looks only within its count");
}

void CheckCharacters() {
    Check(std::isalpha('q') && std::isalpha('Q') && !std::isalpha('1') && !std::isalpha(0xE9) &&
              !std::isalpha(EOF),
          "isalpha knows the ASCII letters only");
    Check(std::isxdigit('f') && std::isxdigit('F') && !std::isxdigit('g'), "isxdigit");
    Check(std::isspace('\t') && std::isspace('\r') && !std::isspace(0xA0), "isspace");
    Check(std::toupper('e') == 'E' && std::toupper(0xE9) == 0xE9 && std::toupper('[') == '[',
          "toupper changes only a to z");
}

void CheckFormattingAndNumbers() {
    Check(Format("%d|%5s|%-3u|%x", -12, "ab", 7u, 255u) == "-12|   ab|7  |ff", "integers and text");
    Check(Format("%.2f %g", 3.14159, 0.5) == "3.14 0.5", "a point for decimals");
    Check(std::to_string(2097) + " MB" == "2097 MB", "std::to_string");
    char* end = nullptr;
    errno = 0;
    Check(std::strtoll("  -0x1F;", &end, 0) == -31 && *end == ';' && errno == 0,
          "strtoll reads a signed hexadecimal number");
    Check(std::strtoll("9223372036854775808", nullptr, 10) == LLONG_MAX && errno == ERANGE,
          "strtoll reports an overflow through errno");
    Check(std::strcmp(std::strerror(ERANGE), "Result too large") == 0, "strerror");
    Check(std::fabs(std::sin(std::acos(-1.0) / 2) - 1) < 1e-12, "sin");
}

// The floating-point units as the test builds' start-up (MinGW's) leaves
// them, so that the shipped program computes what the tests saw: the x87 unit
// with every exception masked, rounding to nearest at 64-bit precision, and
// the SSE unit, where the processor has one, as the loader set it.
void CheckFloatingPoint() {
    unsigned short control = 0;
    __asm__ volatile("fnstcw %0" : "=m"(control));
    Check(control == 0x037F, "the x87 unit starts as MinGW's start-up leaves it");
    volatile long double sum = 1.0L;
    sum += 0x1p-60L;  // lost at 53-bit precision
    Check(sum != 1.0L, "long double arithmetic keeps 64 bits");
    if (::IsProcessorFeaturePresent(PF_XMMI_INSTRUCTIONS_AVAILABLE)) {
        unsigned int status = 0;
        __asm__ volatile("stmxcsr %0" : "=m"(status));
        Check((status & ~0x3Fu) == 0x1F80, "the SSE unit starts masked, rounding to nearest");
    }
}

// Lead bytes of Shift-JIS, the Japanese code page 932.
int ShiftJisLead(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }
int NoLeadBytes(unsigned char) { return 0; }

// The name the abort box's caption shows: "ソ" in Shift-JIS ends in a
// backslash's byte, which is no separator there.
void CheckProgramName() {
    const std::string path = "C:\\Q\x83\x5C\\\x83\x5C.exe";
    const char* name = rt_file_name_part(path.data(), path.size(), ShiftJisLead);
    Check(std::strcmp(name, "\x83\x5C.exe") == 0, "a second byte of a character is no separator");
    name = rt_file_name_part(path.data(), path.size(), NoLeadBytes);
    Check(std::strcmp(name, ".exe") == 0, "in a single-byte code page the byte is a backslash");
    const std::string open = "C:/dir/\x83";  // a lead byte at the end has no second byte
    Check(std::strcmp(rt_file_name_part(open.data(), open.size(), ShiftJisLead), "\x83") == 0,
          "a slash separates too");
}

void SayAtExitFirst() { Say("exit: registered first\n"); }
void SayAtExitSecond() { Say("exit: registered second\n"); }

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    CheckFloatingPoint();
    Check(staticObject.constructed, "static constructors ran before WinMain");
    Check(instance == ::GetModuleHandleA(nullptr), "the instance is the program's module");
    Check(std::strcmp(commandLine, "\"first arg\" second") == 0,
          "WinMain receives the command line after the program's name");
    CheckExceptions();
    CheckHeap();
    CheckMemory();
    CheckCharacters();
    CheckFormattingAndNumbers();
    CheckProgramName();
    std::atexit(SayAtExitFirst);
    std::atexit(SayAtExitSecond);
    Say(failures == 0 ? "all checks held\n" : "some checks failed\n");
    return failures == 0 ? 42 : 1;
}
