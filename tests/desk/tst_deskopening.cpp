#include <QDir>
#include <QFileInfo>
#include <QTest>
#include <optional>

#include "core/module1.h"
#include "app/startup.h"
#include "toolkit/application.h"
#include "support/bookings.h"
#include "support/desk.h"
#include "support/harness.h"
#include "toolkit/text.h"

using testing::Harness;
using testing::Lines;
using testing::Rows;

namespace {
QByteArray journal(const QString& day, const QByteArray& rows) { return testing::JournalFile(day, rows); }
}  // namespace

class TestDeskOpening : public QObject {
  Q_OBJECT
 private slots:
  void firstStartInAnEmptyFolder() {
    Harness h;
    auto desk = testing::OpenDesk(h);
    QCOMPARE(h.read("ValComm.txt"), QByteArray("0.1\n"));
    QCOMPARE(Module1::ovktaux, 0.1);
    QCOMPARE(Module1::myday, QString("5/3/2025"));
    QCOMPARE(Module1::thename, QString("OVKB2025_main.csv"));
    QCOMPARE(Lines(h, "OVKB2025_main.csv"), testing::JournalHeaderLines("5/3/2025"));
    QCOMPARE(desk->ReferenceBox()->ListCount(), 0);
    QVERIFY(desk->PushButton5()->isEnabled());
    QCOMPARE(desk->ShowTotal()->Text(), QString("0.00"));
    QCOMPARE(desk->ShowComm()->Text(), QString());
    QCOMPARE(Module1::grandtotal, 0.0);
    QVERIFY(h.quits().isEmpty());

    // The start dialog, as the cashier sees it.
    QCOMPARE(h.dialogs().shown().size(), 1);
    const tk::MessageDialog& d = h.dialogs().shown().first().dialog;
    QCOMPARE(d.Icon, int(tk::MessageDialog::Caution));
    QCOMPARE(d.Title, QString("et pour commencer... "));
    QCOMPARE(d.Message, QString("Le fonctionnement de ce programme suppose que tous les fichiers des vendeurs "
                                "(vendeur_x.csv) ont étés effacés et que les fichiers ListeVendeurs.csv et "
                                "couponsvendeurs.csv ont été correctement remplis. \n"));
    QCOMPARE(d.Explanation, QString("Si ce n'est pas le cas, vous pouvez encore effacer les premiers, sans devoir "
                                    "quitter le programme (Continuer), et utiliser \n le bouton \"Gestion des "
                                    "vendeurs\" pour créer les seconds."));
    QCOMPARE(d.ActionButton.Caption, QString("Continuer"));
    QVERIFY(d.ActionButton.Visible);
    QCOMPARE(d.CancelButton.Caption, QString("Quitter"));
    QVERIFY(d.CancelButton.Visible && d.CancelButton.Cancel);
    QVERIFY(!d.AlternateActionButton.Visible);
  }

  void startWithAnExistingJournal() {
    Harness h;
    const QByteArray content =
        journal("2/3/2025", "12, 7.5 ,Aquaflore,3\n13,2.5,Plantes,4,extra,fields\n14,2.34, Ichtyo , 5\n");
    h.write("OVKB2025_main.csv", content);
    auto desk = testing::OpenDesk(h);
    QCOMPARE(Rows(*desk->ReferenceBox()),
             QStringList({"12|7.50|Aquaflore|3", "13|2.50|Plantes|4", "14|2.34|Ichtyo|5"}));
    QCOMPARE(tk::Str(Module1::grandtotal), QString("12.34"));
    QCOMPARE(desk->ShowTotal()->Text(), QString("12.34"));
    // The nearest 0.05 after a load: 1.25, where the entry's 0.1 step gives 1.2.
    QCOMPARE(desk->ShowComm()->Text(), QString("1.25"));
    QVERIFY(!desk->PushButton5()->isEnabled());
    QCOMPARE(h.read("OVKB2025_main.csv"), content);
  }

  void journalLinesOutOfTheFormat_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QString>("total");
    QTest::newRow("empty file") << QByteArray() << QStringList() << "0.00";
    QTest::newRow("shorter than its header") << testing::JournalHeaderLines("1/3/2025").first().toUtf8() << QStringList() << "0.00";
    QTest::newRow("short lines give empty cells, blank lines no row")
        << journal("1/3/2025", "5\n\n6,3\n") << QStringList({"5|||", "6|3.00||"}) << "3.00";
    QTest::newRow("lines ended by CR LF")
        << (testing::JournalHeaderLines("1/3/2025").join("\r\n") + "\r\n7,1,A,1\r\n8,2,B,2\r\n").toUtf8()
        << QStringList({"7|1.00|A|1", "8|2.00|B|2"}) << "3.00";
    QTest::newRow("amount that is no number") << journal("1/3/2025", "9,abc,C,3\n") << QStringList({"9|0.00|C|3"})
                                              << "0.00";
  }
  void journalLinesOutOfTheFormat() {
    QFETCH(QByteArray, content);
    QFETCH(QStringList, rows);
    QFETCH(QString, total);
    Harness h;
    h.write("OVKB2025_main.csv", content);
    auto desk = testing::OpenDesk(h);
    QCOMPARE(Rows(*desk->ReferenceBox()), rows);
    QCOMPARE(desk->ShowTotal()->Text(), total);
    QCOMPARE(h.read("OVKB2025_main.csv"), content);
  }

  // One of the two header lines deleted by hand: the header is told by what
  // it holds, so the first booking is still a booking. It is listed and
  // counted, cannot be booked again, and stays in the journal at a removal.
  // A header edited by hand: a line deleted, or both saved again by a
  // program that wrote them in Latin-1. Header lines are told by what they
  // hold, so no booking is taken for one, nor a header for a booking.
  void journalWithOneHeaderLine_data() {
    QTest::addColumn<QByteArray>("header");
    const QStringList lines = testing::JournalHeaderLines("1/3/2025");
    QTest::newRow("first header line deleted") << (lines.at(1) + "\n").toUtf8();
    QTest::newRow("second header line deleted") << (lines.at(0) + "\n").toUtf8();
    QTest::newRow("both in Latin-1") << (lines.join('\n') + "\n").toLatin1();
  }
  void journalWithOneHeaderLine() {
    QFETCH(QByteArray, header);
    Harness h;
    h.write("OVKB2025_main.csv", header + "12,5.00,A,1\n13,2.00,A,1\n");
    h.write("vendeur_1.csv", "12,5.00\n13,2.00\n");
    auto desk = testing::OpenDesk(h);
    QCOMPARE(Rows(*desk->ReferenceBox()), QStringList({"12|5.00|A|1", "13|2.00|A|1"}));
    QCOMPARE(desk->ShowTotal()->Text(), QString("7.00"));
    h.dialogs().clear();
    testing::Book(desk, "12", "5");
    QCOMPARE(h.dialogs().texts(), QStringList({"Coupon déjà saisi, position 1"}));
    testing::Remove(desk, 1);
    QCOMPARE(h.dialogs().texts().size(), 1);
    QCOMPARE(Lines(h, "OVKB2025_main.csv"), testing::JournalHeaderLines("5/3/2025") + QStringList({"12,5.00,A,1"}));
    QCOMPARE(Lines(h, "vendeur_1.csv"), QStringList({"12,5.00"}));
  }

  void newYearBeginsANewJournal() {
    Harness h(tk::Date{1, 1, 2026});
    const QByteArray last = journal("30/12/2025", "12,7.50,Aquaflore,3\n");
    h.write("OVKB2025_main.csv", last);
    auto desk = testing::OpenDesk(h);
    QCOMPARE(Module1::myday, QString("1/1/2026"));
    QCOMPARE(Module1::thename, QString("OVKB2026_main.csv"));
    QCOMPARE(Lines(h, "OVKB2026_main.csv"), testing::JournalHeaderLines("1/1/2026"));
    QCOMPARE(h.read("OVKB2025_main.csv"), last);
    QCOMPARE(desk->ReferenceBox()->ListCount(), 0);
    QVERIFY(desk->PushButton5()->isEnabled());
  }

  void rateFile_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<double>("rate");
    QTest::addColumn<QString>("commission");  // on a turnover of 10
    QTest::newRow("a rate") << QByteArray("0.2\n") << 0.2 << "2.00";
    QTest::newRow("only the first line counts") << QByteArray("0.15\n0.9\n") << 0.15 << "1.50";
    QTest::newRow("no number") << QByteArray("dix pour cent\n") << 0.0 << "0.00";
    QTest::newRow("empty file") << QByteArray() << 0.0 << "0.00";
  }
  void rateFile() {
    QFETCH(QByteArray, content);
    QFETCH(double, rate);
    QFETCH(QString, commission);
    Harness h;
    h.write("ValComm.txt", content);
    h.write("OVKB2025_main.csv", journal("1/3/2025", "12,10,Aquaflore,3\n"));
    auto desk = testing::OpenDesk(h);
    QCOMPARE(Module1::ovktaux, rate);
    QCOMPARE(h.read("ValComm.txt"), content);  // an existing rate file is never rewritten
    QCOMPARE(desk->ShowComm()->Text(), commission);
  }

  // "Quitter" ends the whole run at once: the event loop never runs.
  void quitterEndsTheRunBeforeTheJournal() {
    Harness h;
    tk::SetQuitHandler({});  // the real one
    h.dialogs().answerTitle(testing::StartDialogTitle, tk::DialogAnswer::Cancel);
    QCOMPARE(app::_Main(), 0);
    QVERIFY(!h.exists("OVKB2025_main.csv"));
    QCOMPARE(h.dialogs().shown().size(), 1);
    auto desk = tk::Ref<Window1>();
    QCOMPARE(desk->ReferenceBox()->ListCount(), 0);
  }

  // A data file the run cannot do without ends the run with a message, and
  // an existing one is left as it is.
  void unusableFiles_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("fault");  // a folder or a link to nowhere in its place, or a full disk
    QTest::addColumn<QStringList>("texts");
    const QString start = QStringLiteral("Le fonctionnement de ce programme suppose que tous les fichiers des "
                                         "vendeurs (vendeur_x.csv) ont étés effacés et que les fichiers "
                                         "ListeVendeurs.csv et couponsvendeurs.csv ont été correctement remplis. \n");
    QTest::newRow("rate file unreadable") << "ValComm.txt" << "folder"
                                          << QStringList({"Impossible de lire le fichier ValComm.txt!"});
    QTest::newRow("rate file a link to nowhere") << "ValComm.txt" << "link"
                                                 << QStringList({"Impossible de lire le fichier ValComm.txt!"});
    QTest::newRow("rate file not creatable") << "ValComm.txt" << "full"
                                             << QStringList({"Impossible de créer le fichier ValComm.txt!"});
    QTest::newRow("journal unreadable") << "OVKB2025_main.csv" << "folder"
                                        << QStringList({start, "Impossible de lire le fichier OVKB2025_main.csv!"});
    QTest::newRow("journal a link to nowhere")
        << "OVKB2025_main.csv" << "link" << QStringList({start, "Impossible de lire le fichier OVKB2025_main.csv!"});
    QTest::newRow("journal not creatable")
        << "OVKB2025_main.csv" << "full" << QStringList({start, "Impossible de créer le fichier OVKB2025_main.csv!"});
  }
  void unusableFiles() {
    QFETCH(QString, name);
    QFETCH(QString, fault);
    QFETCH(QStringList, texts);
    Harness h;
    std::optional<testing::FileSizeLimit> full;
    if (fault == "folder") {
      QVERIFY(QDir(h.folder()).mkdir(name));
    } else if (fault == "link") {
      testing::MakeUncreatable(h, name);  // nothing is created through it, nor read
    } else {
      if (name != "ValComm.txt") h.write("ValComm.txt", "0.1\n");
      full.emplace(0);
    }
    auto desk = testing::OpenDesk(h);
    full.reset();
    QCOMPARE(h.dialogs().texts(), texts);
    QCOMPARE(h.quits(), QList<int>({1}));
    QCOMPARE(QFileInfo(h.path(name)).isDir(), fault == "folder");
    QCOMPARE(QFileInfo(h.path(name)).isSymLink(), fault == "link");
    if (fault == "full") QVERIFY(!h.exists(name));
    if (name == "ValComm.txt") QVERIFY(!h.exists("OVKB2025_main.csv"));
    QCOMPARE(desk->ReferenceBox()->ListCount(), 0);
  }
};

QTEST_MAIN(TestDeskOpening)
#include "tst_deskopening.moc"
