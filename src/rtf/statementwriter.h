#pragma once
// One seller's statement block: name and address, seller code, totals,
// date and receipt, and the coupon table, three coupon/value pairs a row.
// The single statement and every page of the general results write it.

#include <QString>
#include <vector>

#include "toolkit/files.h"

struct StatementCoupon {
  QString number;
  QString value;
};

// What a statement prints, as the user typed or the program computed it:
// raw texts, never escaped. The writer escapes copies of them.
struct SellerStatement {
  QString name;
  QString address;
  QString postalCode;
  QString town;
  QString sellerCode;
  QString gross;
  QString commission;
  QString fees;
  QString net;
  QString date;
  std::vector<StatementCoupon> coupons;  // in print order
};

enum class StatementBlock {
  Single,       // a statement file of its own
  ResultsPage,  // a page of the general results: no blank line after the date
};

// Writes the block, from the name paragraph to the last coupon row, every
// variable text through RtfEscape. False when a line could not be written
// (the writing stops there).
bool StatementWriter(tk::TextOutputStream& out, const SellerStatement& statement,
                     StatementBlock block = StatementBlock::Single);
