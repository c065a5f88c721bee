#pragma once
// What every test of the program's files needs, windows or not: a fresh
// data folder as the working folder, a fixed date, and the program-wide
// variables as a run starts.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

#include "toolkit/clock.h"

namespace testing {

class DataFolder {
 public:
  explicit DataFolder(tk::Date today = tk::Date{5, 3, 2025});
  ~DataFolder();
  DataFolder(const DataFolder&) = delete;
  DataFolder& operator=(const DataFolder&) = delete;

  QString path(const QString& name) const { return dir_.filePath(name); }
  QString folder() const { return dir_.path(); }

  // Files of the data folder, as bytes and as lines.
  void write(const QString& name, const QByteArray& content) const;
  QByteArray read(const QString& name) const;
  bool exists(const QString& name) const;

  void setToday(tk::Date d);

 private:
  QTemporaryDir dir_;
  QString previousDir_;
  std::shared_ptr<tk::Date> today_;
};

// A data file's lines, without their line ends.
inline QStringList Lines(const DataFolder& h, const QString& name) {
  QString text = QString::fromUtf8(h.read(name));
  if (text.endsWith('\n')) text.chop(1);
  return text.isEmpty() ? QStringList() : text.split('\n');
}

// The journal's two header lines, written out here rather than taken from
// the program, so that a change to them shows.
inline QStringList JournalHeaderLines(const QString& day) {
  return {QStringLiteral("Bourse OVK  du  ") + day + QStringLiteral("     Créé par Corvalenta,,,,"),
          QStringLiteral("Numéro de coupon,Valeur encaissée,Vendeur,code vendeur")};
}

// A journal as a run started on `day` leaves it: header, then the rows.
inline QByteArray JournalFile(const QString& day, const QByteArray& rows) {
  return (JournalHeaderLines(day).join('\n') + '\n').toUtf8() + rows;
}

// True when the run asked for a French locale (the second run of the
// conversion tests); such a run must really have it.
bool frenchRunExpected();
bool frenchLocaleActive();

}  // namespace testing
