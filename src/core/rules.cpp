#include "core/rules.h"

#include <cmath>

#include "toolkit/text.h"

double CommissionRounding(double rate, double amount, double stepsPerUnit) {
  return tk::Round(rate * amount * stepsPerUnit) / stepsPerUnit;
}

std::int64_t WholeNumber(const QString& text) {
  const double v = std::trunc(tk::Val(text));
  // 2^63 is exactly representable; anything at or beyond it does not fit.
  constexpr double limit = 9223372036854775808.0;
  if (!std::isfinite(v) || v >= limit || v < -limit) return 0;
  return static_cast<std::int64_t>(v);
}

QString AmountFormatter(const QString& amount) { return tk::ApplyFormat(tk::AmountFormat, amount); }

QStringList CsvFields(const QString& line, int columns) {
  const QStringList fields = tk::Split(line);
  QStringList cells;
  cells.reserve(columns);
  for (int i = 0; i < columns; ++i) cells << (i < fields.size() ? tk::Trim(fields.at(i)) : QString());
  return cells;
}

bool IsBlankLine(const QString& line) { return QStringView(line).trimmed().isEmpty(); }
