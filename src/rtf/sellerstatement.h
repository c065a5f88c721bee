#pragma once
// A seller's statement file "vendeur_" + code + ".rtf" in the data folder.

#include <QString>
#include <optional>

#include "rtf/statementwriter.h"
#include "toolkit/files.h"

// The statement file's name for a seller code as stored; nothing when the
// code cannot name a file of the data folder (empty, or holding "/" or NUL).
std::optional<QString> SellerStatementFileName(const QString& sellerCode);

// Writes the statement of the seller with this code: header, block and
// closing brace, through a temporary file that takes the real one's place
// only when every line was written and the file closed. Gives the file
// written; nothing when it could not be named, created or written, and an
// older statement of that name is then as it was.
std::optional<tk::FolderItem> WriteSellerStatement(const SellerStatement& statement);
