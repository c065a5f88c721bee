#pragma once
// The seller register's two file formats: the seller list "ListeVendeurs.csv", one
// seller of ten fields per line, and the coupon map "couponsvendeurs.csv",
// one line "number,name,code" for every coupon of every seller's range.
// Fields are joined by a bare ",": nothing is quoted.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

inline const QString SellerListFile = QStringLiteral("ListeVendeurs.csv");
inline const QString CouponMapFile = QStringLiteral("couponsvendeurs.csv");

// One seller: ten texts, stored as typed.
struct SellerRecord {
  enum Field { Name, Code, Address, Email, PostalCode, Town, FirstCoupon, LastCoupon, Tanks, LedRamps };
  static constexpr int FieldCount = 10;
  std::array<QString, FieldCount> fields;

  QString& operator[](Field f) { return fields[static_cast<std::size_t>(f)]; }
  const QString& operator[](Field f) const { return fields[static_cast<std::size_t>(f)]; }
};

// The register gives sellers the codes 1 to this; only a list edited by
// hand holds a higher one.
inline constexpr std::int64_t HighestSellerCode = 99999;

// The sellers of these seller list bytes, in line order, every field
// trimmed; a short line gives empty texts for the fields it lacks.
std::vector<SellerRecord> SellerListRecords(const QByteArray& list);

// The sellers of the seller list, in file order, every field trimmed; a
// short line gives empty texts for the fields it lacks. None when the list
// cannot be read.
std::optional<std::vector<SellerRecord>> ReadSellerList();

// The seller line: the ten fields joined by ",", nothing added or trimmed.
QString SellerLine(const SellerRecord& seller);

// A seller code read as a whole number (WholeNumber of core/rules.h: Val,
// cut toward zero, 0 when it does not fit 64 bits); it names the seller's
// sales file. First and last coupons are read by the same rule.
std::int64_t SellerNumber(const QString& code);

// The coupon map lines of a seller's range, in ascending order: one per
// whole number from the first coupon to the last (none when the last is
// below the first). `line` is called for each; returning false stops.
void ForEachCouponEntry(const SellerRecord& seller, const std::function<bool(const QString& line)>& line);

// How many coupon map lines ForEachCouponEntry gives the seller (0 when the
// last coupon is below the first; saturates rather than overflows).
std::uint64_t CouponEntryCount(const SellerRecord& seller);

// The seller that the coupon map gives a typed coupon number: the name and
// code fields of the last line whose first field equals the number as text,
// both as they stand. A matching line that lacks a field gives it empty.
struct CouponOwner {
  bool found = false;
  QString name;
  QString code;
};
CouponOwner FindCouponOwner(const QByteArray& couponMap, const QString& coupon);
