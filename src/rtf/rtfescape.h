#pragma once
// The one encoder for every variable text that goes into an RTF file of the
// program: names, addresses, codes, amounts, dates, coupon cells.

#include <QString>

// The text as RTF, in 7-bit ASCII: composed first (so "e" + combining acute
// is one "é"); "\", "{" and "}" escaped; printable ASCII unchanged;
// characters of code page 1252 as "\'hh" (lower-case hex); any other
// character as "\uN?" per UTF-16 unit (N signed 16-bit decimal); control
// characters dropped, so no text can end a line or a group of the file.
// Works on its own copy: the caller's text is never changed.
QString RtfEscape(const QString& text);
