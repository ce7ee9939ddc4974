/* iconv for libmdb on Windows: one character at a time through UTF-16, with the Windows code page functions.
 * A character that the input does not hold whole stops the conversion with EINVAL, one that the target cannot
 * represent or an invalid sequence with EILSEQ, a full output with E2BIG, as iconv(3) says. */
#include "iconv.h"

#include <errno.h>
#include <stdlib.h>
#include <string.h>
#include <windows.h>

enum { UTF16LE = 1200 };

struct conversion {
    UINT from;
    UINT to;
};

static UINT code_page(const char* name) {
    char upper[32];
    size_t i;
    for (i = 0; name[i] != '\0' && i + 1 < sizeof upper; ++i) {
        upper[i] = (name[i] >= 'a' && name[i] <= 'z') ? (char)(name[i] - 'a' + 'A') : name[i];
    }
    upper[i] = '\0';
    if (strcmp(upper, "UTF-8") == 0 || strcmp(upper, "UTF8") == 0) {
        return CP_UTF8;
    }
    if (strcmp(upper, "UCS-2LE") == 0 || strcmp(upper, "UTF-16LE") == 0) {
        return UTF16LE;
    }
    if (strncmp(upper, "WINDOWS-", 8) == 0) {
        return (UINT)strtoul(upper + 8, NULL, 10);
    }
    if (strncmp(upper, "CP", 2) == 0) {
        return (UINT)strtoul(upper + 2, NULL, 10);
    }
    if (strncmp(upper, "ISO-8859-", 9) == 0) {
        return 28590 + (UINT)strtoul(upper + 9, NULL, 10);
    }
    return 0;
}

iconv_t iconv_open(const char* tocode, const char* fromcode) {
    struct conversion* c;
    const UINT to = code_page(tocode);
    const UINT from = code_page(fromcode);
    if (to == 0 || from == 0 || (to != UTF16LE && !IsValidCodePage(to)) ||
        (from != UTF16LE && !IsValidCodePage(from))) {
        errno = EINVAL;
        return (iconv_t)-1;
    }
    c = (struct conversion*)malloc(sizeof *c);
    if (c == NULL) {
        errno = ENOMEM;
        return (iconv_t)-1;
    }
    c->from = from;
    c->to = to;
    return c;
}

int iconv_close(iconv_t cd) {
    free(cd);
    return 0;
}

/* The bytes of the next character of `in` (at most `left`), or 0 when it is not whole. */
static size_t next_length(UINT cp, const unsigned char* in, size_t left) {
    size_t n = 1;
    if (cp == UTF16LE) {
        if (left < 2) {
            return 0;
        }
        n = (in[1] >= 0xD8 && in[1] <= 0xDB) ? 4 : 2;
    } else if (cp == CP_UTF8) {
        n = in[0] < 0x80 ? 1 : in[0] >= 0xF0 ? 4 : in[0] >= 0xE0 ? 3 : 2;
    } else if (IsDBCSLeadByteEx(cp, in[0])) {
        n = 2;
    }
    return n <= left ? n : 0;
}

size_t iconv(iconv_t cd, char** inbuf, size_t* inbytesleft, char** outbuf, size_t* outbytesleft) {
    const struct conversion* c = (const struct conversion*)cd;
    if (cd == (iconv_t)-1 || cd == NULL) {
        errno = EBADF;
        return (size_t)-1;
    }
    if (inbuf == NULL || *inbuf == NULL) {
        return 0; /* no shift state to reset */
    }
    while (*inbytesleft > 0) {
        const unsigned char* in = (const unsigned char*)*inbuf;
        const size_t n = next_length(c->from, in, *inbytesleft);
        WCHAR wide[2];
        int units;
        char bytes[8];
        int written;
        BOOL lossy = FALSE;
        if (n == 0) {
            errno = EINVAL;
            return (size_t)-1;
        }
        if (c->from == UTF16LE) {
            units = (int)(n / 2);
            memcpy(wide, in, n);
        } else {
            units = MultiByteToWideChar(c->from, MB_ERR_INVALID_CHARS, (LPCCH)in, (int)n, wide, 2);
            if (units <= 0) {
                errno = EILSEQ;
                return (size_t)-1;
            }
        }
        if (c->to == UTF16LE) {
            written = units * 2;
            memcpy(bytes, wide, (size_t)written);
        } else {
            written = WideCharToMultiByte(c->to, c->to == CP_UTF8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS,
                                          wide, units, bytes, (int)sizeof bytes, NULL,
                                          c->to == CP_UTF8 ? NULL : &lossy);
            if (written <= 0 || lossy) {
                errno = EILSEQ;
                return (size_t)-1;
            }
        }
        if ((size_t)written > *outbytesleft) {
            errno = E2BIG;
            return (size_t)-1;
        }
        memcpy(*outbuf, bytes, (size_t)written);
        *outbuf += written;
        *outbytesleft -= (size_t)written;
        *inbuf += n;
        *inbytesleft -= n;
    }
    return 0;
}
