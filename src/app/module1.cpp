#include "app/module1.h"

#include "toolkit/controls.h"
#include "toolkit/files.h"
#include "toolkit/listbox.h"
#include "toolkit/text.h"

namespace Module1 {

void Initialise() {
  thename.clear();
  grandtotal = 0;
  FindVendor = 0;
  vc2.clear();
  SonNom.clear();
  ovktaux = 0;
  myday.clear();
  bacs2.clear();
  adresse2.clear();
  zip2.clear();
  localite2.clear();
  rampes2.clear();
  generalfailure = 0;
}

}  // namespace Module1

double CommissionRounding(double rate, double amount, double stepsPerUnit) {
  return tk::Round(rate * amount * stepsPerUnit) / stepsPerUnit;
}

QString AmountFormatter(tk::TextField& fromat, const QString& amount) {
  // The text the field would show, without handing it to the widget: a
  // journal's load formats every amount, and each widget update costs.
  return tk::ApplyFormat(fromat.Format(), amount);
}

void CsvListLoader(tk::TextInputStream& in, tk::Listbox& list,
                   const std::function<void(int row, const QStringList& fields)>& perRow) {
  const int columns = list.ColumnCount();
  while (!in.IsEOF()) {
    const QStringList fields = tk::Split(in.ReadLine());
    QStringList cells;
    cells.reserve(columns);
    for (int i = 0; i < columns; ++i) cells << (i < fields.size() ? tk::Trim(fields.at(i)) : QString());
    list.AddRow(cells);
    if (perRow) perRow(list.LastIndex(), cells);
  }
}
