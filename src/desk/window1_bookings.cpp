// The desk's own work: its opening, booking a coupon ("Ajouter") and
// removing one again ("Effacer").

#include "core/module1.h"
#include "core/pendingchange.h"
#include "core/rules.h"
#include "desk/deskfiles.h"
#include "desk/window1.h"
#include "core/sellerformat.h"
#include "toolkit/application.h"
#include "toolkit/clock.h"
#include "toolkit/dialogs.h"
#include "toolkit/text.h"

namespace {

const QString NoSalesFile = QStringLiteral("Il n'y a pas de fichier pour ce vendeur!?!?!");
const QString CannotRewrite = QStringLiteral("impossible d'écrire le fichier modifié!");

// A data file the run cannot do without: say so and end the run.
void endRun(const QString& message) {
  tk::MsgBox(message);
  tk::Quit(1);
}
QString cannotRead(const QString& name) { return QStringLiteral("Impossible de lire le fichier ") + name + QLatin1Char('!'); }
QString cannotCreate(const QString& name) { return QStringLiteral("Impossible de créer le fichier ") + name + QLatin1Char('!'); }

}  // namespace

void Window1::Event_Open() {
  // Before anything reads the data: a booking or a removal cut short by a
  // crash is finished first.
  if (!FinishInterruptedChange()) {
    tk::Quit(1);
    return;
  }
  const tk::Date today = tk::Today();

  // The rate in force for the run. A file that exists is never rewritten
  // here, even when it cannot be read.
  const tk::FolderItem rate = DataFile(RateFile);
  if (rate.Exists()) {
    auto in = rate.OpenAsTextFile();
    if (!in) return endRun(cannotRead(RateFile));
    Module1::ovktaux = tk::Val(in->ReadLine());
    in->Close();
  } else {
    if (!rate.ReplaceWithLines({DefaultRate})) return endRun(cannotCreate(RateFile));
    Module1::ovktaux = tk::Val(DefaultRate);
  }

  Module1::myday = tk::Str(today.Day) + QLatin1Char('/') + tk::Str(today.Month) + QLatin1Char('/') + tk::Str(today.Year);
  Module1::thename = SalesJournalFile(today.Year);
  ShowTotal()->SetText(tk::Str(Module1::grandtotal));

  tk::MessageDialog start;
  start.Icon = tk::MessageDialog::Caution;
  start.Title = QStringLiteral("et pour commencer... ");
  start.Message = QStringLiteral(
                      "Le fonctionnement de ce programme suppose que tous les fichiers des vendeurs (vendeur_x.csv) "
                      "ont étés effacés et que les fichiers ListeVendeurs.csv et couponsvendeurs.csv ont été "
                      "correctement remplis. ") +
                  tk::EndOfLine;
  start.Explanation = QStringLiteral(
                          "Si ce n'est pas le cas, vous pouvez encore effacer les premiers, sans devoir quitter le "
                          "programme (Continuer), et utiliser ") +
                      tk::EndOfLine + QStringLiteral(" le bouton \"Gestion des vendeurs\" pour créer les seconds.");
  start.ActionButton.Caption = QStringLiteral("Continuer");
  start.CancelButton.Caption = QStringLiteral("Quitter");
  start.CancelButton.Visible = true;
  start.CancelButton.Cancel = true;
  if (start.ShowModal() == &start.CancelButton) {
    tk::Quit(0);
    return;
  }

  const tk::FolderItem journal = DataFile(Module1::thename);
  if (!journal.Exists()) {
    // The year's first start.
    if (!journal.ReplaceWithLines(JournalHeader(Module1::myday))) return endRun(cannotCreate(Module1::thename));
    PushButton5()->SetEnabled(true);
    return;
  }
  auto in = journal.OpenAsTextFile();
  if (!in) return endRun(cannotRead(Module1::thename));
  Module1::grandtotal = 0;
  in->ReadLine();
  in->ReadLine();
  tk::Listbox& list = *ReferenceBox();
  tk::TextField& formatter = *fromat();
  CsvListLoader(*in, list, [&](int row, const QStringList& fields) {
    list.SetCell(row, 1, AmountFormatter(formatter, fields.at(1)));
    Module1::grandtotal += tk::Val(fields.at(1));
  });
  in->Close();
  PushButton5()->SetEnabled(false);
  ShowTotal()->SetText(tk::Str(Module1::grandtotal));
  ShowComm()->SetText(tk::Str(CommissionRounding(Module1::ovktaux, Module1::grandtotal)));
}

void Window1::BevelButton1_Action() {
  const QString coupon = EntryCoupon()->Text();
  if (coupon.isEmpty()) return;

  // A coupon is booked once a year; the last listed match is the one named.
  tk::Listbox& list = *ReferenceBox();
  int duplicate = -1;
  for (int i = 0, n = list.ListCount(); i < n; ++i)
    if (list.Cell(i, 0) == coupon) duplicate = i;
  if (duplicate >= 0) {
    list.SetListIndex(duplicate);
    tk::MsgBox(QStringLiteral("Coupon déjà saisi, position ") + tk::Str(duplicate + 1));
    return;
  }

  // The field gives the amount through its mask: "12,5" is booked as 12.50.
  const QString amount = ValeurCoupon()->Text();
  if (tk::Val(amount) > 100.0) tk::MsgBox(QStringLiteral("Info: Montant élevé"));

  // The coupon map is read afresh at every click: the register may change.
  auto map = tk::GetFolderItem(CouponMapFile).OpenAsTextFile();
  if (!map) {
    tk::MsgBox(QStringLiteral(
        "Avez-vous créé les fichiers vendeurs? Si ce n'est pas le cas utilisez \"Gestion des vendeurs\"."));
    return;
  }
  const CouponOwner owner = FindCouponOwner(map->Bytes(), coupon);
  map->Close();
  if (owner.name.isEmpty()) {
    tk::MsgBox(QStringLiteral("Ce coupon n'a pas de vendeur"));
    return;
  }

  const SaleEntry sale{coupon, amount};
  const JournalEntry entry{coupon, amount, owner.name, owner.code};
  if (!AppendBooking(DataFile(SellerSalesFile(SellerNumber(owner.code))), sale, DataFile(Module1::thename),
                     JournalHeader(Module1::myday), entry)) {
    tk::MsgBox(QStringLiteral("Problem creating the text file!"));
    return;
  }

  // The turnover between two loads lives in the field's text.
  const double turnover = tk::Val(ShowTotal()->Text()) + tk::Val(amount);
  ShowTotal()->SetText(tk::Str(turnover));
  ShowComm()->SetText(tk::Str(CommissionRounding(Module1::ovktaux, turnover, 10.0)));
  list.AddRow(QStringList{coupon, amount, owner.name, owner.code});
  ValeurCoupon()->SetText(QString());
  EntryCoupon()->SetText(QString());
  // The cashier types the next coupon straight away.
  EntryCoupon()->SetFocus();
}

void Window1::BevelButton3_Action() {
  tk::Listbox& list = *ReferenceBox();
  const int row = list.ListIndex();
  if (row == -1) {
    tk::MsgBox(QStringLiteral("Aucun coupon n'a été sélectionné!"));
    return;
  }
  Module1::vc2 = list.Cell(row, 3);
  const QString coupon = list.Cell(row, 0);

  // The seller's sales file without the last line of the coupon. The file
  // is named by the seller's number, as the booking named it.
  const tk::FolderItem sales = DataFile(SellerSalesFile(SellerNumber(Module1::vc2)));
  const bool salesMissing = !sales.Exists();
  bool rewriteSales = false;
  QStringList salesLines;
  if (!salesMissing) {
    auto in = sales.OpenAsTextFile();
    if (!in) {
      tk::MsgBox(NoSalesFile);
      return;
    }
    tk::Listbox& cache = *ListCachee();
    cache.DeleteAllRows();
    CsvListLoader(*in, cache);
    in->Close();
    int match = -1;
    for (int k = 0, n = cache.ListCount(); k < n; ++k)
      if (cache.Cell(k, 0) == tk::Trim(coupon)) match = k;  // the file's cells are read trimmed
    if (match >= 0) {
      cache.RemoveRow(match);
      for (int k = 0, n = cache.ListCount(); k < n; ++k)
        salesLines << SaleEntry{cache.Cell(k, 0), cache.Cell(k, 1)}.Line();
      rewriteSales = true;
    }
  }

  // The journal from the rows that stay, each as the list holds it.
  QStringList journalLines = JournalHeader(Module1::myday);
  double total = 0;
  for (int j = 0, n = list.ListCount(); j < n; ++j) {
    if (j == row) continue;
    journalLines << JournalEntry{list.Cell(j, 0), list.Cell(j, 1), list.Cell(j, 2), list.Cell(j, 3)}.Line();
    total += tk::Val(list.Cell(j, 1));
  }
  const tk::Replaced done = ReplaceJournalAndSales(DataFile(Module1::thename), journalLines, sales, rewriteSales, salesLines);
  if (done == tk::Replaced::Nothing) {
    tk::MsgBox(CannotRewrite);
    return;
  }

  list.RemoveRow(row);
  list.SetListIndex(-1);  // a second click must not take the neighbour
  Module1::grandtotal = total;
  ShowTotal()->SetText(tk::Str(Module1::grandtotal));
  ShowComm()->SetText(tk::Str(CommissionRounding(Module1::ovktaux, Module1::grandtotal)));
  // The journal no longer holds the coupon: the list follows it, and only
  // the sales file, which could not be rewritten, still does.
  if (done == tk::Replaced::Partly) tk::MsgBox(CannotRewrite);
  if (salesMissing) tk::MsgBox(NoSalesFile);
}
