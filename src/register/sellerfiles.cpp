#include "register/sellerfiles.h"

#include <cmath>
#include <cstring>

#include "toolkit/text.h"

QString SellerLine(const SellerRecord& seller) {
  QString line;
  for (int i = 0; i < SellerRecord::FieldCount; ++i) {
    if (i > 0) line += QLatin1Char(',');
    line += seller.fields[static_cast<std::size_t>(i)];
  }
  return line;
}

std::int64_t SellerNumber(const QString& code) {
  const double v = std::trunc(tk::Val(code));
  // 2^63 is exactly representable; anything at or beyond it does not fit.
  constexpr double limit = 9223372036854775808.0;
  if (!std::isfinite(v) || v >= limit || v < -limit) return 0;
  return static_cast<std::int64_t>(v);
}

void ForEachCouponEntry(const SellerRecord& seller, const std::function<bool(const QString& line)>& line) {
  const std::int64_t first = SellerNumber(seller[SellerRecord::FirstCoupon]);
  const std::int64_t last = SellerNumber(seller[SellerRecord::LastCoupon]);
  const QString tail = QLatin1Char(',') + seller[SellerRecord::Name] + QLatin1Char(',') + seller[SellerRecord::Code];
  for (std::int64_t j = first; j <= last; ++j) {
    if (!line(tk::Str(j) + tail)) return;
    if (j == INT64_MAX) return;
  }
}

CouponOwner FindCouponOwner(const QByteArray& map, const QString& coupon) {
  const QByteArray key = coupon.toUtf8();
  CouponOwner owner;
  if (key.contains(',')) return owner;  // a first field never holds one
  qsizetype matchStart = -1;
  qsizetype matchEnd = -1;
  const qsizetype n = map.size();
  qsizetype pos = 0;
  while (pos < n) {
    qsizetype end = map.indexOf('\n', pos);
    if (end < 0) end = n;
    qsizetype stop = end;
    if (stop > pos && map[stop - 1] == '\r') --stop;
    // Field 0 runs to the first "," of the line, or to its end.
    const qsizetype keyEnd = pos + key.size();
    if (keyEnd <= stop && (keyEnd == stop || map[keyEnd] == ',') &&
        std::memcmp(map.constData() + pos, key.constData(), static_cast<std::size_t>(key.size())) == 0) {
      matchStart = pos;
      matchEnd = stop;
    }
    pos = end + 1;
  }
  if (matchStart < 0) return owner;
  const QStringList fields = tk::Split(QString::fromUtf8(map.constData() + matchStart, matchEnd - matchStart));
  owner.found = true;
  owner.name = fields.size() > 1 ? fields.at(1) : QString();
  owner.code = fields.size() > 2 ? fields.at(2) : QString();
  return owner;
}
