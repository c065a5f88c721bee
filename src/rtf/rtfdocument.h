#pragma once
// The fixed lines that open and close the program's RTF files: the seller
// statement, the general results and the seller cards share most of them.

#include <QString>

#include "toolkit/files.h"

// The files of the seller cards and of the general results.
inline const QString SellerCardsFile = QStringLiteral("FichesVendeurs.rtf");
inline const QString GeneralResultsFile = QStringLiteral("Fichier_General_des_vendeurs.rtf");

// What every printout says when its file cannot be created or written.
inline const QString CannotCreatePrintout = QStringLiteral("Impossible de créer un fichier pour ce vendeur!");

// The general results' font line reads "\fftruetype" where the statement
// and the cards have the font type word "\fttruetype". It is not a slip to
// mend: the results have always been written so, and their file stays byte
// for byte what it was. Readers skip a control word they do not know, so
// both lines give the same Times New Roman pages.
enum class RtfDocument {
  Statement,       // one seller's statement: A4 portrait, Times New Roman
  GeneralResults,  // a statement page per seller: as the statement, its own font line
  SellerCards,     // a card per seller: A4 landscape, Arial, no blank line after
};

// Writes the document's header lines. False when a line could not be written.
bool WriteRtfHeader(tk::TextOutputStream& out, RtfDocument document);

// Writes the closing brace of a document.
bool WriteRtfEnd(tk::TextOutputStream& out);

// Ends one page of the general results, after its coupon table. The
// paragraph mark closes the table: without it a reader pulls the next
// page's first lines into the table's last cell and loses the break.
bool WriteResultsPageEnd(tk::TextOutputStream& out);
