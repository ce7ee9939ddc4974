/* The iconv interface libmdb converts its texts with, for Windows, where the C library has none: UTF-8, UCS-2LE,
 * UTF-16LE and the code pages Windows knows (WINDOWS-1252, CP1252, ISO-8859-15...), over the Windows code page
 * functions. Built into libmdb by scripts/windows/bibliotheques.sh. */
#ifndef KELVANE_ICONV_WINDOWS_H
#define KELVANE_ICONV_WINDOWS_H

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef void* iconv_t;

iconv_t iconv_open(const char* tocode, const char* fromcode);
size_t iconv(iconv_t cd, char** inbuf, size_t* inbytesleft, char** outbuf, size_t* outbytesleft);
int iconv_close(iconv_t cd);

#ifdef __cplusplus
}
#endif

#endif
