/* The "C" locale, the only one the program uses: a point for decimals, no
   grouping, and characters that are single bytes of the same value. */
#include <errno.h>
#include <limits.h>
#include <locale.h>
#include <wchar.h>

static struct lconv c_locale = {
    .decimal_point = ".",
    .thousands_sep = "",
    .grouping = "",
    .int_curr_symbol = "",
    .currency_symbol = "",
    .mon_decimal_point = "",
    .mon_thousands_sep = "",
    .mon_grouping = "",
    .positive_sign = "",
    .negative_sign = "",
    .int_frac_digits = CHAR_MAX,
    .frac_digits = CHAR_MAX,
    .p_cs_precedes = CHAR_MAX,
    .p_sep_by_space = CHAR_MAX,
    .n_cs_precedes = CHAR_MAX,
    .n_sep_by_space = CHAR_MAX,
    .p_sign_posn = CHAR_MAX,
    .n_sign_posn = CHAR_MAX,
};

struct lconv* localeconv(void) {
    return &c_locale;
}

size_t wcrtomb(char* out, wchar_t wc, mbstate_t* state) {
    (void)state;
    if (!out) return 1;
    if ((unsigned)wc > 0xFF) {
        errno = EILSEQ;
        return (size_t)-1;
    }
    *out = (char)wc;
    return 1;
}

size_t mbrtowc(wchar_t* out, const char* in, size_t count, mbstate_t* state) {
    (void)state;
    if (!in) return 0;
    if (count == 0) return (size_t)-2;
    const wchar_t wc = (unsigned char)*in;
    if (out) *out = wc;
    return wc ? 1 : 0;
}
