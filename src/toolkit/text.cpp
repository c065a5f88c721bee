#include "toolkit/text.h"

#include <charconv>
#include <cmath>
#include <string>

namespace tk {

namespace {

// Largest decimal exponent still written out in plain digits.
constexpr int kPlainExponentLimit = 20;

struct Scientific {
  bool negative = false;
  std::string digits;  // 15 significant digits, no point
  int exponent = 0;    // of the first digit
};

Scientific toScientific(double value) {
  char buf[64];
  auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, 14);
  std::string s(buf, res.ptr);
  Scientific out;
  std::size_t i = 0;
  if (s[i] == '-') {
    out.negative = true;
    ++i;
  }
  std::size_t e = s.find('e');
  for (std::size_t k = i; k < e; ++k)
    if (s[k] != '.') out.digits.push_back(s[k]);
  out.exponent = std::stoi(s.substr(e + 1));
  return out;
}

double roundTo15Digits(double value) {
  if (!std::isfinite(value) || value == 0.0) return value;
  char buf[64];
  auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, 14);
  double out = value;
  std::from_chars(buf, res.ptr, out, std::chars_format::scientific);
  return out;
}

bool isAsciiDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

}  // namespace

QString Str(double value) {
  if (value == 0.0) return QStringLiteral("0");
  if (!std::isfinite(value)) {
    if (std::isnan(value)) return QStringLiteral("nan");
    return value < 0 ? QStringLiteral("-inf") : QStringLiteral("inf");
  }
  Scientific sci = toScientific(value);
  while (sci.digits.size() > 1 && sci.digits.back() == '0') sci.digits.pop_back();
  std::string out;
  if (sci.negative) out.push_back('-');
  if (std::abs(sci.exponent) > kPlainExponentLimit) {
    out.push_back(sci.digits[0]);
    if (sci.digits.size() > 1) {
      out.push_back('.');
      out.append(sci.digits, 1, std::string::npos);
    }
    out.push_back('e');
    out.append(std::to_string(sci.exponent));
    return QString::fromLatin1(out.c_str());
  }
  const int intDigits = sci.exponent + 1;  // digits before the point
  if (intDigits <= 0) {
    out.append("0.");
    out.append(static_cast<std::size_t>(-intDigits), '0');
    out.append(sci.digits);
  } else if (static_cast<std::size_t>(intDigits) >= sci.digits.size()) {
    out.append(sci.digits);
    out.append(static_cast<std::size_t>(intDigits) - sci.digits.size(), '0');
  } else {
    out.append(sci.digits, 0, static_cast<std::size_t>(intDigits));
    out.push_back('.');
    out.append(sci.digits, static_cast<std::size_t>(intDigits), std::string::npos);
  }
  return QString::fromLatin1(out.c_str());
}

QString Str(std::int64_t value) { return QString::number(static_cast<qlonglong>(value)); }

double Val(const QString& text) {
  const int n = static_cast<int>(text.size());
  int i = 0;
  while (i < n && (text[i] == u' ' || text[i] == u'\t')) ++i;
  std::string num;
  if (i < n && (text[i] == u'+' || text[i] == u'-')) {
    if (text[i] == u'-') num.push_back('-');
    ++i;
  }
  int mantissaDigits = 0;
  while (i < n && isAsciiDigit(text[i].unicode())) {
    num.push_back(static_cast<char>(text[i].unicode()));
    ++i;
    ++mantissaDigits;
  }
  if (i < n && text[i] == u'.') {
    std::string frac = ".";
    int j = i + 1;
    while (j < n && isAsciiDigit(text[j].unicode())) {
      frac.push_back(static_cast<char>(text[j].unicode()));
      ++j;
      ++mantissaDigits;
    }
    if (mantissaDigits > 0) {
      num += frac;
      i = j;
    }
  }
  if (mantissaDigits == 0) return 0.0;
  if (i < n && (text[i] == u'e' || text[i] == u'E')) {
    std::string ex = "e";
    int j = i + 1;
    if (j < n && (text[j] == u'+' || text[j] == u'-')) {
      ex.push_back(static_cast<char>(text[j].unicode()));
      ++j;
    }
    int expDigits = 0;
    while (j < n && isAsciiDigit(text[j].unicode())) {
      ex.push_back(static_cast<char>(text[j].unicode()));
      ++j;
      ++expDigits;
    }
    if (expDigits > 0) num += ex;
  }
  double value = 0.0;
  auto res = std::from_chars(num.data(), num.data() + num.size(), value);
  if (res.ec != std::errc() || !std::isfinite(value)) return 0.0;
  return value == 0.0 ? 0.0 : value;  // no negative zero
}

double Round(double value) {
  if (!std::isfinite(value)) return value;
  double r = std::round(roundTo15Digits(value));
  return r == 0.0 ? 0.0 : r;
}

QString Trim(const QString& text) { return text.trimmed(); }

QStringList Split(const QString& text, QChar separator) { return text.split(separator); }

namespace {

QString formatAmount(const QString& text) {
  if (text.isEmpty()) return text;
  QString t = text;
  t.replace(QLatin1Char(','), QLatin1Char('.'));
  const double value = Val(t);
  const double cents = Round(value * 100.0);
  if (std::abs(cents) < 9.0e15) {
    const auto c = static_cast<std::int64_t>(cents);
    const std::int64_t a = c < 0 ? -c : c;
    QString out = QString::number(static_cast<qlonglong>(a / 100));
    out += QLatin1Char('.');
    const auto frac = static_cast<int>(a % 100);
    out += QLatin1Char(static_cast<char>('0' + frac / 10));
    out += QLatin1Char(static_cast<char>('0' + frac % 10));
    return c < 0 ? QLatin1Char('-') + out : out;
  }
  // Beyond any real amount: plain digits with two decimals all the same.
  char buf[400];
  auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, 2);
  return QString::fromLatin1(buf, static_cast<int>(res.ptr - buf));
}

}  // namespace

QString ApplyFormat(const QString& format, const QString& text) {
  if (format == AmountFormat) return formatAmount(text);
  return text;
}

}  // namespace tk
