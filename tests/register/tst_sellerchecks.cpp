#include <QTest>

#include "register/sellerchecks.h"

namespace {
SellerRecord seller(const QString& name, const QString& code, const QString& first, const QString& last) {
  SellerRecord s;
  s[SellerRecord::Name] = name;
  s[SellerRecord::Code] = code;
  s[SellerRecord::FirstCoupon] = first;
  s[SellerRecord::LastCoupon] = last;
  s[SellerRecord::Tanks] = "0";
  s[SellerRecord::LedRamps] = "0";
  return s;
}
}  // namespace

Q_DECLARE_METATYPE(SellerRecord)

// The window tests show each message once; these are the edges between
// what is accepted and what is refused, and others that break the rules.
class TestSellerChecks : public QObject {
  Q_OBJECT
 private slots:
  void refusal_data() {
    QTest::addColumn<SellerRecord>("typed");
    QTest::addColumn<QString>("message");  // empty: accepted
    const QString comma = QString::fromUtf8("Les champs ne doivent contenir ni virgule ni retour à la ligne!");
    const QString code =
        QString::fromUtf8("Le code vendeur doit être un nombre entier de 1 à 99999, sans zéro en tête!");
    const QString coupons = QString::fromUtf8(
        "Les numéros de coupons doivent être des nombres entiers de 1 à 999999999, le premier ne dépassant pas le "
        "dernier!");
    // Registered: Aquaflore 1 (1 to 25), Ancien 07 (100 to 199), Vieux abc
    // (empty range), Inverse 9 (300 to 250), Enorme 12 (1000000 to 999999998).
    QTest::newRow("highest code, adjacent range") << seller("B", "99999", "26", "99") << QString();
    QTest::newRow("exactly 10000 coupons") << seller("B", "2", "200", "10199") << QString();
    QTest::newRow("highest coupon") << seller("B", "2", "999999999", "999999999") << QString();
    QTest::newRow("leading zeros in coupons") << seller("B", "2", "0026", "030") << QString();
    QTest::newRow("blanks around the name") << seller("  B  ", "2", "26", "30") << QString();
    QTest::newRow("inside a reversed range") << seller("B", "2", "260", "290") << QString();
    QTest::newRow("code 12 after 07") << seller("B", "13", "26", "30") << QString();

    QTest::newRow("name before every other fault") << seller("", "07", "9", "1") << "Le nom du vendeur est obligatoire!";
    SellerRecord lineBreak = seller("B", "2", "26", "30");
    lineBreak[SellerRecord::Address] = "Rue 1\nBourg";
    QTest::newRow("line break") << lineBreak << comma;
    SellerRecord carriage = seller("B", "2", "26", "30");
    carriage[SellerRecord::Email] = "b@x.ch\r";
    QTest::newRow("carriage return") << carriage << comma;
    QTest::newRow("six digits") << seller("B", "000001", "26", "30") << code;
    QTest::newRow("exponent") << seller("B", "1e3", "26", "30") << code;
    QTest::newRow("blank before") << seller("B", " 2", "26", "30") << code;
    QTest::newRow("code of 19 digits") << seller("B", "1000000000000000000", "26", "30") << code;
    QTest::newRow("code beyond 64 bits") << seller("B", "99999999999999999999", "26", "30") << code;
    QTest::newRow("same number as a stored 07")
        << seller("B", "7", "26", "30") << QString::fromUtf8("Le code vendeur 7 est déjà attribué à Ancien!");
    QTest::newRow("blank in a coupon") << seller("B", "2", " 26", "30") << coupons;
    QTest::newRow("first empty") << seller("B", "2", "", "30") << coupons;
    QTest::newRow("coupon beyond 64 bits") << seller("B", "2", "26", "99999999999999999999") << coupons;
    QTest::newRow("one past 10000 coupons")
        << seller("B", "2", "200", "10200") << QStringLiteral("Un vendeur ne peut pas recevoir plus de 10000 coupons!");
    QTest::newRow("overlap written with a leading zero")
        << seller("B", "2", "025", "30") << QString::fromUtf8("Les coupons 025 à 30 chevauchent ceux de Aquaflore (1 à 25)!");
    QTest::newRow("inside a huge stored range")
        << seller("B", "2", "5000000", "5000010")
        << QString::fromUtf8("Les coupons 5000000 à 5000010 chevauchent ceux de Enorme (1000000 à 999999998)!");
  }
  void refusal() {
    QFETCH(SellerRecord, typed);
    QFETCH(QString, message);
    const std::vector<SellerRecord> others{
        seller("Aquaflore", "1", "1", "25"),    seller("Ancien", "07", "100", "199"),
        seller("Vieux", "abc", "", ""),          seller("Inverse", "9", "300", "250"),
        seller("Enorme", "12", "1000000", "999999998")};
    QCOMPARE(SellerRefusal(typed, others), message);
  }
};

QTEST_GUILESS_MAIN(TestSellerChecks)
#include "tst_sellerchecks.moc"
