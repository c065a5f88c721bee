#include "core/salesfiles.h"

#include "toolkit/text.h"

tk::FolderItem DataFile(const QString& name) { return tk::GetFolderItem(QString()).Child(name); }

QString SellerSalesFile(std::int64_t sellerNumber) {
  return QStringLiteral("vendeur_") + tk::Str(sellerNumber) + QStringLiteral(".csv");
}

QString SalesJournalFile(int year) { return QStringLiteral("OVKB") + tk::Str(year) + QStringLiteral("_main.csv"); }

QString SaleEntry::Line() const { return coupon + QLatin1Char(',') + amount; }
