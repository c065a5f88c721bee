// The desk's own work: its opening, booking a coupon ("Ajouter") and
// removing one again ("Effacer"). The rules are the desk model's; these
// handlers move texts between the controls and it.

#include "core/texts.h"
#include "desk/window1.h"
#include "toolkit/application.h"
#include "toolkit/clock.h"
#include "toolkit/dialogs.h"
#include "toolkit/text.h"
#include "ui/warnings.h"

namespace {

// A data file the run cannot do without: say so and end the run.
void endRun(const QString& message) {
  tk::MsgBox(message);
  tk::Quit(1);
}

QStringList cells(const JournalEntry& e) { return {e.coupon, e.amount, e.name, e.code}; }

}  // namespace

void Window1::showTotals() {
  ShowTotal()->SetText(tk::Str(desk_.Turnover()));
  if (const auto commission = desk_.Commission()) ShowComm()->SetText(tk::Str(*commission));
}

void Window1::Event_Open() {
  // Before anything reads the data: a booking or a removal cut short by a
  // crash is finished first.
  if (!UnfinishedChangeSettled()) {
    tk::Quit(1);
    return;
  }
  const QString rateFailure = desk_.ReadRate(tk::Today());
  if (!rateFailure.isEmpty()) return endRun(rateFailure);
  showTotals();

  tk::MessageDialog start = ContinueWarning(
      QStringLiteral("et pour commencer... "),
      QStringLiteral("Le fonctionnement de ce programme suppose que tous les fichiers des vendeurs (vendeur_x.csv) "
                     "ont étés effacés et que les fichiers ListeVendeurs.csv et couponsvendeurs.csv ont été "
                     "correctement remplis. ") +
          tk::EndOfLine,
      QStringLiteral("Si ce n'est pas le cas, vous pouvez encore effacer les premiers, sans devoir quitter le "
                     "programme (Continuer), et utiliser ") +
          tk::EndOfLine + QStringLiteral(" le bouton \"Gestion des vendeurs\" pour créer les seconds."),
      QStringLiteral("Quitter"));
  if (start.ShowModal() == &start.CancelButton) {
    tk::Quit(0);
    return;
  }

  const Desk::JournalOpening journal = desk_.LoadJournal();
  if (!journal.failure.isEmpty()) return endRun(journal.failure);
  if (journal.created) {
    // The year's first start: the seller files may be started afresh.
    PushButton5()->SetEnabled(true);
    return;
  }
  tk::Listbox& list = *ReferenceBox();
  for (const JournalEntry& e : desk_.Rows()) list.AddRow(cells(e));
  PushButton5()->SetEnabled(false);
  showTotals();
}

void Window1::BevelButton1_Action() {
  // The amount is read through its mask: "12,5" is booked as 12.50.
  const Desk::Entry entry = desk_.Book(EntryCoupon()->Text(), ValeurCoupon()->Text());
  if (entry.duplicate >= 0) ReferenceBox()->SetListIndex(entry.duplicate);
  for (const QString& message : entry.messages) tk::MsgBox(message);
  if (!entry.booked) return;

  showTotals();
  ReferenceBox()->AddRow(cells(desk_.Rows().back()));
  ValeurCoupon()->SetText(QString());
  EntryCoupon()->SetText(QString());
  // The cashier types the next coupon straight away.
  EntryCoupon()->SetFocus();
}

void Window1::BevelButton3_Action() {
  tk::Listbox& list = *ReferenceBox();
  const int row = list.ListIndex();
  const Desk::Removal removal = desk_.Remove(row);
  if (removal.removed) {
    list.RemoveRow(row);
    list.SetListIndex(-1);  // a second click must not take the neighbour
    showTotals();
  }
  for (const QString& message : removal.messages) tk::MsgBox(message);
}
