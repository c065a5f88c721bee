#pragma once
// Filling the windows' lists and formatter fields, shared by the windows.

#include <QString>
#include <QStringList>
#include <functional>

#include "toolkit/windowside.h"

namespace tk {
class Listbox;
class TextField;
class TextInputStream;
}  // namespace tk

// The amount text as the window's hidden formatter field shows it.
QString AmountFormatter(tk::TextField& fromat, const QString& amount);

// Adds one row per remaining line of the stream to the list, its cells the
// line's CsvFields for the list's column count. `perRow` runs for each row
// once its cells are set, with the row index and the trimmed fields.
void CsvListLoader(tk::TextInputStream& in, tk::Listbox& list,
                   const std::function<void(int row, const QStringList& fields)>& perRow = {});
