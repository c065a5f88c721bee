#include "core/rules.h"

#include <cmath>

#include "toolkit/controls.h"
#include "toolkit/files.h"
#include "toolkit/listbox.h"
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

QString AmountFormatter(tk::TextField& fromat, const QString& amount) {
  // The text the field would show, without handing it to the widget: a
  // journal's load formats every amount, and each widget update costs.
  return tk::ApplyFormat(fromat.Format(), amount);
}

QString AmountFormatter(const QString& amount) { return tk::ApplyFormat(tk::AmountFormat, amount); }

QStringList CsvFields(const QString& line, int columns) {
  const QStringList fields = tk::Split(line);
  QStringList cells;
  cells.reserve(columns);
  for (int i = 0; i < columns; ++i) cells << (i < fields.size() ? tk::Trim(fields.at(i)) : QString());
  return cells;
}

void CsvListLoader(tk::TextInputStream& in, tk::Listbox& list,
                   const std::function<void(int row, const QStringList& fields)>& perRow) {
  const int columns = list.ColumnCount();
  while (!in.IsEOF()) {
    const QStringList cells = CsvFields(in.ReadLine(), columns);
    list.AddRow(cells);
    if (perRow) perRow(list.LastIndex(), cells);
  }
}
