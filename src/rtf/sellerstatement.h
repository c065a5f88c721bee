#pragma once
// A seller's statement: what it prints of a seller, and its file
// "vendeur_" + code + ".rtf" in the data folder.

#include <QString>
#include <optional>
#include <vector>

#include "core/accounts.h"
#include "core/salesfiles.h"
#include "core/sellerformat.h"
#include "rtf/statementwriter.h"
#include "toolkit/files.h"

// What a seller's statement prints: the seller's name, address, postal
// code, town and code as the record holds them; the sales in coupon-number
// order; the account's gross, commission, fees and net as the "-####.00"
// mask shows them (fees typed by hand as typed); the date. The sheet's
// statement and every page of the general results are built here.
SellerStatement StatementOf(const SellerRecord& seller, std::vector<SaleEntry> sales, const SellerAccount& account,
                            const QString& date);

// The statement file's name for a seller code as stored; nothing when the
// code cannot name a file of the data folder (empty, or holding "/" or NUL).
std::optional<QString> SellerStatementFileName(const QString& sellerCode);

// Writes the statement of the seller with this code: header, block and
// closing brace, through a temporary file that takes the real one's place
// only when every line was written and the file closed. Gives the file
// written; nothing when it could not be named, created or written, and an
// older statement of that name is then as it was.
std::optional<tk::FolderItem> WriteSellerStatement(const SellerStatement& statement);
