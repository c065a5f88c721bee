#include "reports/sellercards.h"

#include <QStringList>

#include "core/salesfiles.h"
#include "rtf/rtfdocument.h"
#include "rtf/rtfescape.h"

namespace {

// The 33 lines of one card; every text of the seller goes through the
// encoder.
bool writeCard(tk::TextOutputStream& out, const SellerRecord& seller) {
  const QStringList lines{
      QStringLiteral("{\\pard"),
      QStringLiteral("\\qc"),
      QStringLiteral("\\b\\f0\\fs120"),
      RtfEscape(seller[SellerRecord::Name]),
      QStringLiteral("\\par}"),
      QStringLiteral("{\\pard"),
      QStringLiteral("\\qc"),
      QStringLiteral("\\b\\f0\\fs40"),
      RtfEscape(seller[SellerRecord::Email]),
      QStringLiteral("\\line"),
      RtfEscape(seller[SellerRecord::Address]),
      QStringLiteral("\\line"),
      RtfEscape(seller[SellerRecord::PostalCode] + QStringLiteral("  ") + seller[SellerRecord::Town]),
      QStringLiteral("\\par}"),
      QStringLiteral("{\\pard"),
      QStringLiteral("\\qc"),
      QStringLiteral("\\b\\f0\\fs80"),
      QStringLiteral("\\line"),
      QStringLiteral("Vendeur n\\'b0 "),
      RtfEscape(seller[SellerRecord::Code]),
      QStringLiteral("\\line"),
      QStringLiteral("\\par}"),
      QStringLiteral("{\\pard"),
      QStringLiteral("\\qc"),
      QStringLiteral("\\b\\f0\\fs60"),
      QStringLiteral(" Coupons"),
      QStringLiteral("\\par}"),
      QStringLiteral("{\\pard"),
      QStringLiteral("\\qc"),
      QStringLiteral("\\b\\f0\\fs160"),
      RtfEscape(seller[SellerRecord::FirstCoupon] + QStringLiteral(" - ") + seller[SellerRecord::LastCoupon]),
      QStringLiteral("\\par}"),
      QStringLiteral("\\page"),
  };
  return out.WriteLines(lines);
}

}  // namespace

std::optional<tk::FolderItem> WriteSellerCards(const std::vector<SellerRecord>& sellers) {
  const tk::FolderItem file = DataFile(SellerCardsFile);
  auto out = file.CreateTextFile();
  if (!out) return std::nullopt;
  bool ok = WriteRtfHeader(*out, RtfDocument::SellerCards);
  for (const SellerRecord& seller : sellers) ok = ok && writeCard(*out, seller);
  ok = ok && WriteRtfEnd(*out);
  if (!out->Close() || !ok) return std::nullopt;
  return file;
}
