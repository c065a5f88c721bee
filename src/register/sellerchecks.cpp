#include "register/sellerchecks.h"

#include <QRegularExpression>

#include "toolkit/text.h"

namespace {

constexpr std::int64_t MaxCouponNumber = 999999999;

// Plain decimal digits only: no blank, sign, point or exponent.
bool allDigits(const QString& text) {
  static const QRegularExpression digits(QStringLiteral("^[0-9]+$"));
  return digits.match(text).hasMatch();
}

// A seller code names the seller's sales file: only its plain decimal text
// gives the same seller everywhere, hence no leading zero. Digits beyond
// 64 bits read as 0.
bool plainCode(const QString& text) {
  if (!allDigits(text) || text.startsWith(QLatin1Char('0'))) return false;
  const std::int64_t n = SellerNumber(text);
  return n >= 1 && n <= HighestSellerCode;
}

bool couponNumber(const QString& text) {
  if (!allDigits(text)) return false;
  const std::int64_t n = SellerNumber(text);
  return n >= 1 && n <= MaxCouponNumber;
}

}  // namespace

QString SellerRefusal(const SellerRecord& typed, const std::vector<SellerRecord>& others) {
  using F = SellerRecord;
  if (tk::Trim(typed[F::Name]).isEmpty()) return QStringLiteral("Le nom du vendeur est obligatoire!");

  for (const QString& field : typed.fields)
    if (field.contains(QLatin1Char(',')) || field.contains(QLatin1Char('\n')) || field.contains(QLatin1Char('\r')))
      return QStringLiteral("Les champs ne doivent contenir ni virgule ni retour à la ligne!");

  const QString& code = typed[F::Code];
  if (!plainCode(code))
    return QStringLiteral("Le code vendeur doit être un nombre entier de 1 à ") + tk::Str(HighestSellerCode) +
           QStringLiteral(", sans zéro en tête!");
  // Compared as numbers: a code stored as 07 books to the same sales file as 7.
  const std::int64_t number = SellerNumber(code);
  for (const SellerRecord& other : others)
    if (SellerNumber(other[F::Code]) == number)
      return QStringLiteral("Le code vendeur ") + code + QStringLiteral(" est déjà attribué à ") + other[F::Name] +
             QStringLiteral("!");

  const QString& firstText = typed[F::FirstCoupon];
  const QString& lastText = typed[F::LastCoupon];
  if (!couponNumber(firstText) || !couponNumber(lastText) || SellerNumber(firstText) > SellerNumber(lastText))
    return QStringLiteral("Les numéros de coupons doivent être des nombres entiers de 1 à ") +
           tk::Str(MaxCouponNumber) + QStringLiteral(", le premier ne dépassant pas le dernier!");
  if (CouponEntryCount(typed) > MaxCouponsPerSeller)
    return QStringLiteral("Un vendeur ne peut pas recevoir plus de ") +
           tk::Str(static_cast<std::int64_t>(MaxCouponsPerSeller)) + QStringLiteral(" coupons!");

  // Ranges meet when the coupon map would give one number to two sellers;
  // an other seller's range is read the way the coupon map is written.
  const std::int64_t first = SellerNumber(firstText);
  const std::int64_t last = SellerNumber(lastText);
  for (const SellerRecord& other : others) {
    if (CouponEntryCount(other) == 0) continue;
    const std::int64_t otherFirst = SellerNumber(other[F::FirstCoupon]);
    const std::int64_t otherLast = SellerNumber(other[F::LastCoupon]);
    if (first <= otherLast && otherFirst <= last)
      return QStringLiteral("Les coupons ") + firstText + QStringLiteral(" à ") + lastText +
             QStringLiteral(" chevauchent ceux de ") + other[F::Name] + QStringLiteral(" (") +
             other[F::FirstCoupon] + QStringLiteral(" à ") + other[F::LastCoupon] + QStringLiteral(")!");
  }
  return QString();
}
