/* Character classes of the "C" locale, the only one the program uses: ASCII
   letters, digits and white space; bytes from 0x80 up belong to no class. */
#define _CTYPE_DISABLE_MACROS
#include <ctype.h>

#include "runtime.h"

int isupper(int c) { return c >= 'A' && c <= 'Z'; }
int islower(int c) { return c >= 'a' && c <= 'z'; }
int isalpha(int c) { return isupper(c) || islower(c); }
int isdigit(int c) { return c >= '0' && c <= '9'; }
int isalnum(int c) { return isalpha(c) || isdigit(c); }
int isxdigit(int c) { return isdigit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }
int isspace(int c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
int toupper(int c) { return islower(c) ? c - 'a' + 'A' : c; }
int tolower(int c) { return isupper(c) ? c - 'A' + 'a' : c; }

RT_IMPORT_POINTER(isupper);
RT_IMPORT_POINTER(islower);
RT_IMPORT_POINTER(isalpha);
RT_IMPORT_POINTER(isdigit);
RT_IMPORT_POINTER(isalnum);
RT_IMPORT_POINTER(isxdigit);
RT_IMPORT_POINTER(isspace);
RT_IMPORT_POINTER(toupper);
RT_IMPORT_POINTER(tolower);
