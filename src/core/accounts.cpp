#include "core/accounts.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "core/rules.h"
#include "toolkit/text.h"

SellerSales LoadSellerSales(const tk::FolderItem& salesFile) {
  SellerSales sales;
  auto in = salesFile.OpenAsTextFile();
  if (!in) {
    sales.missing = true;
    return sales;
  }
  while (!in->IsEOF()) {
    const QString line = in->ReadLine();
    if (IsBlankLine(line)) continue;
    const QStringList fields = CsvFields(line, 2);
    sales.gross += tk::Val(fields.at(1));
    sales.rows.push_back(SaleEntry{fields.at(0), AmountFormatter(fields.at(1))});
  }
  return sales;
}

bool CouponNumberOrder(const QString& a, const QString& b) { return WholeNumber(a) < WholeNumber(b); }

void SortByCouponNumber(std::vector<SaleEntry>& rows) {
  // Each number is read once, not at every comparison: a sheet may hold
  // thousands of coupons. The order is CouponNumberOrder's.
  std::vector<std::pair<std::int64_t, std::size_t>> keys;
  keys.reserve(rows.size());
  for (std::size_t i = 0; i < rows.size(); ++i) keys.emplace_back(WholeNumber(rows[i].coupon), i);
  std::stable_sort(keys.begin(), keys.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<SaleEntry> sorted;
  sorted.reserve(rows.size());
  for (const auto& k : keys) sorted.push_back(std::move(rows[k.second]));
  rows = std::move(sorted);
}

double RentalFees(const QString& tanks, const QString& ramps) {
  constexpr double perTank = 5.0;
  constexpr double perRamp = 5.0;
  return tk::Val(tanks) * perTank + tk::Val(ramps) * perRamp;
}

QString SellerAccount::FeesText() const { return typedFees.value_or(tk::Str(fees)); }

QStringList SellerAccount::Texts() const {
  return {tanks, ramps, FeesText(), tk::Str(gross), tk::Str(commission), tk::Str(net)};
}

SellerAccount SellerTotals(double gross, const QString& tanks, const QString& ramps, double rate) {
  SellerAccount account;
  account.gross = gross;
  account.commission = CommissionRounding(rate, gross);
  return WithRentals(account, tanks, ramps);
}

SellerAccount WithRentals(SellerAccount account, const QString& tanks, const QString& ramps) {
  account.tanks = tanks;
  account.ramps = ramps;
  return WithFees(account, RentalFees(tanks, ramps));
}

SellerAccount WithFees(SellerAccount account, double fees) {
  account.fees = fees;
  account.typedFees.reset();
  account.net = (account.gross - account.commission) - fees;
  return account;
}

SellerAccount WithTypedFees(SellerAccount account, const QString& fees) {
  account = WithFees(account, tk::Val(fees));
  account.typedFees = fees;
  return account;
}
