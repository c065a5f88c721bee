#pragma once
// The desk's own files in the data folder: the rate file and the year's
// journal; the desk also appends to the sellers' sales files. Records are
// fields joined by a bare ",".

#include <QString>
#include <QStringList>
#include <cstdint>

#include "core/salesfiles.h"
#include "storage/filechange.h"

// The commission rate as a fraction, on one line.
inline const QString RateFile = QStringLiteral("ValComm.txt");
inline const QString DefaultRate = QStringLiteral("0.1");

// The journal's two header lines; the first carries the start date of the
// run that wrote them. The opening only skips them.
QStringList JournalHeader(const QString& myday);
// A header line, told by what it holds rather than by its place: a journal
// whose header was cut to one line by hand keeps its first booking. No
// booking starts so, since coupon numbers are whole numbers.
bool IsJournalHeader(const QString& line);

// One coupon cashed in the year: a line of the journal.
struct JournalEntry {
  QString coupon;
  QString amount;
  QString name;
  QString code;
  QString Line() const;
};

// Books a coupon into the seller's sales file and the journal: both files
// get their line, or neither changes. Each is synced before this returns.
// A journal that has gone missing is begun again with its header lines.
bool AppendBooking(const tk::FolderItem& sales, const SaleEntry& sale, const tk::FolderItem& journal,
                   const QStringList& journalHeader, const JournalEntry& entry);

// Replaces the journal by `journalLines`, then, when `rewriteSales` is set,
// the sales file by `salesLines`; when the sales file cannot be replaced the
// journal gets its old content back.
storage::Replaced ReplaceJournalAndSales(const tk::FolderItem& journal, const QStringList& journalLines,
                                    const tk::FolderItem& sales, bool rewriteSales, const QStringList& salesLines);
