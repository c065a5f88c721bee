#include "core/pendingchange.h"

#include "toolkit/dialogs.h"
#include "toolkit/filechange.h"

bool FinishInterruptedChange() {
  const tk::PendingChange pending = tk::FinishPendingChange();
  if (pending.outcome != tk::PendingChange::Failed) return true;
  tk::MsgBox(QStringLiteral("Une modification des fichiers ") + pending.files.join(QStringLiteral(", ")) +
             QStringLiteral(" interrompue par un arrêt brutal n'a pas pu être terminée! Rien n'est perdu: vérifiez "
                            "qu'on peut écrire dans le dossier des données, puis relancez le programme."));
  return false;
}
