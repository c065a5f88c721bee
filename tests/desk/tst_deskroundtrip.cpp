#include <QTest>

#include "core/module1.h"
#include "support/bookings.h"
#include "support/describe.h"
#include "support/desk.h"
#include "support/harness.h"

using testing::Book;
using testing::Harness;
using testing::Lines;
using testing::Remove;
using testing::Rows;


class TestDeskRoundTrip : public QObject {
  Q_OBJECT
 private slots:
  // A fair's two days: what the desk shows after a restart is what its
  // files hold, and the sellers' files agree with the journal to the cent.
  void twoDaysOfTheFair() {
    Harness h;
    // Seller 5's name carries blanks in the register.
    h.write("couponsvendeurs.csv", "1,Aquaflore,3\n2,Aquaflore,3\n3,Aquaflore,3\n6, Ichtyo ,5\n7, Ichtyo ,5\n8, Ichtyo ,5\n");

    auto desk = testing::OpenDesk(h);
    Book(desk, "1", "7,5");
    Book(desk, "6", "2.5");
    Book(desk, "2", "3.25");
    Book(desk, "7", "");
    Book(desk, "3", "2.34");
    QCOMPARE(desk->ShowTotal()->Text(), QString("15.59"));
    QCOMPARE(desk->ShowComm()->Text(), QString("1.60"));
    testing::snapshot(desk.get(), "Window1_bookings");
    Remove(desk, 2);
    QCOMPARE(h.dialogs().texts().size(), 1);  // the start dialog only
    QCOMPARE(desk->ShowTotal()->Text(), QString("12.34"));
    QCOMPARE(desk->ShowComm()->Text(), QString("1.25"));
    const QStringList day1 = testing::JournalHeaderLines("5/3/2025") + QStringList{"1,7.50,Aquaflore,3", "6,2.50, Ichtyo ,5", "7,, Ichtyo ,5",
                           "3,2.34,Aquaflore,3"};
    QCOMPARE(Lines(h, "OVKB2025_main.csv"), day1);
    QCOMPARE(Lines(h, "vendeur_3.csv"), QStringList({"1,7.50", "3,2.34"}));
    QCOMPARE(Lines(h, "vendeur_5.csv"), QStringList({"6,2.50", "7,"}));

    h.setToday(tk::Date{6, 3, 2025});
    desk = testing::Restart(h);
    QCOMPARE(Rows(*desk->ReferenceBox()),
             QStringList({"1|7.50|Aquaflore|3", "6|2.50|Ichtyo|5", "7||Ichtyo|5", "3|2.34|Aquaflore|3"}));
    QCOMPARE(desk->ShowTotal()->Text(), QString("12.34"));
    QCOMPARE(desk->ShowComm()->Text(), QString("1.25"));
    QVERIFY(!desk->PushButton5()->isEnabled());
    QCOMPARE(Lines(h, "OVKB2025_main.csv"), day1);

    // The second day: a booking, then a coupon of the first day goes.
    Book(desk, "6", "1");
    QCOMPARE(h.dialogs().texts().last(), QString("Coupon déjà saisi, position 2"));
    Book(desk, "8", "1");
    Remove(desk, 1);
    QCOMPARE(Module1::vc2, QString("5"));
    const QStringList day2 = testing::JournalHeaderLines("6/3/2025") + QStringList{"1,7.50,Aquaflore,3", "7,,Ichtyo,5", "3,2.34,Aquaflore,3",
                           "8,1.00, Ichtyo ,5"};
    QCOMPARE(Lines(h, "OVKB2025_main.csv"), day2);
    QCOMPARE(Lines(h, "vendeur_5.csv"), QStringList({"7,", "8,1.00"}));
    QCOMPARE(Lines(h, "vendeur_3.csv"), QStringList({"1,7.50", "3,2.34"}));
    QCOMPARE(desk->ShowTotal()->Text(), QString("10.84"));
    QCOMPARE(desk->ShowComm()->Text(), QString("1.10"));

    desk = testing::Restart(h);
    QCOMPARE(Rows(*desk->ReferenceBox()),
             QStringList({"1|7.50|Aquaflore|3", "7||Ichtyo|5", "3|2.34|Aquaflore|3", "8|1.00|Ichtyo|5"}));
    QCOMPARE(desk->ShowTotal()->Text(), QString("10.84"));
    QCOMPARE(Lines(h, "OVKB2025_main.csv"), day2);
    QCOMPARE(h.read("ValComm.txt"), QByteArray("0.1\n"));
  }

  // Files last saved by a text editor that left off the final line end: a
  // booking still lands on a line of its own, and the one before it stays.
  void filesWithoutTheirLastLineEnd() {
    Harness h;
    h.write("couponsvendeurs.csv", "12,Aquaflore,3\n13,Aquaflore,3\n");
    h.write("OVKB2025_main.csv", testing::JournalFile("1/3/2025", "12,5.00,Aquaflore,3"));
    h.write("vendeur_3.csv", "12,5.00");
    auto desk = testing::OpenDesk(h);
    Book(desk, "13", "6");
    QCOMPARE(Lines(h, "vendeur_3.csv"), QStringList({"12,5.00", "13,6.00"}));
    desk = testing::Restart(h);
    QCOMPARE(Rows(*desk->ReferenceBox()), QStringList({"12|5.00|Aquaflore|3", "13|6.00|Aquaflore|3"}));
    QCOMPARE(desk->ShowTotal()->Text(), QString("11.00"));
  }
};

QTEST_MAIN(TestDeskRoundTrip)
#include "tst_deskroundtrip.moc"
