#pragma once
// Statements the RTF tests share; the golden files hold what each writes.

#include <QDir>
#include <QFile>
#include <QString>

#include "rtf/statementwriter.h"

namespace testing {

inline QByteArray golden(const QString& name) {
  QFile f(QDir(CORVALENTA_TESTS).filePath("rtf/golden/" + name));
  if (!f.open(QIODevice::ReadOnly)) qFatal("no golden file %s", qPrintable(name));
  return f.readAll();
}

inline SellerStatement noCouponStatement() {
  return {QString::fromUtf8("Aquariophilie Müller"),
          QString::fromUtf8("12 rue de l'Église"),
          "1000",
          QString::fromUtf8("Liège"),
          "12",
          "0.00",
          "0.00",
          "15.00",
          "-15.00",
          "5/3/2025",
          {}};
}

inline SellerStatement fourCouponStatement() {
  return {QString::fromUtf8("Hélène Dupré"),
          QString::fromUtf8("3, chemin des Crêtes"),
          "4000",
          "Spa",
          "7",
          "123.45",
          "12.35",
          "15.00",
          "96.10",
          "5/3/2025",
          {{"101", "10.00"}, {"102", "25.50"}, {"105", "3.95"}, {"130", "84.00"}}};
}

// Every field holds what could break the file: braces, backslashes, typed
// control words, line ends and other control characters, characters
// outside the code page.
inline SellerStatement hostileStatement() {
  return {QString::fromUtf8("}{\\par\\page Bob\u0001\n😀 Rene\u0301"),
          QString::fromUtf8("Rue \"du\" Pont\r\n\\line {x}"),
          "B-1000\\",
          QString::fromUtf8("Œuvre – “Saint” €uro ’ ﬁn 中"),
          "0}{\\rtf1",
          "\\par}",
          "{",
          "1\t0\\'e9",
          QString::fromUtf8("\u0085-5"),
          QString::fromUtf8("5/3/2025\u007f}"),
          {{"{1}", "\\cell"}, {"2\n", QString::fromUtf8("é")}}};
}

// n coupons numbered from 1, each worth 1.50.
inline std::vector<StatementCoupon> coupons(int n) {
  std::vector<StatementCoupon> out;
  for (int i = 1; i <= n; ++i) out.push_back({QString::number(i), "1.50"});
  return out;
}

}  // namespace testing
