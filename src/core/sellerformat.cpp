#include "core/sellerformat.h"

#include "core/rules.h"
#include "core/salesfiles.h"

#include <cstring>
#include <string.h>

#include "core/rules.h"
#include "toolkit/files.h"
#include "toolkit/text.h"

std::vector<SellerRecord> SellerListRecords(const QByteArray& list) {
  tk::TextInputStream in(list);
  std::vector<SellerRecord> sellers;
  while (!in.IsEOF()) {
    const QStringList cells = CsvFields(in.ReadLine(), SellerRecord::FieldCount);
    SellerRecord& s = sellers.emplace_back();
    for (int k = 0; k < SellerRecord::FieldCount; ++k) s.fields[static_cast<std::size_t>(k)] = cells.at(k);
  }
  return sellers;
}

std::optional<std::vector<SellerRecord>> ReadSellerList() {
  auto in = DataFile(SellerListFile).OpenAsTextFile();
  if (!in) return std::nullopt;
  return SellerListRecords(in->Bytes());
}

QString SellerLine(const SellerRecord& seller) {
  QString line;
  for (int i = 0; i < SellerRecord::FieldCount; ++i) {
    if (i > 0) line += QLatin1Char(',');
    line += seller.fields[static_cast<std::size_t>(i)];
  }
  return line;
}

std::int64_t SellerNumber(const QString& code) { return WholeNumber(code); }

void ForEachCouponEntry(const SellerRecord& seller, const std::function<bool(const QString& line)>& line) {
  const std::int64_t first = SellerNumber(seller[SellerRecord::FirstCoupon]);
  const std::int64_t last = SellerNumber(seller[SellerRecord::LastCoupon]);
  const QString tail = QLatin1Char(',') + seller[SellerRecord::Name] + QLatin1Char(',') + seller[SellerRecord::Code];
  for (std::int64_t j = first; j <= last; ++j) {
    if (!line(tk::Str(j) + tail)) return;
    if (j == INT64_MAX) return;
  }
}

std::uint64_t CouponEntryCount(const SellerRecord& seller) {
  const std::int64_t first = SellerNumber(seller[SellerRecord::FirstCoupon]);
  const std::int64_t last = SellerNumber(seller[SellerRecord::LastCoupon]);
  if (last < first) return 0;
  const std::uint64_t span = static_cast<std::uint64_t>(last) - static_cast<std::uint64_t>(first);
  return span == UINT64_MAX ? span : span + 1;
}

CouponOwner FindCouponOwner(const QByteArray& map, const QString& coupon) {
  const QByteArray key = coupon.toUtf8();
  CouponOwner owner;
  if (key.contains(',')) return owner;  // a first field never holds one
  const qsizetype n = map.size();
  const char* const data = map.constData();
  // Field 0 of a line equals the key when the key starts the line and a ","
  // or the line's end follows it.
  const auto fieldIsKey = [&](qsizetype start) {
    const qsizetype after = start + key.size();
    if (after > n || std::memcmp(data + start, key.constData(), static_cast<std::size_t>(key.size())) != 0)
      return false;
    if (after == n || data[after] == ',' || data[after] == '\n') return true;
    return data[after] == '\r' && (after + 1 == n || data[after + 1] == '\n');
  };
  // Every line is looked at and the last match wins, but the lines are not
  // split: a byte search for "\n" + key finds the candidates.
  qsizetype matchStart = n > 0 && fieldIsKey(0) ? 0 : -1;
  const QByteArray needle = QByteArray(1, '\n') + key;
  const char* const end = data + n;
  for (const char* hit = data;
       (hit = static_cast<const char*>(memmem(hit, static_cast<std::size_t>(end - hit), needle.constData(),
                                              static_cast<std::size_t>(needle.size())))) != nullptr;
       ++hit) {
    const qsizetype start = hit - data + 1;
    if (start < n && fieldIsKey(start)) matchStart = start;
  }
  if (matchStart < 0) return owner;
  qsizetype matchEnd = map.indexOf('\n', matchStart);
  if (matchEnd < 0) matchEnd = n;
  if (matchEnd > matchStart && data[matchEnd - 1] == '\r') --matchEnd;
  const QStringList fields = tk::Split(QString::fromUtf8(data + matchStart, matchEnd - matchStart));
  owner.found = true;
  owner.name = fields.size() > 1 ? fields.at(1) : QString();
  owner.code = fields.size() > 2 ? fields.at(2) : QString();
  return owner;
}
