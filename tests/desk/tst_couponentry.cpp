#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include "core/module1.h"
#include "support/bookings.h"
#include "support/desk.h"
#include "support/harness.h"

using testing::Book;
using testing::Harness;
using testing::Lines;
using testing::Rows;

namespace {

const QByteArray Map =
    "10,Aquaflore,3\n11,Aquaflore,3\n12,Aquaflore,3\n20,Aquaflore,3\n20,Ichtyo,5\n"
    "30,Zoo,07\n31,Nord,Nord\n32,,5\n33, Blanc , 8 \n34,Grand,1e30\n35\n";

// Seven bookings worth 10.00, coupon 12 on the third and the seventh. A
// padding field, which the desk ignores, makes the journal long.
QByteArray journal(const QByteArray& padding = QByteArray()) {
  QByteArray rows;
  const char* const coupons[] = {"1", "2", "12", "4", "5", "6", "12"};
  const char* const amounts[] = {"1", "1", "1", "1", "2", "2", "2"};
  for (int i = 0; i < 7; ++i) {
    rows += QByteArray(coupons[i]) + ',' + amounts[i] + ",A,1";
    if (i == 0 && !padding.isEmpty()) rows += ',' + padding;
    rows += '\n';
  }
  return testing::JournalFile("4/3/2025", rows);
}

QStringList salesFiles(const Harness& h) {
  return QDir(h.folder()).entryList({"vendeur_*"}, QDir::Files | QDir::Dirs | QDir::System, QDir::Name);
}

}  // namespace

class TestCouponEntry : public QObject {
  Q_OBJECT
 private slots:
  void entry_data() {
    QTest::addColumn<QString>("coupon");
    QTest::addColumn<QString>("amount");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QString>("row");        // the booked row, empty when nothing is booked
    QTest::addColumn<QString>("salesFile");
    QTest::addColumn<QString>("total");
    QTest::addColumn<QString>("commission");
    QTest::addColumn<int>("selected");
    const QStringList none;
    const QStringList noSeller{"Ce coupon n'a pas de vendeur"};
    // Refused: nothing booked, totals as loaded.
    QTest::newRow("empty number") << "" << "5" << none << "" << "" << "10.00" << "1.00" << -1;
    QTest::newRow("duplicate names the last match")
        << "12" << "5" << QStringList{"Coupon déjà saisi, position 7"} << "" << "" << "10.00" << "1.00" << 6;
    QTest::newRow("trailing blank is no duplicate") << "12 " << "5" << noSeller << "" << "" << "10.00" << "1.00" << -1;
    QTest::newRow("blanks only") << "  " << "5" << noSeller << "" << "" << "10.00" << "1.00" << -1;
    QTest::newRow("leading zero") << "010" << "5" << noSeller << "" << "" << "10.00" << "1.00" << -1;
    QTest::newRow("comma in the number") << "10,5" << "5" << noSeller << "" << "" << "10.00" << "1.00" << -1;
    QTest::newRow("not in the map") << "99" << "5" << noSeller << "" << "" << "10.00" << "1.00" << -1;
    QTest::newRow("empty seller name") << "32" << "5" << noSeller << "" << "" << "10.00" << "1.00" << -1;
    QTest::newRow("map line of the number alone") << "35" << "5" << noSeller << "" << "" << "10.00" << "1.00" << -1;
    QTest::newRow("large amount, then no seller")
        << "99" << "150" << QStringList{"Info: Montant élevé", "Ce coupon n'a pas de vendeur"} << "" << ""
        << "10.00" << "1.00" << -1;
    // Booked.
    QTest::newRow("amount 100 gives no warning")
        << "10" << "100" << none << "10|100.00|Aquaflore|3" << "vendeur_3.csv" << "110.00" << "11.00" << -1;
    QTest::newRow("amount 100.01 warns, then books") << "10" << "100.01" << QStringList{"Info: Montant élevé"}
                                                     << "10|100.01|Aquaflore|3" << "vendeur_3.csv" << "110.01"
                                                     << "11.00" << -1;
    QTest::newRow("overlapping map lines: the later wins")
        << "20" << "5" << none << "20|5.00|Ichtyo|5" << "vendeur_5.csv" << "15.00" << "1.50" << -1;
    QTest::newRow("code 07 books to seller 7")
        << "30" << "5" << none << "30|5.00|Zoo|07" << "vendeur_7.csv" << "15.00" << "1.50" << -1;
    QTest::newRow("code that is no number books to 0")
        << "31" << "5" << none << "31|5.00|Nord|Nord" << "vendeur_0.csv" << "15.00" << "1.50" << -1;
    QTest::newRow("code beyond 64 bits books to 0")
        << "34" << "5" << none << "34|5.00|Grand|1e30" << "vendeur_0.csv" << "15.00" << "1.50" << -1;
    QTest::newRow("blanks of the map are kept")
        << "33" << "5" << none << "33|5.00| Blanc | 8 " << "vendeur_8.csv" << "15.00" << "1.50" << -1;
    QTest::newRow("empty amount") << "11" << "" << none << "11||Aquaflore|3" << "vendeur_3.csv" << "10.00" << "1.00"
                                  << -1;
    QTest::newRow("negative amount lowers the turnover")
        << "11" << "-3" << none << "11|-3.00|Aquaflore|3" << "vendeur_3.csv" << "7.00" << "0.70" << -1;
    QTest::newRow("decimal comma") << "11" << "12,5" << none << "11|12.50|Aquaflore|3" << "vendeur_3.csv" << "22.50"
                                   << "2.30" << -1;
    QTest::newRow("whole amount") << "11" << "7" << none << "11|7.00|Aquaflore|3" << "vendeur_3.csv" << "17.00"
                                  << "1.70" << -1;
    QTest::newRow("commission to the nearest 0.1")
        << "11" << "2.34" << none << "11|2.34|Aquaflore|3" << "vendeur_3.csv" << "12.34" << "1.20" << -1;
    QTest::newRow("amount that is no number")
        << "11" << "dix" << none << "11|0.00|Aquaflore|3" << "vendeur_3.csv" << "10.00" << "1.00" << -1;
  }
  void entry() {
    QFETCH(QString, coupon);
    QFETCH(QString, amount);
    QFETCH(QStringList, texts);
    QFETCH(QString, row);
    QFETCH(QString, salesFile);
    QFETCH(QString, total);
    QFETCH(QString, commission);
    QFETCH(int, selected);
    Harness h;
    h.write("couponsvendeurs.csv", Map);
    h.write("OVKB2025_main.csv", journal());
    auto desk = testing::OpenDesk(h);
    h.dialogs().clear();
    const QStringList before = Rows(*desk->ReferenceBox());

    Book(desk, coupon, amount);

    QCOMPARE(h.dialogs().texts(), texts);
    QCOMPARE(desk->ShowTotal()->Text(), total);
    QCOMPARE(desk->ShowComm()->Text(), commission);
    QCOMPARE(desk->ReferenceBox()->ListIndex(), selected);
    if (row.isEmpty()) {
      QCOMPARE(Rows(*desk->ReferenceBox()), before);
      QCOMPARE(h.read("OVKB2025_main.csv"), journal());
      QCOMPARE(salesFiles(h), QStringList());
      QCOMPARE(testing::Typed(desk->EntryCoupon()), coupon);
      QCOMPARE(testing::Typed(desk->ValeurCoupon()), amount);
      return;
    }
    const QStringList cells = row.split('|');
    QCOMPARE(Rows(*desk->ReferenceBox()), before + QStringList{row});
    QCOMPARE(h.read("OVKB2025_main.csv"), journal() + cells.join(',').toUtf8() + '\n');
    QCOMPARE(salesFiles(h), QStringList{salesFile});  // the seller's first coupon makes the file
    QCOMPARE(Lines(h, salesFile), QStringList{cells[0] + ',' + cells[1]});
    QVERIFY(testing::Typed(desk->EntryCoupon()).isEmpty());
    QVERIFY(testing::Typed(desk->ValeurCoupon()).isEmpty());
  }

  // The cashier types coupon after coupon without reaching for the mouse.
  void keyboardOnlyBookings() {
    Harness h;
    h.write("couponsvendeurs.csv", Map);
    auto desk = testing::OpenDesk(h);
    desk->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(desk.get()));
    desk->EntryCoupon()->setFocus();
    for (const char* coupon : {"10", "11"}) {
      QWidget* w = QApplication::focusWidget();
      QCOMPARE(w, static_cast<QWidget*>(desk->EntryCoupon()));
      QTest::keyClicks(w, coupon);
      QTest::keyClick(w, Qt::Key_Tab);
      QTest::keyClicks(QApplication::focusWidget(), "2,5");
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(desk->BevelButton1()));
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    }
    QCOMPARE(Rows(*desk->ReferenceBox()), QStringList({"10|2.50|Aquaflore|3", "11|2.50|Aquaflore|3"}));
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(desk->EntryCoupon()));
  }

  void missingCouponMapIsReportedAtEveryClick() {
    Harness h;
    auto desk = testing::OpenDesk(h);
    h.dialogs().clear();
    const QByteArray empty = h.read("OVKB2025_main.csv");
    Book(desk, "10", "5");
    desk->BevelButton1()->click();
    const QString text = "Avez-vous créé les fichiers vendeurs? Si ce n'est pas le cas utilisez \"Gestion des vendeurs\".";
    QCOMPARE(h.dialogs().texts(), QStringList({text, text}));
    QCOMPARE(desk->ReferenceBox()->ListCount(), 0);
    QCOMPARE(h.read("OVKB2025_main.csv"), empty);
    QCOMPARE(salesFiles(h), QStringList());
  }

  void journalGoneDuringTheRunIsBegunAgain() {
    Harness h;
    h.write("couponsvendeurs.csv", Map);
    auto desk = testing::OpenDesk(h);
    QVERIFY(QFile::remove(h.path("OVKB2025_main.csv")));
    Book(desk, "10", "5");
    QCOMPARE(Lines(h, "OVKB2025_main.csv"), testing::JournalHeaderLines("5/3/2025") + QStringList{"10,5.00,Aquaflore,3"});
    QCOMPARE(Lines(h, "vendeur_3.csv"), QStringList({"10,5.00"}));
  }

  // A booking lands in both files or in neither.
  void failedBookingChangesNothing_data() {
    QTest::addColumn<QString>("fault");
    QTest::newRow("sales file is a folder") << "sales folder";
    QTest::newRow("sales file cannot be created") << "sales uncreatable";
    QTest::newRow("sales file cannot grow") << "sales full";
    QTest::newRow("journal cannot be appended to") << "journal folder";
    QTest::newRow("journal cannot grow: the sales line is taken back") << "journal full";
    QTest::newRow("journal cannot grow, new seller: no sales file left") << "journal full, new seller";
  }
  void failedBookingChangesNothing() {
    QFETCH(QString, fault);
    Harness h;
    h.write("couponsvendeurs.csv", Map);
    // A file that cannot grow fills the disk partway through its new line;
    // it is long, and the change's own record still fits on the disk.
    const QByteArray padding(400, '#');
    const QByteArray journalBefore = fault.startsWith("journal full") ? journal(padding) : journal();
    h.write("OVKB2025_main.csv", journalBefore);
    const bool newSeller = fault.endsWith("new seller");
    if (!newSeller) h.write("vendeur_3.csv", fault == "sales full" ? padding + '\n' : "5,1.00\n");
    auto desk = testing::OpenDesk(h);
    h.dialogs().clear();
    const QByteArray sales = h.read("vendeur_3.csv");
    std::unique_ptr<testing::FileSizeLimit> limit;
    if (fault == "sales folder") {
      QVERIFY(QFile::remove(h.path("vendeur_3.csv")));
      QVERIFY(QDir(h.folder()).mkdir("vendeur_3.csv"));
    } else if (fault == "sales uncreatable") {
      QVERIFY(QFile::remove(h.path("vendeur_3.csv")));
      testing::MakeUncreatable(h, "vendeur_3.csv");
    } else if (fault == "journal folder") {
      QVERIFY(QFile::remove(h.path("OVKB2025_main.csv")));
      QVERIFY(QDir(h.folder()).mkdir("OVKB2025_main.csv"));
    } else {
      const QByteArray& full = fault == "sales full" ? sales : journalBefore;
      limit = std::make_unique<testing::FileSizeLimit>(full.size() + 3);
    }

    Book(desk, "10", "5");
    limit.reset();

    QCOMPARE(h.dialogs().texts(), QStringList({"Problem creating the text file!"}));
    QCOMPARE(desk->ReferenceBox()->ListCount(), 7);
    QCOMPARE(desk->ShowTotal()->Text(), QString("10.00"));
    QCOMPARE(desk->ShowComm()->Text(), QString("1.00"));
    QCOMPARE(testing::Typed(desk->EntryCoupon()), QString("10"));
    if (fault == "journal folder") {
      QVERIFY(QFileInfo(h.path("OVKB2025_main.csv")).isDir());
    } else {
      QCOMPARE(h.read("OVKB2025_main.csv"), journalBefore);
    }
    if (fault == "sales folder") {
      QVERIFY(QFileInfo(h.path("vendeur_3.csv")).isDir());
    } else if (fault == "sales uncreatable") {
      QVERIFY(QFileInfo(h.path("vendeur_3.csv")).isSymLink() && !h.exists("vendeur_3.csv"));
    } else if (newSeller) {
      QVERIFY(!h.exists("vendeur_3.csv"));
    } else {
      QCOMPARE(h.read("vendeur_3.csv"), sales);
    }
  }
};

QTEST_MAIN(TestCouponEntry)
#include "tst_couponentry.moc"
