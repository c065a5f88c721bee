#include "core/unfinishedchange.h"

#include <cstdint>
#include <limits>

#include "core/salesfiles.h"
#include "core/sellerformat.h"
#include "storage/filechange.h"
#include "storage/finishchange.h"
#include "toolkit/text.h"

namespace {

const QString Separator = QStringLiteral(", ");

QString changeLeftMessage(const QStringList& files) {
  return QStringLiteral("L'écriture dans les fichiers ") + files.join(Separator) +
         QStringLiteral(" a échoué et n'a pas pu être annulée! Rien d'autre ne sera enregistré ni effacé: quittez "
                        "Corvalenta et relancez-le, la modification sera alors terminée.");
}

// Files edited by hand since the change was cut short: which to check, and
// the two ways on.
QString changedSinceMessage(const storage::UnfinishedChange& pending) {
  const bool one = pending.changed.size() == 1;
  const QString changed = pending.changed.join(Separator);
  return QStringLiteral("Une modification des fichiers ") + pending.files.join(Separator) +
         QStringLiteral(" restée inachevée n'a pas pu être terminée: ") +
         (one ? QStringLiteral("le fichier ") + changed + QStringLiteral(" a changé depuis.")
              : QStringLiteral("les fichiers ") + changed + QStringLiteral(" ont changé depuis.")) +
         QStringLiteral(" Rien n'a été modifié. Vérifiez ") + changed +
         (one ? QStringLiteral(": remettez-le comme il était") : QStringLiteral(": remettez-les comme ils étaient")) +
         QStringLiteral(" pour que la modification soit terminée au prochain démarrage, ou supprimez le fichier ") +
         storage::PendingChangeRecord + QStringLiteral(" du dossier des données pour l'abandonner.");
}

// A record that no run of this program wrote as it stands: the change it
// stood for may have been cut short, and only the files can tell.
QString damagedRecordMessage(const storage::UnfinishedChange& pending) {
  const bool named = !pending.files.isEmpty();
  const QString files = pending.files.join(Separator);
  const QString record = storage::PendingChangeRecord;
  return QStringLiteral("Une modification ") +
         (named ? QStringLiteral("des fichiers ") + files : QStringLiteral("des fichiers de données")) +
         QStringLiteral(" a peut-être été interrompue par un arrêt brutal, mais le fichier ") + record +
         QStringLiteral(" qui la décrit est illisible ou endommagé: elle n'a pas été terminée. Vérifiez ") +
         (named ? files
                : QStringLiteral("le journal des ventes (OVKBaaaa_main.csv) et les fichiers des vendeurs "
                                 "(vendeur_x.csv)")) +
         QStringLiteral(". ") +
         (pending.setAsideAs.isEmpty()
              ? QStringLiteral("Le fichier ") + record +
                    QStringLiteral(" n'a pas pu être mis de côté: supprimez-le du dossier des données, puis "
                                   "relancez le programme.")
              : QStringLiteral("Le fichier ") + record + QStringLiteral(" a été mis de côté sous le nom ") +
                    pending.setAsideAs + QLatin1Char('.'));
}

// A name that SellerSalesFile or SalesJournalFile gives for the number it holds.
bool numberedDataFile(const QString& name) {
  qsizetype from = 0;
  while (from < name.size() && !name.at(from).isDigit() && name.at(from) != QLatin1Char('-')) ++from;
  qsizetype to = from + 1;
  while (to < name.size() && name.at(to).isDigit()) ++to;
  bool ok = false;
  const std::int64_t n = name.mid(from, to - from).toLongLong(&ok);
  if (!ok) return false;
  const bool isYear = n >= std::numeric_limits<int>::min() && n <= std::numeric_limits<int>::max();
  return name == SellerSalesFile(n) || (isYear && name == SalesJournalFile(static_cast<int>(n)));
}

}  // namespace

bool IsChangeableDataFile(const QString& name) {
  return name == SellerListFile || name == CouponMapFile || numberedDataFile(name);
}

SettledChange SettleUnfinishedChange() {
  const storage::UnfinishedChange pending = storage::FinishUnfinishedChange(IsChangeableDataFile);
  switch (pending.outcome) {
    case storage::UnfinishedChange::None:
      return {true, QString()};
    case storage::UnfinishedChange::Finished:
      if (!pending.told) return {true, QString()};
      return {true, QStringLiteral("La modification des fichiers ") + pending.files.join(Separator) +
                        QStringLiteral(", qui avait échoué avant le redémarrage, est maintenant terminée.")};
    case storage::UnfinishedChange::Failed:
      // A change the last run gave up is not one a crash cut short.
      return {false, QStringLiteral("Une modification des fichiers ") + pending.files.join(Separator) +
                         (pending.told ? QStringLiteral(", qui avait échoué avant le redémarrage,")
                                       : QStringLiteral(" interrompue par un arrêt brutal")) +
                         QStringLiteral(" n'a pas pu être terminée! Rien n'est perdu: vérifiez qu'on peut écrire "
                                        "dans le dossier des données, puis relancez le programme.")};
    case storage::UnfinishedChange::Changed:
      return {false, changedSinceMessage(pending)};
    case storage::UnfinishedChange::GivenUp:
      return {false, changeLeftMessage(pending.files)};
    case storage::UnfinishedChange::Damaged:
      return {!pending.setAsideAs.isEmpty(), damagedRecordMessage(pending)};
  }
  return {false, QString()};
}

QString FailedChangeMessage(const QString& ordinary) {
  const QStringList left = storage::GivenUpChange();
  return left.isEmpty() ? ordinary : changeLeftMessage(left);
}
