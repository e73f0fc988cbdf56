// What libc++ expects of macOS's <xlocale.h>, over glibc's C headers, for
// compiling against libc++ with an Apple target on Linux (test lanes only).
// Declarations only: nothing compiled here is linked or run.
#ifndef FENNICK_LANE_XLOCALE_H
#define FENNICK_LANE_XLOCALE_H

#include <ctype.h>
#include <locale.h>
#include <stdarg.h>
#include <stddef.h>

#define LC_C_LOCALE ((locale_t)0)

#ifdef __cplusplus
extern "C" {
#endif
int sscanf_l(const char*, locale_t, const char*, ...);
int snprintf_l(char*, size_t, locale_t, const char*, ...);
int asprintf_l(char**, locale_t, const char*, ...);
int vsscanf_l(const char*, locale_t, const char*, va_list);
int vsnprintf_l(char*, size_t, locale_t, const char*, va_list);
int vasprintf_l(char**, locale_t, const char*, va_list);
#ifdef __cplusplus
}
#endif

// glibc defines these as macros; libc++ calls them as functions.
#undef isdigit_l
#undef isxdigit_l

#endif
