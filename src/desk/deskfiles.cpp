#include "desk/deskfiles.h"

#include <QFile>
#include <memory>

#include "toolkit/text.h"

QString SalesJournalFile(int year) { return QStringLiteral("OVKB") + tk::Str(year) + QStringLiteral("_main.csv"); }

QStringList JournalHeader(const QString& myday) {
  return {QStringLiteral("Bourse OVK  du  ") + myday + QStringLiteral("     Créé par Corvalenta,,,,"),
          QStringLiteral("Numéro de coupon,Valeur encaissée,Vendeur,code vendeur")};
}

QString SellerSalesFile(std::int64_t sellerNumber) {
  return QStringLiteral("vendeur_") + tk::Str(sellerNumber) + QStringLiteral(".csv");
}

QString SaleEntry::Line() const { return coupon + QLatin1Char(',') + amount; }

QString JournalEntry::Line() const {
  const QChar c(QLatin1Char(','));
  return coupon + c + amount + c + name + c + code;
}

tk::FolderItem DeskFile(const QString& name) { return tk::GetFolderItem(QString()).Child(name); }

namespace {

// Takes back an append: the file's old length, or no file when the append
// created it.
void takeBack(const tk::FolderItem& file, bool existed, qint64 oldSize) {
  if (existed) {
    file.Truncate(oldSize);
  } else {
    QFile::remove(file.Path());
  }
}

bool writeSynced(tk::TextOutputStream& out, const QStringList& lines) {
  for (const QString& l : lines) out.WriteLine(l);
  out.Sync();
  return out.Close();
}

}  // namespace

bool AppendBooking(const tk::FolderItem& sales, const SaleEntry& sale, const tk::FolderItem& journal,
                   const QStringList& journalHeader, const JournalEntry& entry) {
  const bool salesExisted = sales.Exists();
  const bool journalExisted = journal.Exists();
  // Both files must take a line before either gets one.
  std::unique_ptr<tk::TextOutputStream> salesOut = sales.AppendToTextFile();
  std::unique_ptr<tk::TextOutputStream> journalOut = salesOut ? journal.AppendToTextFile() : nullptr;
  if (!salesOut || !journalOut) {
    if (salesOut) {
      salesOut->Close();
      if (!salesExisted) QFile::remove(sales.Path());
    }
    return false;
  }
  const qint64 salesSize = salesOut->SizeAtOpen();
  const qint64 journalSize = journalOut->SizeAtOpen();
  if (!writeSynced(*salesOut, {sale.Line()})) {
    journalOut->Close();
    takeBack(sales, salesExisted, salesSize);
    if (!journalExisted) QFile::remove(journal.Path());
    return false;
  }
  QStringList lines = journalExisted ? QStringList() : journalHeader;
  lines << entry.Line();
  if (!writeSynced(*journalOut, lines)) {
    takeBack(journal, journalExisted, journalSize);
    takeBack(sales, salesExisted, salesSize);
    return false;
  }
  return true;
}

Replaced ReplaceJournalAndSales(const tk::FolderItem& journal, const QStringList& journalLines,
                                const tk::FolderItem& sales, bool rewriteSales, const QStringList& salesLines) {
  // What the journal held, to put it back if the sales file fails.
  const bool journalExisted = journal.Exists();
  std::unique_ptr<tk::TextInputStream> old;
  if (journalExisted && rewriteSales) {
    old = journal.OpenAsTextFile();
    if (!old) return Replaced::Nothing;
  }
  if (!journal.ReplaceWithLines(journalLines)) return Replaced::Nothing;
  if (!rewriteSales || sales.ReplaceWithLines(salesLines)) return Replaced::Both;
  bool restored = false;
  if (journalExisted) {
    QStringList oldLines;
    while (!old->IsEOF()) oldLines << old->ReadLine();
    restored = journal.ReplaceWithLines(oldLines);
  } else {
    restored = QFile::remove(journal.Path());
  }
  return restored ? Replaced::Nothing : Replaced::JournalOnly;
}
