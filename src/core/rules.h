#pragma once
// The rules every window shares for commissions, amounts and loading a
// comma-separated file into a list.

#include <QString>
#include <QStringList>
#include <functional>

namespace tk {
class Listbox;
class TextField;
class TextInputStream;
}  // namespace tk

// The commission on an amount: rate × amount rounded to the nearest
// 1/stepsPerUnit (0.05 by default; the desk's coupon entry uses 10, 0.1).
double CommissionRounding(double rate, double amount, double stepsPerUnit = 20.0);

// The amount text as the window's hidden formatter field shows it.
QString AmountFormatter(tk::TextField& fromat, const QString& amount);

// Adds one row per remaining line of the stream to the list: the line's
// comma-separated fields, trimmed, one per column; a line with fewer fields
// gives empty cells, extra fields are dropped. `perRow` runs for each row
// once its cells are set, with the row index and the trimmed fields.
void CsvListLoader(tk::TextInputStream& in, tk::Listbox& list,
                   const std::function<void(int row, const QStringList& fields)>& perRow = {});
