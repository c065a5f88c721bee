#include "core/pendingchange.h"

#include "storage/filechange.h"

namespace {

const QString Separator = QStringLiteral(", ");

QString changeLeftMessage(const QStringList& files) {
  return QStringLiteral("L'écriture dans les fichiers ") + files.join(Separator) +
         QStringLiteral(" a échoué et n'a pas pu être annulée! Rien d'autre ne sera enregistré ni effacé: quittez "
                        "Corvalenta et relancez-le, la modification sera alors terminée.");
}

// Files edited by hand since the change was cut short: which to check, and
// the two ways on.
QString changedSinceMessage(const storage::PendingChange& pending) {
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

}  // namespace

InterruptedChange FinishInterruptedChange() {
  const storage::PendingChange pending = storage::FinishPendingChange();
  switch (pending.outcome) {
    case storage::PendingChange::None:
      return {true, QString()};
    case storage::PendingChange::Finished:
      if (!pending.told) return {true, QString()};
      return {true, QStringLiteral("La modification des fichiers ") + pending.files.join(Separator) +
                        QStringLiteral(", qui avait échoué avant le redémarrage, est maintenant terminée.")};
    case storage::PendingChange::Failed:
      // A change the last run gave up is not one a crash cut short.
      return {false, QStringLiteral("Une modification des fichiers ") + pending.files.join(Separator) +
                         (pending.told ? QStringLiteral(", qui avait échoué avant le redémarrage,")
                                       : QStringLiteral(" interrompue par un arrêt brutal")) +
                         QStringLiteral(" n'a pas pu être terminée! Rien n'est perdu: vérifiez qu'on peut écrire "
                                        "dans le dossier des données, puis relancez le programme.")};
    case storage::PendingChange::Changed:
      return {false, changedSinceMessage(pending)};
    case storage::PendingChange::Left:
      return {false, changeLeftMessage(pending.files)};
  }
  return {false, QString()};
}

QString FailedChangeMessage(const QString& ordinary) {
  const QStringList left = storage::ChangeLeft();
  return left.isEmpty() ? ordinary : changeLeftMessage(left);
}
