#include "reports/sellercards.h"

#include "core/rules.h"
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
  for (const QString& line : lines)
    if (!out.WriteLine(line)) return false;
  return true;
}

}  // namespace

std::optional<std::vector<QStringList>> ReadSellerCardRows() {
  auto in = DataFile(SellerListFile).OpenAsTextFile();
  if (!in) return std::nullopt;
  std::vector<QStringList> rows;
  while (!in->IsEOF()) rows.push_back(CsvFields(in->ReadLine(), SellerCardColumns));
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
