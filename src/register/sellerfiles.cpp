#include "register/sellerfiles.h"

#include "core/salesfiles.h"
#include "storage/filechange.h"
#include "toolkit/text.h"

namespace {

tk::FolderItem sellerList() { return DataFile(SellerListFile); }
tk::FolderItem couponMap() { return DataFile(CouponMapFile); }

// The coupon map lines of these sellers, as one part of a change.
storage::FileWrite couponEntriesInto(const tk::FolderItem& map, const std::vector<SellerRecord>& sellers) {
  storage::FileWrite part{map, {}};
  for (const SellerRecord& s : sellers) {
    ForEachCouponEntry(s, [&](const QString& line) {
      part.bytes += line.toUtf8();
      part.bytes += '\n';
      return true;
    });
  }
  return part;
}

}  // namespace

// A seller line without its coupons would book nothing, and coupons without
// their seller line would not be what the list says: both or neither.
bool AppendSeller(const SellerRecord& seller) {
  return storage::AppendAsOne({storage::LinesInto(sellerList(), {SellerLine(seller)}), couponEntriesInto(couponMap(), {seller})});
}

storage::Replaced ReplaceSellerFiles(const std::vector<SellerRecord>& sellers) {
  QStringList lines;
  for (const SellerRecord& s : sellers) lines << SellerLine(s);
  return storage::ReplaceAsOne({storage::LinesInto(sellerList(), lines), couponEntriesInto(couponMap(), sellers)});
}

bool SellerFilesReset() { return ReplaceSellerFiles({}) == storage::Replaced::All; }

