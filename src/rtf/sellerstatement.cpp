#include "rtf/sellerstatement.h"

#include "core/salesfiles.h"
#include "rtf/rtfdocument.h"

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
