#include "register/sellerfiles.h"

#include <cmath>
#include <cstring>

#include "toolkit/files.h"
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

std::uint64_t CouponEntryCount(const SellerRecord& seller) {
  const std::int64_t first = SellerNumber(seller[SellerRecord::FirstCoupon]);
  const std::int64_t last = SellerNumber(seller[SellerRecord::LastCoupon]);
  if (last < first) return 0;
  const std::uint64_t span = static_cast<std::uint64_t>(last) - static_cast<std::uint64_t>(first);
  return span == UINT64_MAX ? span : span + 1;
}

namespace {

tk::FolderItem sellerList() { return tk::GetFolderItem(QString()).Child(SellerListFile); }
tk::FolderItem couponMap() { return tk::GetFolderItem(QString()).Child(CouponMapFile); }

bool writeCouponEntries(tk::TextOutputStream& out, const SellerRecord& seller) {
  bool ok = true;
  ForEachCouponEntry(seller, [&](const QString& line) { return ok = out.WriteLine(line); });
  return ok;
}

// Writes a whole file through a temporary file; true once it replaced the old one.
bool replaceFile(const tk::FolderItem& file, const std::function<bool(tk::TextOutputStream&)>& fill) {
  auto out = file.CreateTextFile();
  if (!out) return false;
  fill(*out);
  return out->Close();
}

}  // namespace

bool AppendSeller(const SellerRecord& seller) {
  const tk::FolderItem list = sellerList();
  const tk::FolderItem map = couponMap();
  auto listOut = list.AppendToTextFile();
  if (!listOut) return false;
  auto mapOut = map.AppendToTextFile();
  if (!mapOut) return false;  // nothing written yet
  listOut->WriteLine(SellerLine(seller));
  if (!listOut->Close()) {
    list.Truncate(listOut->SizeAtOpen());
    return false;
  }
  writeCouponEntries(*mapOut, seller);
  if (mapOut->Close()) return true;
  // A seller line without its coupons would book nothing: take both back.
  map.Truncate(mapOut->SizeAtOpen());
  list.Truncate(listOut->SizeAtOpen());
  return false;
}

bool ReplaceSellerFiles(const std::vector<SellerRecord>& sellers) {
  const tk::FolderItem list = sellerList();
  const tk::FolderItem map = couponMap();
  const bool listExisted = list.Exists();
  QByteArray listBefore;
  if (listExisted) {
    auto in = list.OpenAsTextFile();
    if (!in) return false;  // it could not be put back
    listBefore = in->Bytes();
  }
  const bool listWritten = replaceFile(list, [&](tk::TextOutputStream& out) {
    for (const SellerRecord& s : sellers)
      if (!out.WriteLine(SellerLine(s))) return false;
    return true;
  });
  if (!listWritten) return false;
  const bool mapWritten = replaceFile(map, [&](tk::TextOutputStream& out) {
    for (const SellerRecord& s : sellers)
      if (!writeCouponEntries(out, s)) return false;
    return true;
  });
  if (mapWritten) return true;
  // A seller list without its coupon map would not book what it says.
  if (listExisted) list.ReplaceWithBytes(listBefore);
  else list.Delete();
  return false;
}

bool SellerFilesReset() { return ReplaceSellerFiles({}); }

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
