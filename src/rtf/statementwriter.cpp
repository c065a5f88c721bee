#include "rtf/statementwriter.h"

#include <QStringList>

#include "rtf/rtfescape.h"

namespace {

// The ten cell boundaries of every table row; the readers widen the cells.
void cellBoundaries(QStringList& lines) {
  for (int i = 1; i <= 10; ++i) lines << QStringLiteral("\\cellx") + QString::number(i);
}

void couponTable(QStringList& lines, const std::vector<StatementCoupon>& coupons) {
  lines << QStringLiteral("\\par") << QStringLiteral("\\fs20\\trowd\\trhdr \\qr") << QStringLiteral("\\trautofit1")
        << QStringLiteral("\\intbl");
  cellBoundaries(lines);
  lines << QStringLiteral(
               "{\\cell Coupon\\cell Valeur\\cell\\cell Coupon\\cell Valeur\\cell\\cell Coupon\\cell Valeur\\cell "
               "\\cell}")
        << QStringLiteral("\\row") << QString();
  const std::size_t n = coupons.size();
  for (std::size_t l = 0; l < n; l += 3) {
    QString row = QStringLiteral("{");
    for (std::size_t k = l; k < l + 3; ++k) {
      // The missing pairs of the last row are empty cells.
      const bool present = k < n;
      row += QStringLiteral("\\cell ") + (present ? RtfEscape(coupons[k].number) : QString()) +
             QStringLiteral("\\cell ") + (present ? RtfEscape(coupons[k].value) : QString()) +
             QStringLiteral("\\cell ");
    }
    row += QStringLiteral("\\cell}");
    lines << QStringLiteral("\\trowd\\trautofit1") << QStringLiteral("\\intbl");
    cellBoundaries(lines);
    lines << row << QStringLiteral("\\row") << QString();
  }
}

}  // namespace

bool StatementWriter(tk::TextOutputStream& out, const SellerStatement& s, StatementBlock block) {
  const QString pard = QStringLiteral("{\\pard");
  const QString ql = QStringLiteral("\\ql");
  const QString bold12 = QStringLiteral("\\b\\f0\\fs24");
  const QString line = QStringLiteral("\\line");
  const QString parEnd = QStringLiteral("\\par}");
  const QString twoTabs = QStringLiteral("\\tx576\\tx5184");
  const QString tab = QStringLiteral("\\tab ");
  QStringList lines;

  // Name.
  lines << QStringLiteral("{\\par") << ql << QStringLiteral("\\b\\f0\\fs40") << RtfEscape(s.name) << parEnd
        << QString();
  // Address.
  lines << pard << ql << bold12 << RtfEscape(s.address) << line
        << RtfEscape(s.postalCode) + QStringLiteral("  ") + RtfEscape(s.town) << line << line << parEnd << QString();
  // Seller code.
  lines << pard << ql << QStringLiteral("\\b\\i\\f0\\fs30") << QStringLiteral("Vendeur  ") << RtfEscape(s.sellerCode)
        << line << parEnd << QString();
  // Totals.
  lines << pard << ql << QStringLiteral("\\b\\f0\\fs30") << QStringLiteral("\\tx576\\tx2300\\tx5184\\tx6900")
        << QStringLiteral("\\tab Total \\tab Commission \\tab Frais \\tab En votre faveur")
        << QStringLiteral("\\line \\b")
        << tab + RtfEscape(s.gross) + tab + RtfEscape(s.commission) + tab + RtfEscape(s.fees) + tab + RtfEscape(s.net)
        << parEnd << QString();
  // Date and receipt.
  lines << pard << ql << bold12 << twoTabs << line
        << QStringLiteral("\\tab Date: ") + RtfEscape(s.date) + QStringLiteral("\\tab Quittance:") << line << line
        << parEnd;
  if (block == StatementBlock::Single) lines << QString();
  // The order of the coupons.
  lines << pard << ql << bold12 << twoTabs << line
        << QStringLiteral("\\tab Les coupons sont par num\\'e9ro croissant de gauche \\'e0 droite") << line << line
        << parEnd << QString();
  couponTable(lines, s.coupons);

  return out.WriteLines(lines);
}
