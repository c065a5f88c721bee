#pragma once
// What the tests of the two seller windows share: both hold a seller in ten
// text fields of the same names, and list sellers in a list.

#include <QList>
#include <QString>
#include <QStringList>

#include "register/registertests.h"
#include "register/sellerfields.h"
#include "toolkit/listbox.h"

namespace testing {

template <class W>
QStringList fieldTexts(W& w) {
  QStringList out;
  for (tk::TextField* f : SellerFields(w)) out << f->Text();
  return out;
}
// Types a seller, given in seller-line order.
template <class W>
void typeSeller(W& w, const QStringList& seller) {
  const SellerFieldList f = SellerFields(w);
  for (std::size_t i = 0; i < f.size(); ++i) f[i]->SetText(seller.value(static_cast<int>(i)));
}

// Every row of the list, its cells joined by `separator`.
inline QStringList listRows(const tk::Listbox& list, QChar separator) {
  QStringList out;
  for (int r = 0; r < list.ListCount(); ++r) {
    QStringList cells;
    for (int c = 0; c < list.ColumnCount(); ++c) cells << list.Cell(r, c);
    out << cells.join(separator);
  }
  return out;
}

}  // namespace testing
