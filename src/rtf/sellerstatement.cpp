#include "rtf/sellerstatement.h"

#include "core/rules.h"
#include "rtf/rtfdocument.h"
#include "toolkit/text.h"

SellerStatement StatementOf(const SellerRecord& seller, std::vector<SaleEntry> sales, const SellerAccount& account,
                            const QString& date) {
  SellerStatement s;
  s.name = seller[SellerRecord::Name];
  s.address = seller[SellerRecord::Address];
  s.postalCode = seller[SellerRecord::PostalCode];
  s.town = seller[SellerRecord::Town];
  s.sellerCode = seller[SellerRecord::Code];
  s.gross = AmountFormatter(tk::Str(account.gross));
  s.commission = AmountFormatter(tk::Str(account.commission));
  s.fees = AmountFormatter(account.FeesText());
  s.net = AmountFormatter(tk::Str(account.net));
  s.date = date;
  SortByCouponNumber(sales);
  s.coupons.reserve(sales.size());
  for (const SaleEntry& sale : sales) s.coupons.push_back({sale.coupon, sale.amount});
  return s;
}

std::optional<QString> SellerStatementFileName(const QString& sellerCode) {
  if (sellerCode.isEmpty() || sellerCode.contains(QLatin1Char('/')) || sellerCode.contains(QChar(u'\0')))
    return std::nullopt;
  return QStringLiteral("vendeur_") + sellerCode + QStringLiteral(".rtf");
}

std::optional<tk::FolderItem> WriteSellerStatement(const SellerStatement& statement) {
  const std::optional<QString> name = SellerStatementFileName(statement.sellerCode);
  if (!name) return std::nullopt;
  const tk::FolderItem file = DataFile(*name);
  auto out = file.CreateTextFile();
  if (!out) return std::nullopt;
  const bool written =
      WriteRtfHeader(*out, RtfDocument::Statement) && StatementWriter(*out, statement) && WriteRtfEnd(*out);
  const bool committed = out->Close();  // puts the file in place only when all was written
  if (!written || !committed) return std::nullopt;
  return file;
}
