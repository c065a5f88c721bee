#include "register/sellerfiles.h"

#include "toolkit/files.h"
#include "toolkit/text.h"

namespace {

tk::FolderItem sellerList() { return tk::GetFolderItem(QString()).Child(SellerListFile); }
tk::FolderItem couponMap() { return tk::GetFolderItem(QString()).Child(CouponMapFile); }

bool writeCouponEntries(tk::TextOutputStream& out, const SellerRecord& seller) {
  bool ok = true;
  ForEachCouponEntry(seller, [&](const QString& line) { return ok = out.WriteLine(line); });
  return ok;
}

// The coupon map lines of these sellers, as one part of a write.
tk::FileWrite couponEntriesInto(const tk::FolderItem& map, std::vector<SellerRecord> sellers) {
  return {map, [sellers = std::move(sellers)](tk::TextOutputStream& out) {
            for (const SellerRecord& s : sellers)
              if (!writeCouponEntries(out, s)) return false;
            return true;
          }};
}

}  // namespace

// A seller line without its coupons would book nothing, and coupons without
// their seller line would not be what the list says: both or neither.
bool AppendSeller(const SellerRecord& seller) {
  return tk::AppendAsOne({tk::LinesInto(sellerList(), {SellerLine(seller)}), couponEntriesInto(couponMap(), {seller})});
}

bool ReplaceSellerFiles(const std::vector<SellerRecord>& sellers) {
  QStringList lines;
  for (const SellerRecord& s : sellers) lines << SellerLine(s);
  return tk::ReplaceAsOne({tk::LinesInto(sellerList(), lines), couponEntriesInto(couponMap(), sellers)}) ==
         tk::Replaced::All;
}

bool SellerFilesReset() { return ReplaceSellerFiles({}); }
