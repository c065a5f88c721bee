#include "reports/sellercards.h"

#include "core/salesfiles.h"
#include "core/sellerformat.h"
#include "rtf/rtfdocument.h"
#include "rtf/rtfescape.h"

namespace {

// The 33 lines of one card; every text of the seller goes through the
// encoder.
bool writeCard(tk::TextOutputStream& out, const QStringList& row) {
  const auto field = [&](int column) { return row.value(column); };
  const QStringList lines{
      QStringLiteral("{\\pard"),
      QStringLiteral("\\qc"),
      QStringLiteral("\\b\\f0\\fs120"),
      RtfEscape(field(0)),
      QStringLiteral("\\par}"),
      QStringLiteral("{\\pard"),
      QStringLiteral("\\qc"),
      QStringLiteral("\\b\\f0\\fs40"),
      RtfEscape(field(3)),
      QStringLiteral("\\line"),
      RtfEscape(field(2)),
      QStringLiteral("\\line"),
      RtfEscape(field(4) + QStringLiteral("  ") + field(5)),
      QStringLiteral("\\par}"),
      QStringLiteral("{\\pard"),
      QStringLiteral("\\qc"),
      QStringLiteral("\\b\\f0\\fs80"),
      QStringLiteral("\\line"),
      QStringLiteral("Vendeur n\\'b0 "),
      RtfEscape(field(1)),
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
      RtfEscape(field(6) + QStringLiteral(" - ") + field(7)),
      QStringLiteral("\\par}"),
      QStringLiteral("\\page"),
  };
  return out.WriteLines(lines);
}

}  // namespace

std::optional<std::vector<QStringList>> ReadSellerCardRows() {
  const auto sellers = ReadSellerList();
  if (!sellers) return std::nullopt;
  std::vector<QStringList> rows;
  rows.reserve(sellers->size());
  for (const SellerRecord& s : *sellers) {
    QStringList row;
    for (int k = 0; k < SellerCardColumns; ++k) row << s.fields[static_cast<std::size_t>(k)];
    rows.push_back(row);
  }
  return rows;
}

std::optional<tk::FolderItem> WriteSellerCards(const std::vector<QStringList>& rows) {
  const tk::FolderItem file = DataFile(SellerCardsFile);
  auto out = file.CreateTextFile();
  if (!out) return std::nullopt;
  bool ok = WriteRtfHeader(*out, RtfDocument::SellerCards);
  for (const QStringList& row : rows) ok = ok && writeCard(*out, row);
  ok = ok && WriteRtfEnd(*out);
  if (!out->Close() || !ok) return std::nullopt;
  return file;
}
