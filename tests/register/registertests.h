#pragma once
// What the tests of the seller register share, with or without a window:
// a seller list, the texts shown, the editor's states and coupon map lines.

#include <QByteArray>
#include <QString>

namespace testing {

inline const QByteArray ThreeSellers =
    "Aquaflore,1,Rue 1,a@x.ch,1000,Ville,1,25,2,0\n"
    "Plantes,2,,,,,26,40,0,1\n"
    "Ichtyo,3,Quai 4,,3000,Bourg,41,100,0,0\n";

inline const QString CannotWrite = QString::fromUtf8("impossible d'écrire le fichier modifié!");
inline const QString ChangedOnDisk = QString::fromUtf8(
    "Le fichier des vendeurs a été modifié depuis l'ouverture de l'éditeur! Quittez l'éditeur et rouvrez-le.");
inline const QString NewSellerMessage =
    QString::fromUtf8("Entrez les coordonnées du nouveau vendeur puis cliquez sur \"Ajouter\"");
inline const QString NoSellerSelected = QString::fromUtf8("Aucun vendeur n'a été sélectionné!");
inline const QString ProblemCreating = QStringLiteral("Problem creating the text file!");

// The editor's states as its seven buttons show them, in design order:
// Sélectionner, Modifier, Ajouter, Nouveau, Abandonner, Enregistrer et
// Quitter, Quitter.
inline const QString Browsing = "S--N--Q";
inline const QString SellerSelected = "-M--A-Q";
inline const QString Edited = "S--N-E-";
inline const QString NewSeller = "--A-A--";
// After a refused save "Quitter" stays shown, whatever the state.
inline const QString EditedAfterRefusal = "S--N-EQ";
inline const QString NewSellerAfterRefusal = "--A-A-Q";

// The coupon map lines "j,<tail>" for j from first to last.
inline QByteArray couponLines(int first, int last, const QString& tail) {
  QByteArray out;
  for (int j = first; j <= last; ++j) out += QByteArray::number(j) + "," + tail.toUtf8() + "\n";
  return out;
}

}  // namespace testing
