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

// Files no longer as the change left them: which to check, and the two
// ways on. `one` and `many` say what became of one file, or of several.
QString leftAsItIsMessage(const storage::UnfinishedChange& change, const QString& one, const QString& many,
                          const QString& putBackOne, const QString& putBackMany) {
  const bool single = change.changed.size() == 1;
  const QString names = change.changed.join(Separator);
  return QStringLiteral("Une modification des fichiers ") + change.files.join(Separator) +
         QStringLiteral(" restée inachevée n'a pas pu être terminée: ") + (single ? one : many).arg(names) +
         QStringLiteral(" Rien n'a été modifié. Vérifiez ") + names + QStringLiteral(": ") +
         (single ? putBackOne : putBackMany) +
         QStringLiteral(" pour que la modification soit terminée au prochain démarrage, ou supprimez le fichier ") +
         storage::ChangeRecordName + QStringLiteral(" du dossier des données pour l'abandonner.");
}

QString changedSinceMessage(const storage::UnfinishedChange& change) {
  return leftAsItIsMessage(change, QStringLiteral("le fichier %1 a changé depuis."),
                           QStringLiteral("les fichiers %1 ont changé depuis."),
                           QStringLiteral("remettez-le comme il était"), QStringLiteral("remettez-les comme ils étaient"));
}

QString notAFileMessage(const storage::UnfinishedChange& change) {
  return leftAsItIsMessage(change, QStringLiteral("à la place du fichier %1 se trouve un dossier, un lien ou un fichier spécial."),
                           QStringLiteral("à la place des fichiers %1 se trouvent des dossiers, des liens ou des "
                                          "fichiers spéciaux."),
                           QStringLiteral("remettez le fichier à sa place"), QStringLiteral("remettez les fichiers à leur place"));
}

// A record that no run of this program wrote as it stands: the change it
// stood for may have been cut short, and only the files can tell.
QString damagedRecordMessage(const storage::UnfinishedChange& change) {
  const bool named = !change.files.isEmpty();
  const QString files = change.files.join(Separator);
  const QString record = storage::ChangeRecordName;
  return QStringLiteral("Une modification ") +
         (named ? QStringLiteral("des fichiers ") + files : QStringLiteral("des fichiers de données")) +
         QStringLiteral(" a peut-être été interrompue par un arrêt brutal, mais le fichier ") + record +
         QStringLiteral(" qui la décrit est illisible ou endommagé: elle n'a pas été terminée. Vérifiez ") +
         (named ? files
                : QStringLiteral("le journal des ventes (OVKBaaaa_main.csv) et les fichiers des vendeurs "
                                 "(vendeur_x.csv)")) +
         QStringLiteral(". ") +
         (change.setAsideAs.isEmpty()
              ? QStringLiteral("Le fichier ") + record +
                    QStringLiteral(" n'a pas pu être mis de côté: supprimez-le du dossier des données, puis "
                                   "relancez le programme.")
              : QStringLiteral("Le fichier ") + record + QStringLiteral(" a été mis de côté sous le nom ") +
                    change.setAsideAs + QLatin1Char('.'));
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
  const storage::UnfinishedChange change = storage::FinishUnfinishedChange(IsChangeableDataFile);
  switch (change.outcome) {
    case storage::UnfinishedChange::None:
      return {true, QString()};
    case storage::UnfinishedChange::Finished:
      if (!change.told) return {true, QString()};
      return {true, QStringLiteral("La modification des fichiers ") + change.files.join(Separator) +
                        QStringLiteral(", qui avait échoué avant le redémarrage, est maintenant terminée.")};
    case storage::UnfinishedChange::Failed:
      // A change the last run gave up is not one a crash cut short.
      return {false, QStringLiteral("Une modification des fichiers ") + change.files.join(Separator) +
                         (change.told ? QStringLiteral(", qui avait échoué avant le redémarrage,")
                                       : QStringLiteral(" interrompue par un arrêt brutal")) +
                         QStringLiteral(" n'a pas pu être terminée! Rien n'est perdu: vérifiez qu'on peut écrire "
                                        "dans le dossier des données, puis relancez le programme.")};
    case storage::UnfinishedChange::Changed:
      return {false, changedSinceMessage(change)};
    case storage::UnfinishedChange::NotAFile:
      return {false, notAFileMessage(change)};
    case storage::UnfinishedChange::GivenUp:
      return {false, changeLeftMessage(change.files)};
    case storage::UnfinishedChange::Damaged:
      return {!change.setAsideAs.isEmpty(), damagedRecordMessage(change)};
  }
  return {false, QString()};
}

QString FailedChangeMessage(const QString& ordinary) {
  const QStringList left = storage::GivenUpChange();
  return left.isEmpty() ? ordinary : changeLeftMessage(left);
}
