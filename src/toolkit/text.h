#pragma once
// Text and number conversions. None of them looks at the locale: a French
// desktop must still write "12.50" into the data files.

#include <QString>
#include <QStringList>
#include <cstdint>

namespace tk {

// Line end used inside message texts.
inline const QString EndOfLine = QStringLiteral("\n");

// Plain decimal text of a double: at most 15 significant digits, no exponent
// for ordinary magnitudes, no decimals for a whole number, never "-0".
QString Str(double value);
QString Str(std::int64_t value);
inline QString Str(int value) { return Str(static_cast<std::int64_t>(value)); }

// Reads the number that starts the text: leading blanks, an optional sign,
// digits with an optional "." fraction and an optional exponent. Anything
// else ends the number; 0 when no number starts the text. Never infinite,
// never NaN.
double Val(const QString& text);

// Nearest whole number, halves away from zero. The value is first taken to
// 15 significant digits, so a product that is a half in decimal (but lies a
// hair below it in binary) still rounds away from zero.
double Round(double value);

QString Trim(const QString& text);
QStringList Split(const QString& text, QChar separator = QLatin1Char(','));

// The display formats a text field can carry. Only the amount format exists.
inline const QString AmountFormat = QStringLiteral("-####.00");

// The text a field with the given display format shows for `text`.
// "-####.00": empty stays empty; anything else is read as a number (a decimal
// comma counts as a point, text that is no number as 0) and shown with two
// decimals, a "0" before the point below 1, a "-" only when negative.
QString ApplyFormat(const QString& format, const QString& text);

}  // namespace tk
