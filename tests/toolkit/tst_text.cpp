#include <QTest>
#include <cmath>
#include <limits>

#include "support/datafolder.h"
#include "toolkit/text.h"

using tk::ApplyFormat;
using tk::Round;
using tk::Str;
using tk::Val;

class TestText : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase() {
    if (testing::frenchRunExpected()) QVERIFY2(testing::frenchLocaleActive(), "the French locale is not installed");
  }

  void str_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("zero") << 0.0 << "0";
    QTest::newRow("negative zero") << -0.0 << "0";
    QTest::newRow("whole") << 12.0 << "12";
    QTest::newRow("negative whole") << -3.0 << "-3";
    QTest::newRow("rate") << 0.1 << "0.1";
    QTest::newRow("fraction") << 0.125 << "0.125";
    QTest::newRow("100 x 0.07") << 100 * 0.07 << "7";
    QTest::newRow("0.1 + 0.2") << 0.1 + 0.2 << "0.3";
    QTest::newRow("amount") << 12.34 << "12.34";
    QTest::newRow("sum of amounts") << 10.0 + 2.34 << "12.34";
    QTest::newRow("negative amount") << -4.5 << "-4.5";
    QTest::newRow("small") << 0.00001 << "0.00001";
    QTest::newRow("large") << 123456789012.5 << "123456789012.5";
    QTest::newRow("15 digits") << 1234567.89012345 << "1234567.89012345";
    QTest::newRow("beyond 15 digits") << 1.0 / 3.0 << "0.333333333333333";
    QTest::newRow("1e20 plain") << 1e20 << "100000000000000000000";
    QTest::newRow("huge keeps exponent") << 1.5e25 << "1.5e25";
  }
  void str() {
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(Str(value), text);
    // What Str writes, Val reads back (to the 15 digits written).
    QVERIFY(std::abs(Val(Str(value)) - value) <= std::abs(value) * 1e-14);
  }

  void strWhole() {
    QCOMPARE(Str(std::int64_t(0)), QString("0"));
    QCOMPARE(Str(std::int64_t(-7)), QString("-7"));
    QCOMPARE(Str(std::numeric_limits<std::int64_t>::max()), QString("9223372036854775807"));
  }

  void val_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("word") << "abc" << 0.0;
    QTest::newRow("whole") << "12" << 12.0;
    QTest::newRow("decimal") << "12.5" << 12.5;
    QTest::newRow("leading blanks") << "   7.25" << 7.25;
    QTest::newRow("plus sign") << "+3" << 3.0;
    QTest::newRow("minus sign") << "-2.5" << -2.5;
    QTest::newRow("trailing text") << "12abc" << 12.0;
    QTest::newRow("trailing blank") << "12 " << 12.0;
    QTest::newRow("percent") << "12.5%" << 12.5;
    QTest::newRow("comma stops") << "12,5" << 12.0;
    QTest::newRow("point first") << ".5" << 0.5;
    QTest::newRow("point last") << "7." << 7.0;
    QTest::newRow("exponent") << "1.5e3" << 1500.0;
    QTest::newRow("negative exponent") << "25E-1" << 2.5;
    QTest::newRow("exponent without digits") << "3e" << 3.0;
    QTest::newRow("sign alone") << "-" << 0.0;
    QTest::newRow("point alone") << "." << 0.0;
    QTest::newRow("hexadecimal") << "0x1A" << 0.0;
    QTest::newRow("infinity") << "inf" << 0.0;
    QTest::newRow("nan") << "nan" << 0.0;
    QTest::newRow("overflow") << "1e400" << 0.0;
    QTest::newRow("leading zero") << "07" << 7.0;
    QTest::newRow("arabic-indic digits") << QString::fromUtf8("\u0663") << 0.0;
  }
  void val() {
    QFETCH(QString, text);
    QFETCH(double, value);
    const double v = Val(text);
    QVERIFY(std::isfinite(v));
    QCOMPARE(v, value);
    QVERIFY(!std::signbit(Val("-0")));
  }

  void round_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("rounded");
    QTest::newRow("down") << 2.4 << 2.0;
    QTest::newRow("up") << 2.6 << 3.0;
    QTest::newRow("half up") << 2.5 << 3.0;
    QTest::newRow("half away from zero") << -2.5 << -3.0;
    QTest::newRow("negative down") << -2.4 << -2.0;
    QTest::newRow("15 % of 4.50, x20") << 0.15 * 4.5 * 20 << 14.0;
    QTest::newRow("10 % of 12.34, x20") << 0.1 * 12.34 * 20 << 25.0;
    QTest::newRow("10 % of 12.34, x10") << 0.1 * 12.34 * 10 << 12.0;
    QTest::newRow("10 % of 1.25, x20") << 0.1 * 1.25 * 20 << 3.0;
    QTest::newRow("just below a half") << 2.4999 << 2.0;
    QTest::newRow("zero") << 0.0 << 0.0;
    QTest::newRow("small negative") << -0.3 << 0.0;
  }
  void round() {
    QFETCH(double, value);
    QFETCH(double, rounded);
    QCOMPARE(Round(value), rounded);
    QVERIFY(!std::signbit(Round(-0.3)));
  }

  void amountFormat_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");
    QTest::newRow("empty stays empty") << "" << "";
    QTest::newRow("whole") << "7" << "7.00";
    QTest::newRow("one decimal") << "12.5" << "12.50";
    QTest::newRow("decimal comma") << "12,5" << "12.50";
    QTest::newRow("below one") << ".5" << "0.50";
    QTest::newRow("zero") << "0" << "0.00";
    QTest::newRow("negative") << "-3.2" << "-3.20";
    QTest::newRow("tiny negative rounds to zero") << "-0.004" << "0.00";
    QTest::newRow("five integer digits") << "12345.6" << "12345.60";
    QTest::newRow("half cent up") << "1.005" << "1.01";
    QTest::newRow("half cent away from zero") << "-1.005" << "-1.01";
    QTest::newRow("more decimals") << "2.344" << "2.34";
    QTest::newRow("not a number") << "abc" << "0.00";
    QTest::newRow("blanks") << "  " << "0.00";
    QTest::newRow("already formatted") << "12.50" << "12.50";
    QTest::newRow("plain sum") << Str(10.0 + 2.34) << "12.34";
  }
  void amountFormat() {
    QFETCH(QString, text);
    QFETCH(QString, shown);
    QCOMPARE(ApplyFormat(tk::AmountFormat, text), shown);
    QCOMPARE(ApplyFormat(tk::AmountFormat, shown), shown);  // idempotent
    QCOMPARE(ApplyFormat(QString(), text), text);           // no format, no change
  }

  void splitAndTrim() {
    QCOMPARE(tk::Split("a,,b"), QStringList({"a", "", "b"}));
    QCOMPARE(tk::Split(""), QStringList({""}));
    QCOMPARE(tk::Split("a,b,"), QStringList({"a", "b", ""}));
    QCOMPARE(tk::Trim("  Aquaflore \t"), QString("Aquaflore"));
  }
};

QTEST_GUILESS_MAIN(TestText)
#include "tst_text.moc"
