#pragma once
// Texts the program shows from more than one place, written once.

#include <QString>

// A whole-file rewrite that failed (the desk's removal, the rate, the seller editor).
inline const QString CannotWriteChangedFile = QStringLiteral("impossible d'écrire le fichier modifié!");
// An append to two files that failed (a booking, a seller added at creation).
inline const QString ProblemCreatingTextFile = QStringLiteral("Problem creating the text file!");
