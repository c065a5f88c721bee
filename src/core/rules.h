#pragma once
// The rules every window shares for commissions, amounts and loading a
// comma-separated file into a list.

#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>

namespace tk {
class Listbox;
class TextField;
class TextInputStream;
}  // namespace tk

// The commission on an amount: rate × amount rounded to the nearest
// 1/stepsPerUnit (0.05 by default; the desk's coupon entry uses 10, 0.1).
double CommissionRounding(double rate, double amount, double stepsPerUnit = 20.0);

// A text read as a whole number: Val, cut toward zero. A value that is not
// finite or does not fit 64 bits counts as 0. Seller codes, coupon ranges
// and coupon numbers are all read this way.
std::int64_t WholeNumber(const QString& text);

// The amount text as the window's hidden formatter field shows it.
QString AmountFormatter(tk::TextField& fromat, const QString& amount);
// The same text, for work that has no window: "-####.00".
QString AmountFormatter(const QString& amount);

// The fields of one comma-separated line, trimmed, exactly `columns` of
// them: missing fields are empty, extra fields are dropped.
QStringList CsvFields(const QString& line, int columns);

// Adds one row per remaining line of the stream to the list, its cells the
// line's CsvFields for the list's column count. `perRow` runs for each row
// once its cells are set, with the row index and the trimmed fields.
void CsvListLoader(tk::TextInputStream& in, tk::Listbox& list,
                   const std::function<void(int row, const QStringList& fields)>& perRow = {});
