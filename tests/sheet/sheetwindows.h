#pragma once
// What the tests of the seller picker and the seller sheet share.

#include <QStringList>

#include "core/module1.h"
#include "sheet/feuillevendeur.h"
#include "sheet/selectvendor.h"
#include "toolkit/window.h"

namespace testing {

inline const QString NoSellerList = QStringLiteral("Erreur de lecture du fichier vendeur!");
inline const QString NoSelection = QStringLiteral("Aucun vendeur n'a été sélectionné!");
inline const QString NothingSold = QStringLiteral("Ce vendeur n'a encore rien vendu!");

// The open window of class W, or null; without building one.
template <class W>
W* openWindowOf() {
  for (tk::Window* w : tk::OpenWindows())
    if (auto* found = qobject_cast<W*>(w)) return found;
  return nullptr;
}

// In the open picker (built when none is), the row selected (-1: none) and
// "Sélectionner et cliquer ici!" clicked.
inline void chooseSeller(int row) {
  auto picker = tk::Ref<SelectVendor>();
  picker->ListVendeurs()->SetListIndex(row);
  picker->BevelButton1()->click();
}

// The current seller in one line:
// SonNom|vc2|adresse2|zip2|localite2|bacs2|rampes2|FindVendor.
inline QString CurrentSellerLine() {
  return QStringList({Module1::SonNom, Module1::vc2, Module1::adresse2, Module1::zip2, Module1::localite2,
                      Module1::bacs2, Module1::rampes2, QString::number(Module1::FindVendor)})
      .join('|');
}
// Sets the current seller from such a line.
inline void SetCurrentSeller(const QString& line) {
  const QStringList f = line.split('|');
  Module1::SonNom = f.value(0);
  Module1::vc2 = f.value(1);
  Module1::adresse2 = f.value(2);
  Module1::zip2 = f.value(3);
  Module1::localite2 = f.value(4);
  Module1::bacs2 = f.value(5);
  Module1::rampes2 = f.value(6);
  Module1::FindVendor = f.value(7).toLongLong();
}

}  // namespace testing
