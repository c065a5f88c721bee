#include "rtf/rtfescape.h"

#include <cstdint>

namespace {

// Code page 1252 bytes 0x80-0x9f: the Unicode character each one stands for
// (0 for the five bytes the code page leaves undefined).
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  //
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,       //
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  //
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

// The code page 1252 byte of a character, or -1 when it has none.
int cp1252Byte(char16_t c) {
  if (c >= 0xA0 && c <= 0xFF) return c;
  for (int i = 0; i < 32; ++i)
    if (kCp1252High[i] == c) return 0x80 + i;
  return -1;
}

bool isControl(char16_t c) { return c < 0x20 || (c >= 0x7F && c < 0xA0); }

void appendHexEscape(QString& out, int byte) {
  static const char digits[] = "0123456789abcdef";
  out += QLatin1String("\\'");
  out += QLatin1Char(digits[byte >> 4]);
  out += QLatin1Char(digits[byte & 0xF]);
}

void appendUnicodeEscape(QString& out, char16_t unit) {
  out += QLatin1String("\\u");
  out += QString::number(static_cast<std::int16_t>(unit));
  out += QLatin1Char('?');  // what a reader without Unicode shows
}

}  // namespace

QString RtfEscape(const QString& text) {
  const QString composed = text.normalized(QString::NormalizationForm_C);
  QString out;
  out.reserve(composed.size() + composed.size() / 4);
  for (qsizetype i = 0; i < composed.size(); ++i) {
    const char16_t c = composed.at(i).unicode();
    if (isControl(c)) continue;
    if (c == u'\\' || c == u'{' || c == u'}') {
      out += QLatin1Char('\\');
      out += QChar(c);
    } else if (c < 0x80) {
      out += QChar(c);
    } else if (const int byte = cp1252Byte(c); byte >= 0) {
      appendHexEscape(out, byte);
    } else if (QChar::isHighSurrogate(c) && i + 1 < composed.size() &&
               QChar::isLowSurrogate(composed.at(i + 1).unicode())) {
      appendUnicodeEscape(out, c);
      appendUnicodeEscape(out, composed.at(++i).unicode());
    } else if (QChar::isSurrogate(c)) {
      appendUnicodeEscape(out, 0xFFFD);  // half a pair is no character
    } else {
      appendUnicodeEscape(out, c);
    }
  }
  return out;
}
