#include "desk/deskfiles.h"

#include "toolkit/text.h"

namespace {

const QString TitleStart = QStringLiteral("Bourse OVK");
const QString FirstColumnTitle = QStringLiteral("Numéro de coupon");
const QString FirstColumnTitlesAscii = QStringLiteral("ro de coupon,Valeur");

}  // namespace

QStringList JournalHeader(const QString& myday) {
  return {TitleStart + QStringLiteral("  du  ") + myday + QStringLiteral("     Créé par Corvalenta,,,,"),
          FirstColumnTitle + QStringLiteral(",Valeur encaissée,Vendeur,code vendeur")};
}

bool IsJournalHeader(const QString& line) {
  // Looked at for every line of the journal at the opening: no copy made.
  // Only the titles' plain-ASCII parts are compared, so that a header saved
  // again in another encoding is still one.
  const QStringView text = QStringView(line).trimmed();
  return text.startsWith(TitleStart) || text.contains(FirstColumnTitlesAscii);
}

QString JournalEntry::Line() const {
  const QChar c(QLatin1Char(','));
  return coupon + c + amount + c + name + c + code;
}

bool AppendBooking(const tk::FolderItem& sales, const SaleEntry& sale, const tk::FolderItem& journal,
                   const QStringList& journalHeader, const JournalEntry& entry) {
  // A journal that has gone missing during the run is begun again.
  QStringList journalLines = journal.Exists() ? QStringList() : journalHeader;
  journalLines << entry.Line();
  return storage::AppendAsOne({storage::LinesInto(sales, {sale.Line()}), storage::LinesInto(journal, journalLines)});
}

storage::Replaced ReplaceJournalAndSales(const tk::FolderItem& journal, const QStringList& journalLines,
                                    const tk::FolderItem& sales, bool rewriteSales, const QStringList& salesLines) {
  std::vector<storage::FileWrite> parts{storage::LinesInto(journal, journalLines)};
  if (rewriteSales) parts.push_back(storage::LinesInto(sales, salesLines));
  return storage::ReplaceAsOne(parts);
}
