#pragma once
// Working the desk in a test as a cashier does: typing coupons, removing
// them, restarting the program, and reading back the desk's files.

#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QStringList>
#include <QTest>

#include "core/module1.h"
#include "storage/filechange.h"
#include "support/describe.h"
#include "support/desk.h"
#include "support/faults.h"
#include "toolkit/window.h"

namespace testing {

// Types the coupon and the amount as a cashier would (no mask applied yet)
// and clicks "Ajouter".
inline void Book(const tk::Handle<Window1>& desk, const QString& coupon, const QString& amount) {
  Type(desk->EntryCoupon(), coupon);
  Type(desk->ValeurCoupon(), amount);
  desk->BevelButton1()->click();
}

// Selects the row and clicks "Effacer".
inline void Remove(const tk::Handle<Window1>& desk, int row) {
  desk->ReferenceBox()->SetListIndex(row);
  desk->BevelButton3()->click();
}

// The list's rows, each as its cells joined by "|".
inline QStringList Rows(const tk::Listbox& list) {
  QStringList out;
  for (int r = 0; r < list.ListCount(); ++r) {
    QStringList cells;
    for (int c = 0; c < list.ColumnCount(); ++c) cells << list.Cell(r, c);
    out << cells.join('|');
  }
  return out;
}

// The desk books on: a coupon of a seller of its own map is listed and
// written to the seller's sales file.
inline void CheckDeskBooksOn(Harness& h, const tk::Handle<Window1>& desk) {
  h.write(QStringLiteral("couponsvendeurs.csv"), "900,Témoin,90\n");
  const int before = desk->ReferenceBox()->ListCount();
  Book(desk, QStringLiteral("900"), QStringLiteral("5"));
  QCOMPARE(desk->ReferenceBox()->ListCount(), before + 1);
  QVERIFY(Lines(h, QStringLiteral("vendeur_90.csv")).value(0).startsWith(QStringLiteral("900,")));
}

// The program ends and starts again on the same data folder.
inline tk::Handle<Window1> Restart(Harness& h) {
  tk::CloseAllWindows();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  Module1::Initialise();
  storage::ForgetGivenUpChange();
  return OpenDesk(h);
}

}  // namespace testing
