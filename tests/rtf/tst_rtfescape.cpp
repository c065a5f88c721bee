#include <QTest>

#include "rtf/rtfescape.h"

namespace {

// Where the RTF text breaks the rules of the files: a byte above 127, a
// control character, a brace or backslash that opens a group or a control
// word instead of standing for itself. Empty when it is sound.
QString fault(const QString& rtf) {
  for (qsizetype i = 0; i < rtf.size(); ++i) {
    const char16_t c = rtf.at(i).unicode();
    if (c < 0x20 || c > 0x7E) return QString("character %1 at %2").arg(int(c)).arg(i);
    if (c == u'{' || c == u'}') return QString("bare brace at %1").arg(i);
    if (c != u'\\') continue;
    const QString rest = rtf.mid(i + 1);
    if (rest.startsWith('\\') || rest.startsWith('{') || rest.startsWith('}')) {
      ++i;
    } else if (rest.size() >= 3 && rest.at(0) == '\'' && QString("0123456789abcdef").contains(rest.at(1)) &&
               QString("0123456789abcdef").contains(rest.at(2))) {
      i += 3;
    } else if (rest.startsWith('u')) {
      qsizetype j = 1;
      if (j < rest.size() && rest.at(j) == '-') ++j;
      const qsizetype digits = j;
      while (j < rest.size() && rest.at(j).isDigit()) ++j;
      if (j == digits || j >= rest.size() || rest.at(j) != '?') return QString("bad \\u at %1").arg(i);
      const int n = rest.mid(1, j - 1).toInt();
      if (n < -32768 || n > 32767) return QString("\\u out of range at %1").arg(i);
      i += j + 1;
    } else {
      return QString("bare backslash at %1").arg(i);
    }
  }
  return {};
}

}  // namespace

class TestRtfEscape : public QObject {
  Q_OBJECT
 private slots:
  void escapes_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("rtf");
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("plain ascii") << "Rue des Lilas 12, B-1000 \"Ixelles\" (50%)!"
                                 << "Rue des Lilas 12, B-1000 \"Ixelles\" (50%)!";
    QTest::newRow("the fourteen letters") << QString::fromUtf8("àéèùâîêûäïöüôë")
                                          << "\\'e0\\'e9\\'e8\\'f9\\'e2\\'ee\\'ea\\'fb\\'e4\\'ef\\'f6\\'fc\\'f4\\'eb";
    QTest::newRow("a letter again and again") << QString::fromUtf8("éééé") << "\\'e9\\'e9\\'e9\\'e9";
    QTest::newRow("capital") << QString::fromUtf8("École") << "\\'c9cole";
    QTest::newRow("cedilla") << QString::fromUtf8("Français") << "Fran\\'e7ais";
    QTest::newRow("oe") << QString::fromUtf8("cœur") << "c\\'9cur";
    QTest::newRow("euro") << QString::fromUtf8("5 €") << "5 \\'80";
    QTest::newRow("apostrophe") << QString::fromUtf8("l’île") << "l\\'92\\'eele";
    QTest::newRow("ends of the code page") << QString::fromUtf8("\u00a0ÿŸ") << "\\'a0\\'ff\\'9f";
    QTest::newRow("braces") << "{x}"
                            << "\\{x\\}";
    QTest::newRow("backslash") << "a\\b"
                               << "a\\\\b";
    QTest::newRow("typed control word") << "\\page"
                                        << "\\\\page";
    QTest::newRow("cjk") << QString::fromUtf8("中") << "\\u20013?";
    QTest::newRow("above 32767 is negative") << QString::fromUtf8("ﬁ") << "\\u-1279?";
    QTest::newRow("emoji, both halves") << QString::fromUtf8("😀") << "\\u-10179?\\u-8704?";
    QTest::newRow("combining accent") << QString::fromUtf8("e\u0301") << "\\'e9";
    QTest::newRow("combining accent on a capital") << QString::fromUtf8("E\u0300") << "\\'c8";
    QTest::newRow("control characters") << QString::fromUtf8("a\tb\nc\r\u007f\u0085\u0081d") << "abcd";
    QTest::newRow("nul") << QString("a") + QChar(0) + "b"
                         << "ab";
    QTest::newRow("half a pair") << QString(QChar(0xD800)) + "x"
                                 << "\\u-3?x";
  }
  void escapes() {
    QFETCH(QString, text);
    QFETCH(QString, rtf);
    const QString before = text;
    QCOMPARE(RtfEscape(text), rtf);
    QCOMPARE(text, before);
    QCOMPARE(fault(RtfEscape(text)), QString());
  }

  // What the checker above calls a fault is one.
  void checkerSeesFaults_data() {
    QTest::addColumn<QString>("rtf");
    QTest::newRow("brace") << "a{b";
    QTest::newRow("control word") << "\\par";
    QTest::newRow("accent") << QString::fromUtf8("é");
    QTest::newRow("upper-case hex") << "\\'E9";
    QTest::newRow("unicode without fallback") << "\\u233";
    QTest::newRow("line end") << "a\nb";
  }
  void checkerSeesFaults() {
    QFETCH(QString, rtf);
    QVERIFY(!fault(rtf).isEmpty());
  }

  // Every character of the first 64K as text between others: the output is
  // always sound, so no text can break a file.
  void everyCharacterIsSound() {
    for (int c = 0; c <= 0xFFFF; ++c) {
      const QString text = QString("a") + QChar(char16_t(c)) + "\\{";
      const QString f = fault(RtfEscape(text));
      if (!f.isEmpty()) QFAIL(qPrintable(QString("U+%1: %2").arg(c, 4, 16, QChar('0')).arg(f)));
    }
  }
};

QTEST_APPLESS_MAIN(TestRtfEscape)
#include "tst_rtfescape.moc"
