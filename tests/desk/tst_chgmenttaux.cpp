#include <QDir>
#include <QTest>

#include "core/module1.h"
#include "desk/chgmenttaux.h"
#include "support/describe.h"
#include "support/harness.h"
#include "toolkit/text.h"
#include "toolkit/window.h"

namespace {
const QString CannotWrite = QStringLiteral("impossible d'écrire le fichier modifié!");
}  // namespace

class TestChgmentTaux : public QObject {
  Q_OBJECT
 private slots:
  void design_data() {
    testing::DesignRows({
        {"nveautaux", "TextField 117,13 66x28 \"0\" focus=tab"},
        {"StaticText1", "Label 20,13 93x24 \"Nouveau taux:\" focus=none"},
        {"StaticText2", "Label 189,13 25x24 \"%\" focus=none"},
        {"BevelButton1", "BevelButton 25,52 82x25 \"Enregistrer\" focus=tab"},
        {"BevelButton2", "BevelButton 117,52 87x24 \"Abandonner\" focus=tab"},
    });
  }
  void design() {
    QFETCH(QString, name);
    QFETCH(QString, design);
    testing::Harness h;
    Module1::ovktaux = 0;
    QCOMPARE(testing::describeControl(tk::Ref<ChgmentTaux>().get(), name), design);
  }

  void window() {
    testing::Harness h;
    Module1::ovktaux = 0.1;
    auto w = tk::Ref<ChgmentTaux>();
    QCOMPARE(w->objectName(), QString("ChgmentTaux"));
    QCOMPARE(w->windowTitle(), QString("Taux de commission"));
    QCOMPARE(w->size(), QSize(224, 96));
    QCOMPARE(w->minimumSize(), w->maximumSize());
    QVERIFY(w->isVisible());
    QVERIFY(!w->autoFillBackground());
    QCOMPARE(w->Controls().size(), std::size_t(5));
    QCOMPARE(w->Controls().front(), static_cast<QWidget*>(w->nveautaux()));
    QCOMPARE(w->Controls().back(), static_cast<QWidget*>(w->BevelButton2()));
    for (QWidget* c : w->Controls()) QCOMPARE(c->palette().color(c->foregroundRole()), QColor(Qt::black));
    testing::snapshot(w.get(), "ChgmentTaux");
  }

  void tabGoesFieldSaveCancel() {
    testing::Harness h;
    QCOMPARE(testing::tabWalk(tk::Ref<ChgmentTaux>()->nveautaux(), 4),
             QStringList({"nveautaux", "BevelButton1", "BevelButton2", "nveautaux"}));
  }

  void opensOnTheRateInForce_data() {
    QTest::addColumn<double>("rate");
    QTest::addColumn<QString>("shown");
    QTest::newRow("default") << 0.1 << "10";
    QTest::newRow("fraction of a percent") << 0.125 << "12.5";
    QTest::newRow("not exact in binary") << 0.07 << "7";
    QTest::newRow("none") << 0.0 << "0";
  }
  void opensOnTheRateInForce() {
    QFETCH(double, rate);
    QFETCH(QString, shown);
    testing::Harness h;
    Module1::ovktaux = rate;
    auto w = tk::Ref<ChgmentTaux>();
    QCOMPARE(w->nveautaux()->Text(), shown);
    QVERIFY(!h.exists("ValComm.txt"));  // opening reads nothing from the file
  }

  // Typed text -> rate in force, the rate file, and what the next opening shows.
  void save_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<double>("rate");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("next");
    QTest::newRow("unchanged") << "10" << 0.1 << QByteArray("0.1\n") << "10";
    QTest::newRow("decimal point") << "12.5" << 0.125 << QByteArray("0.125\n") << "12.5";
    QTest::newRow("decimal comma") << "12,5" << 0.125 << QByteArray("0.125\n") << "12.5";
    QTest::newRow("not exact in binary") << "7" << 0.07 << QByteArray("0.07\n") << "7";
    QTest::newRow("blanks and percent sign") << " 8 %" << 0.08 << QByteArray("0.08\n") << "8";
    QTest::newRow("empty") << "" << 0.0 << QByteArray("0\n") << "0";
    QTest::newRow("not a number") << "abc" << 0.0 << QByteArray("0\n") << "0";
  }
  void save() {
    QFETCH(QString, typed);
    QFETCH(double, rate);
    QFETCH(QByteArray, file);
    QFETCH(QString, next);
    testing::Harness h;
    h.write("ValComm.txt", "0.1\n");
    Module1::ovktaux = 0.1;
    {
      auto w = tk::Ref<ChgmentTaux>();
      w->nveautaux()->SetText(typed);
      w->BevelButton1()->click();
      QVERIFY(!w.IsOpen());
    }
    QCOMPARE(Module1::ovktaux, rate);
    QCOMPARE(h.read("ValComm.txt"), file);
    QCOMPARE(tk::Val(QString::fromUtf8(file.trimmed())), rate);  // what the next start reads back
    QVERIFY(h.dialogs().shown().isEmpty());
    auto again = tk::Ref<ChgmentTaux>();
    QCOMPARE(again->nveautaux()->Text(), next);
  }

  void saveCreatesAMissingFile() {
    testing::Harness h;
    Module1::ovktaux = 0.1;
    auto w = tk::Ref<ChgmentTaux>();
    w->nveautaux()->SetText("15");
    w->BevelButton1()->click();
    QCOMPARE(h.read("ValComm.txt"), QByteArray("0.15\n"));
    QCOMPARE(Module1::ovktaux, 0.15);
  }

  void abandonChangesNothing() {
    testing::Harness h;
    h.write("ValComm.txt", "0.1\n");
    Module1::ovktaux = 0.1;
    auto w = tk::Ref<ChgmentTaux>();
    w->nveautaux()->SetText("25");
    w->BevelButton2()->click();
    QVERIFY(!w.IsOpen());
    QCOMPARE(Module1::ovktaux, 0.1);
    QCOMPARE(h.read("ValComm.txt"), QByteArray("0.1\n"));
    QVERIFY(h.dialogs().shown().isEmpty());
    QCOMPARE(tk::Ref<ChgmentTaux>()->nveautaux()->Text(), QString("10"));
  }

  // The file cannot be replaced: the cashier is told, the old rate stays in
  // force and the window stays open; once the file can be written, a second
  // "Enregistrer" goes through.
  void unwritableFileKeepsTheOldRate() {
    testing::Harness h;
    Module1::ovktaux = 0.1;
    auto w = tk::Ref<ChgmentTaux>();
    QVERIFY(QDir(h.folder()).mkdir("ValComm.txt"));
    w->nveautaux()->SetText("12,5");
    w->BevelButton1()->click();
    QCOMPARE(h.dialogs().texts(), QStringList{CannotWrite});
    QCOMPARE(Module1::ovktaux, 0.1);
    QVERIFY(w.IsOpen());
    QVERIFY(w->isVisible());
    QCOMPARE(w->nveautaux()->Text(), QString("12,5"));
    QCOMPARE(tk::Ref<ChgmentTaux>().get(), w.get());

    QVERIFY(QDir(h.folder()).rmdir("ValComm.txt"));
    w->BevelButton1()->click();
    QVERIFY(!w.IsOpen());
    QCOMPARE(h.dialogs().texts().size(), 1);
    QCOMPARE(Module1::ovktaux, 0.125);
    QCOMPARE(h.read("ValComm.txt"), QByteArray("0.125\n"));
  }
};

QTEST_MAIN(TestChgmentTaux)
#include "tst_chgmenttaux.moc"
