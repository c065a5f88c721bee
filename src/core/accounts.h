#pragma once
// One seller's account: the coupons cashed for the seller, in coupon-number
// order, and the totals worked out from them. The seller sheet and the
// general results both show it.

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "core/salesfiles.h"
#include "toolkit/files.h"

// What a seller's sales file holds.
struct SellerSales {
  // The file could not be opened (missing, a folder, unreadable): no rows.
  bool missing = false;
  // One row per line, in file order: the coupon trimmed, the amount trimmed
  // and given two decimals by AmountFormatter. A blank line (IsBlankLine)
  // gives no row; a line with fewer than two fields gives empty texts for
  // the missing ones; fields after the second are ignored.
  std::vector<SaleEntry> rows;
  // The sum, in file order, of the number values of the trimmed amounts as
  // the file holds them (not of the formatted texts).
  double gross = 0.0;
};

SellerSales LoadSellerSales(const tk::FolderItem& salesFile);

// True when coupon `a` comes before coupon `b`: each read as a whole number
// (WholeNumber: a text that is no number, or too large, counts 0).
bool CouponNumberOrder(const QString& a, const QString& b);

// Puts the rows in CouponNumberOrder; rows of equal numbers keep their order.
void SortByCouponNumber(std::vector<SaleEntry>& rows);

// The club's fee for the rentals: 5.0 per tank and 5.0 per LED ramp, each
// count read with Val (1.5 counts as such, a text that is no number as 0).
double RentalFees(const QString& tanks, const QString& ramps);

// A seller's account. net is always (gross - commission) - fees.
struct SellerAccount {
  QString tanks;  // the counts as typed in the register
  QString ramps;
  double gross = 0.0;
  double fees = 0.0;
  double commission = 0.0;
  double net = 0.0;
  // The fees as typed by hand, when they were, as their field shows them:
  // printed so (an emptied field stays empty); `fees` is their value.
  std::optional<QString> typedFees;

  // The fees as text: as typed, or in Str form.
  QString FeesText() const;
  // The texts of the six account fields in the order they are written:
  // tanks, ramps, fees, gross, commission, net; the numbers in Str form.
  QStringList Texts() const;
};

// The account for that gross at that commission rate: the commission by
// CommissionRounding (to 0.05), the fees by RentalFees. Never fails; a net
// below zero stays negative.
SellerAccount SellerTotals(double gross, const QString& tanks, const QString& ramps, double rate);

// The same account with other rental counts: fees and net follow them.
SellerAccount WithRentals(SellerAccount account, const QString& tanks, const QString& ramps);

// The same account with fees fixed by hand: net follows them.
SellerAccount WithFees(SellerAccount account, double fees);

// The same account with fees typed by hand, their text as the fees field
// shows it: net follows its Val, and the text is kept.
SellerAccount WithTypedFees(SellerAccount account, const QString& fees);
