#pragma once
// What the benchmarks share: the sellers of a large fair and writing its
// files into the benchmark's temporary folder.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <algorithm>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "core/module1.h"
#include "core/sellerformat.h"
#include "toolkit/dialogs.h"
#include "toolkit/text.h"

namespace bench {

// No box is expected; any one shown is counted and ends the run.
class Boxes : public tk::DialogSeam {
 public:
  void msgBox(const QString& text) override {
    ++count;
    last = text;
  }
  tk::DialogAnswer messageDialog(const tk::MessageDialog&) override {
    ++count;
    return tk::DialogAnswer::Cancel;
  }
  int count = 0;
  QString last;
};

// Seller s (from 1) of a fair whose sellers each hold `coupons` numbers,
// in order: seller 1 holds 1 to `coupons`, seller 2 the next ones.
inline SellerRecord FairSeller(int s, int coupons) {
  SellerRecord r;
  r[SellerRecord::Name] = QStringLiteral("Aquariophile n°%1").arg(s);
  r[SellerRecord::Code] = tk::Str(s);
  r[SellerRecord::Address] = QStringLiteral("Rue des Poissons %1").arg(s);
  r[SellerRecord::PostalCode] = QStringLiteral("1000");
  r[SellerRecord::Town] = QStringLiteral("Ville");
  r[SellerRecord::FirstCoupon] = tk::Str((s - 1) * coupons + 1);
  r[SellerRecord::LastCoupon] = tk::Str(s * coupons);
  r[SellerRecord::Tanks] = QStringLiteral("1");
  r[SellerRecord::LedRamps] = QStringLiteral("0");
  return r;
}

// The amount booked for a coupon: from 1.00 to 40.99.
inline QString AmountOf(int coupon) { return tk::Str(static_cast<double>(coupon % 4000) / 100.0 + 1.0); }

// Writes the file or ends the benchmark.
inline void WriteFile(const QString& name, const QByteArray& content) {
  QFile f(name);
  if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(content) != content.size()) {
    std::fprintf(stderr, "cannot write %s\n", qPrintable(name));
    std::exit(1);
  }
}

// Makes the temporary folder the data folder; false when it cannot be. The
// figures print with a point whatever the desktop's locale.
inline bool EnterDataFolder(const QTemporaryDir& dir) {
  std::setlocale(LC_NUMERIC, "C");
  return dir.isValid() && QDir::setCurrent(dir.path());
}

// Puts openers that do nothing and end at once first on PATH, in place of
// every program a printout starts; false when they cannot be written.
inline bool StubOpeners(const QTemporaryDir& dir) {
  for (const char* name : {"xdg-open", "abiword", "open"}) {
    const QString path = dir.filePath(QString::fromLatin1(name));
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write("#!/bin/sh\nexit 0\n") < 0) return false;
    f.close();
    if (!f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner)) return false;
  }
  return qputenv("PATH", QFile::encodeName(dir.path()) + ':' + qgetenv("PATH"));
}

// The process's peak resident memory so far, in KiB; -1 when unknown.
inline long PeakKiB() {
  QFile f(QStringLiteral("/proc/self/status"));
  if (!f.open(QIODevice::ReadOnly)) return -1;
  for (const QByteArray& line : f.readAll().split('\n'))
    if (line.startsWith("VmHWM:")) return line.mid(6).trimmed().split(' ').first().toLong();
  return -1;
}

// A benchmark of a printout: the data folder, openers that end at once
// first on PATH, the message boxes counted, the program-wide state empty.
struct PrintingBench {
  QTemporaryDir folder;
  QTemporaryDir openers;
  std::shared_ptr<Boxes> boxes = std::make_shared<Boxes>();
  // False when the folder or the openers cannot be made.
  bool Ready() {
    if (!EnterDataFolder(folder) || !StubOpeners(openers)) return false;
    tk::SetDialogSeam(boxes);
    Module1::Initialise();
    return true;
  }
  ~PrintingBench() { tk::SetDialogSeam(nullptr); }
};

inline double Ms(qint64 ns) { return static_cast<double>(ns) / 1e6; }

inline double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0.0 : v[v.size() / 2];
}

}  // namespace bench
