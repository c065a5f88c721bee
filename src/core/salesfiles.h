#pragma once
// The files every subsystem finds in the data folder, and the sellers'
// sales files that the desk writes and the sheet and the reports read.

#include <QString>
#include <cstdint>

#include "toolkit/files.h"

// A file of the data folder, whether or not it exists.
tk::FolderItem DataFile(const QString& name);

// The sales file of a seller, named by the seller's number.
QString SellerSalesFile(std::int64_t sellerNumber);

// The journal of one calendar year: "OVKB" + year + "_main.csv".
QString SalesJournalFile(int year);

// One coupon cashed for a seller: a line of that seller's sales file.
struct SaleEntry {
  QString coupon;
  QString amount;
  QString Line() const;
};
