#include "desk/desk.h"

#include "core/module1.h"
#include "core/unfinishedchange.h"
#include "core/rules.h"
#include "core/sellerformat.h"
#include "core/texts.h"
#include "toolkit/files.h"
#include "toolkit/text.h"

namespace {

const QString NoSalesFile = QStringLiteral("Il n'y a pas de fichier pour ce vendeur!?!?!");

QString cannotRead(const QString& name) { return QStringLiteral("Impossible de lire le fichier ") + name + QLatin1Char('!'); }
QString cannotCreate(const QString& name) { return QStringLiteral("Impossible de créer le fichier ") + name + QLatin1Char('!'); }

// The turnover as its field shows it, to the cent: the next entry adds to
// what the cashier sees.
double asShown(double turnover) { return tk::Val(AmountFormatter(tk::Str(turnover))); }

}  // namespace

QString Desk::ReadRate(const tk::Date& today) {
  const tk::FolderItem rate = DataFile(RateFile);
  if (rate.Exists()) {
    auto in = rate.OpenAsTextFile();
    if (!in) return cannotRead(RateFile);
    Module1::ovktaux = tk::Val(in->ReadLine());
    in->Close();
  } else {
    if (!rate.ReplaceWithLines({DefaultRate})) return cannotCreate(RateFile);
    Module1::ovktaux = tk::Val(DefaultRate);
  }
  Module1::myday = tk::Str(today.Day) + QLatin1Char('/') + tk::Str(today.Month) + QLatin1Char('/') + tk::Str(today.Year);
  Module1::thename = SalesJournalFile(today.Year);
  return QString();
}

Desk::JournalOpening Desk::LoadJournal() {
  const tk::FolderItem journal = DataFile(Module1::thename);
  if (!journal.Exists()) {
    if (!journal.ReplaceWithLines(JournalHeader(Module1::myday))) return {false, cannotCreate(Module1::thename)};
    return {true, QString()};
  }
  auto in = journal.OpenAsTextFile();
  if (!in) return {false, cannotRead(Module1::thename)};
  rows_.clear();
  double total = 0;
  while (!in->IsEOF()) {
    const QString line = in->ReadLine();
    if (IsBlankLine(line) || IsJournalHeader(line)) continue;
    const QStringList fields = CsvFields(line, 4);
    rows_.push_back({fields.at(0), AmountFormatter(fields.at(1)), fields.at(2), fields.at(3)});
    total += tk::Val(fields.at(1));
  }
  in->Close();
  Module1::grandtotal = total;
  turnover_ = total;
  commission_ = CommissionRounding(Module1::ovktaux, total);
  return {false, QString()};
}

Desk::Entry Desk::Book(const QString& coupon, const QString& amount) {
  Entry e;
  if (coupon.isEmpty()) return e;

  // A coupon is booked once a year; the last listed match is the one named.
  for (int i = 0, n = static_cast<int>(rows_.size()); i < n; ++i)
    if (rows_[static_cast<std::size_t>(i)].coupon == coupon) e.duplicate = i;
  if (e.duplicate >= 0) {
    e.messages << QStringLiteral("Coupon déjà saisi, position ") + tk::Str(e.duplicate + 1);
    return e;
  }

  if (tk::Val(amount) > 100.0) e.messages << QStringLiteral("Info: Montant élevé");

  // The coupon map is read afresh at every entry: the register may change.
  auto map = DataFile(CouponMapFile).OpenAsTextFile();
  if (!map) {
    e.messages << QStringLiteral(
        "Avez-vous créé les fichiers vendeurs? Si ce n'est pas le cas utilisez \"Gestion des vendeurs\".");
    return e;
  }
  const CouponOwner owner = FindCouponOwner(map->Bytes(), coupon);
  map->Close();
  if (owner.name.isEmpty()) {
    e.messages << QStringLiteral("Ce coupon n'a pas de vendeur");
    return e;
  }

  const SaleEntry sale{coupon, amount};
  const JournalEntry entry{coupon, amount, owner.name, owner.code};
  if (!AppendBooking(DataFile(SellerSalesFile(SellerNumber(owner.code))), sale, DataFile(Module1::thename),
                     JournalHeader(Module1::myday), entry)) {
    e.messages << FailedChangeMessage(ProblemCreatingTextFile);
    return e;
  }
  turnover_ = asShown(turnover_) + tk::Val(amount);
  commission_ = CommissionRounding(Module1::ovktaux, turnover_, 10.0);
  rows_.push_back(entry);
  e.booked = true;
  return e;
}

namespace {

// A seller's sales file as a removal leaves it.
struct SalesAfterRemoval {
  bool missing = false;     // there is no such file: nothing to rewrite
  bool unreadable = false;  // it is there but cannot be read: no removal
  bool rewrite = false;     // the coupon was found: the file gets `lines`
  QStringList lines;
};

// The sales file without the last line of the coupon, every line read
// trimmed and its blank lines dropped; this seller's lines only, read
// afresh for every removal.
SalesAfterRemoval salesWithout(const tk::FolderItem& sales, const QString& coupon) {
  SalesAfterRemoval after;
  after.missing = !sales.Exists();
  if (after.missing) return after;
  auto in = sales.OpenAsTextFile();
  if (!in) {
    after.unreadable = true;
    return after;
  }
  std::vector<SaleEntry> kept;
  int match = -1;
  while (!in->IsEOF()) {
    const QString line = in->ReadLine();
    if (IsBlankLine(line)) continue;
    const QStringList cells = CsvFields(line, 2);
    if (cells.at(0) == tk::Trim(coupon)) match = static_cast<int>(kept.size());
    kept.push_back({cells.at(0), cells.at(1)});
  }
  in->Close();
  if (match < 0) return after;
  kept.erase(kept.begin() + match);
  for (const SaleEntry& s : kept) after.lines << s.Line();
  after.rewrite = true;
  return after;
}

}  // namespace

QStringList Desk::journalWithout(int row, double& total) const {
  QStringList lines = JournalHeader(Module1::myday);
  total = 0;
  for (int j = 0, n = static_cast<int>(rows_.size()); j < n; ++j) {
    if (j == row) continue;
    const JournalEntry& e = rows_[static_cast<std::size_t>(j)];
    lines << e.Line();
    total += tk::Val(e.amount);
  }
  return lines;
}

Desk::Removal Desk::Remove(int row) {
  Removal r;
  if (row < 0 || row >= static_cast<int>(rows_.size())) {
    r.messages << QStringLiteral("Aucun coupon n'a été sélectionné!");
    return r;
  }
  const JournalEntry removed = rows_[static_cast<std::size_t>(row)];
  Module1::vc2 = removed.code;

  // The sales file is named by the seller's number, as the booking named it.
  const tk::FolderItem sales = DataFile(SellerSalesFile(SellerNumber(removed.code)));
  const SalesAfterRemoval after = salesWithout(sales, removed.coupon);
  if (after.unreadable) {
    r.messages << NoSalesFile;
    return r;
  }
  double total = 0;
  const QStringList journal = journalWithout(row, total);
  if (ReplaceJournalAndSales(DataFile(Module1::thename), journal, sales, after.rewrite, after.lines) !=
      storage::Replaced::All) {
    r.messages << FailedChangeMessage(CannotWriteChangedFile);
    return r;
  }

  rows_.erase(rows_.begin() + row);
  Module1::grandtotal = total;
  turnover_ = total;
  commission_ = CommissionRounding(Module1::ovktaux, total);
  r.removed = true;
  if (after.missing) r.messages << NoSalesFile;
  return r;
}
