#include "ui/lists.h"

#include "core/rules.h"
#include "toolkit/controls.h"
#include "toolkit/files.h"
#include "toolkit/listbox.h"
#include "toolkit/text.h"

QString AmountFormatter(tk::TextField& fromat, const QString& amount) {
  // The text the field would show, without handing it to the widget: a
  // journal's load formats every amount, and each widget update costs.
  return tk::ApplyFormat(fromat.Format(), amount);
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
