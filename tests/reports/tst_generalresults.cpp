#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QTest>
#include <sys/inotify.h>
#include <unistd.h>

#include "core/module1.h"
#include "core/salesfiles.h"
#include "core/sellerformat.h"
#include "reports/generalresults.h"
#include "reports/utilities.h"
#include "rtf/printlauncher.h"
#include "support/faults.h"
#include "support/harness.h"
#include "support/stubopener.h"
#include "toolkit/process.h"
#include "toolkit/window.h"

namespace {

QByteArray golden(const QString& name) {
  QFile f(QStringLiteral(CORVALENTA_TESTS "/reports/golden/") + name);
  if (!f.open(QIODevice::ReadOnly)) qFatal("no golden file %s", qPrintable(name));
  return f.readAll();
}

const QString Confirmation = QStringLiteral("Fichier créé (Fichier_General_des_vendeurs.rtf).");
const QString AbiwordFailure = QStringLiteral(
    "Impossible d'ouvrir Abiword! Vous devrez imprimer le fichier \"Fichier_General_des_vendeurs.rtf\" vous-même.");
const QString ListGone = QStringLiteral("Le fichier des vendeurs a disparu!!!");
const QString CannotCreate = QStringLiteral("Impossible de créer un fichier pour ce vendeur!");
const QString NoSalesFile = QStringLiteral("Aucun fichier disponible pour ce vendeur!");
const QString Closing = QStringLiteral("Je ferme le fichier par sécurité!");
const QString PageEnd = QStringLiteral("\\pard\\par\\page");

// Sellers 1, 2 and 4, none with code 3: four coupons for 1, an empty sales
// file for 2, none for 3, two coupons for 4.
void fourNumbers(const testing::Harness& h) {
  h.write(SellerListFile, QString::fromUtf8("Élodie Müller,1,Rue du Château 3,e@x.ch,1003,Genève,1,100,2,1\n"
                                            "Plantes du Lac, 2 ,Quai 4,,3000,Bourg,101,200,0,0\n"
                                            "Zoé {Œuvre},4,Chemin {5},z@x.ch,4000,Neuchâtel,301,400,1,0\n")
                              .toUtf8());
  h.write(SellerSalesFile(1), "100,12.50\n9,3\n10,4.5\n55,20\n");
  h.write(SellerSalesFile(2), "");
  h.write(SellerSalesFile(4), "305,7.25\n301, 1.10 \n");
}

QStringList lines(const QByteArray& report) {
  QStringList out = QString::fromLatin1(report).split('\n');
  if (out.last().isEmpty()) out.removeLast();
  return out;
}

// The seller code line of every page, in order: what each page is for.
QStringList pageCodes(const QByteArray& report) {
  const QStringList l = lines(report);
  QStringList codes;
  for (int i = 1; i < l.size(); ++i)
    if (l.at(i - 1) == "Vendeur  ") codes << l.at(i);
  return codes;
}

// The name line of the page for that code.
QString nameOnPage(const QByteArray& report, const QString& code) {
  const QStringList l = lines(report);
  int start = 6;  // after the header
  for (int i = 6; i < l.size(); ++i) {
    if (l.at(i) == "Vendeur  " && l.value(i + 1) == code) return l.value(start + 3);
    if (l.at(i) == PageEnd) start = i + 1;
  }
  return "no page";
}

// The lines of the page for that code, from its name paragraph to its
// page end; none when there is no such page.
QStringList pageOf(const QByteArray& report, const QString& code) {
  const QStringList l = lines(report);
  int start = 6;  // after the header
  for (int i = 6; i < l.size(); ++i) {
    if (l.at(i) != PageEnd) continue;
    const QStringList page = l.mid(start, i + 1 - start);
    if (page.value(20) == code) return page;
    start = i + 1;
  }
  return {};
}

// Sellers 2 and 5 only; the seller before the gap at 3 rents tanks, and the
// current seller (what a sheet chose) has a name, an address and rentals.
// Sales for 2 and 3 only.
void gaps(const testing::Harness& h) {
  h.write(SellerListFile, "Deux,2,Rue 2,,2000,Bourg,1,9,2,1\nCinq,5,Rue 5,,5000,Ville,10,19,0,0\n");
  h.write(SellerSalesFile(2), "3,20\n");
  h.write(SellerSalesFile(3), "7,10\n");
  Module1::SonNom = "Autre";
  Module1::adresse2 = "Rue 9";
  Module1::zip2 = "9000";
  Module1::localite2 = "Ailleurs";
  Module1::bacs2 = "3";
  Module1::rampes2 = "2";
}

// Every file put in place in a folder (created, or renamed to its name)
// while it lives, by name.
class Placements {
 public:
  explicit Placements(const QString& folder) : fd_(inotify_init1(IN_NONBLOCK)) {
    const QByteArray path = QFile::encodeName(folder);
    watching_ = fd_ >= 0 && inotify_add_watch(fd_, path.constData(), IN_CREATE | IN_MOVED_TO) >= 0;
  }
  ~Placements() {
    if (fd_ >= 0) ::close(fd_);
  }
  bool watching() const { return watching_; }
  Placements(const Placements&) = delete;
  Placements& operator=(const Placements&) = delete;

  int of(const QString& name) {
    alignas(inotify_event) char buffer[64 * 1024];
    for (ssize_t n; (n = ::read(fd_, buffer, sizeof buffer)) > 0;) {
      for (char* p = buffer; p < buffer + n;) {
        const auto* e = reinterpret_cast<const inotify_event*>(p);
        if (e->len > 0) ++counts_[QFile::decodeName(e->name)];
        p += sizeof(inotify_event) + e->len;
      }
    }
    return counts_.value(name);
  }

 private:
  int fd_;
  bool watching_ = false;
  QHash<QString, int> counts_;
};

}  // namespace

class TestGeneralResults : public QObject {
  Q_OBJECT
 private slots:
  // The whole report, byte for byte: 6 + 100 + 70 + 85 + 85 + 1 lines.
  // Page 3 has no seller line: no name, no address and no fees of another
  // seller, and one placeholder coupon "0".
  void fourNumbersGolden() {
    testing::Harness h;
    fourNumbers(h);
    const ResultsRun run = WriteGeneralResults(0.1, "5/3/2025");
    QCOMPARE(run.ending, ResultsRun::Written);
    QCOMPARE(run.pages, std::int64_t(4));
    const QByteArray report = h.read(GeneralResultsFile);
    QCOMPARE(lines(report).size(), 347);
    QCOMPARE(report, golden("results_four_numbers.rtf"));
    QCOMPARE(h.read(NullSalesFile), QByteArray("0,0\n"));
    QCOMPARE(QDir(h.folder()).entryList(QDir::Files | QDir::Hidden),
             QStringList({GeneralResultsFile, SellerListFile, "vendeur_1.csv", "vendeur_2.csv", "vendeur_4.csv",
                          NullSalesFile}));
  }

  // Which pages a seller list gives, and whose name each carries.
  void pages_data() {
    QTest::addColumn<QByteArray>("list");
    QTest::addColumn<QStringList>("codes");
    QTest::addColumn<QStringList>("names");  // code=name for the pages looked at
    QTest::newRow("empty list: header and brace") << QByteArray() << QStringList() << QStringList();
    QTest::newRow("codes that are no number, 0, negative")
        << QByteArray("A,abc\nB,0\nC,-3\nD\n\n") << QStringList() << QStringList();
    QTest::newRow("3 then 1") << QByteArray("Trois,3\nUn,1\n") << QStringList({"1", "2", "3"})
                              << QStringList({"1=Un", "2=", "3=Trois"});
    QTest::newRow("7.9 counts as 7") << QByteArray("Sept,7.9\n") << QStringList({"1", "2", "3", "4", "5", "6", "7"})
                                     << QStringList({"6=", "7=Sept"});
    QTest::newRow("05 finds page 5") << QByteArray("Cinq, 05 \n") << QStringList({"1", "2", "3", "4", "5"})
                                     << QStringList({"5=Cinq"});
    QTest::newRow("the later of two lines wins") << QByteArray("Avant,2\nApres,2\n") << QStringList({"1", "2"})
                                                 << QStringList({"1=", "2=Apres"});
  }
  void pages() {
    QFETCH(QByteArray, list);
    QFETCH(QStringList, codes);
    QFETCH(QStringList, names);
    testing::Harness h;
    h.write(SellerListFile, list);
    const ResultsRun run = WriteGeneralResults(0.1, "5/3/2025");
    QCOMPARE(run.ending, ResultsRun::Written);
    const QByteArray report = h.read(GeneralResultsFile);
    QCOMPARE(pageCodes(report), codes);
    QCOMPARE(run.pages, std::int64_t(codes.size()));
    if (codes.isEmpty()) QCOMPARE(lines(report).size(), 7);
    QCOMPARE(lines(report).last(), QString("}"));
    for (const QString& expected : names) {
      const QString code = expected.section('=', 0, 0);
      QCOMPARE(code + "=" + nameOnPage(report, code), expected);
    }
  }

  // A page without a seller line takes nothing from the seller before it
  // nor from the current seller: no name, no address, no fees; its coupons
  // and amounts are its own.
  void eachPageHoldsItsOwn_data() {
    QTest::addColumn<QString>("code");
    QTest::addColumn<QStringList>("seller");  // name, address, postal line
    QTest::addColumn<QString>("totals");
    QTest::addColumn<QString>("coupons");  // its one coupon row
    const auto row = [](const QString& coupon, const QString& amount) {
      return "{\\cell " + coupon + "\\cell " + amount + "\\cell \\cell \\cell \\cell \\cell \\cell \\cell \\cell}";
    };
    const QStringList nobody{"", "", "  "};
    const QString zero = "\\tab 0.00\\tab 0.00\\tab 0.00\\tab 0.00";
    QTest::newRow("1: below the first seller") << "1" << nobody << zero << row("0", "0.00");
    QTest::newRow("2: a seller renting") << "2" << QStringList({"Deux", "Rue 2", "2000  Bourg"})
                                         << "\\tab 20.00\\tab 2.00\\tab 15.00\\tab 3.00" << row("3", "20.00");
    QTest::newRow("3: after a seller renting") << "3" << nobody << "\\tab 10.00\\tab 1.00\\tab 0.00\\tab 9.00"
                                               << row("7", "10.00");
    QTest::newRow("4: no line, no sales") << "4" << nobody << zero << row("0", "0.00");
    QTest::newRow("5: a seller without sales") << "5" << QStringList({"Cinq", "Rue 5", "5000  Ville"}) << zero
                                               << row("0", "0.00");
  }
  void eachPageHoldsItsOwn() {
    QFETCH(QString, code);
    QFETCH(QStringList, seller);
    QFETCH(QString, totals);
    QFETCH(QString, coupons);
    testing::Harness h;
    gaps(h);
    QCOMPARE(WriteGeneralResults(0.1, "5/3/2025").ending, ResultsRun::Written);
    const QStringList page = pageOf(h.read(GeneralResultsFile), code);
    QCOMPARE(page.size(), 85);  // one coupon row
    QCOMPARE(QStringList({page.at(3), page.at(9), page.at(11)}), seller);
    QCOMPARE(page.at(30), totals);
    QCOMPARE(page.at(81), coupons);
  }

  // Numbers without sales read the placeholder; its file is written once a
  // run, however many numbers need it.
  void placeholderWrittenOnce() {
    testing::Harness h;
    gaps(h);
    Placements placed(h.folder());
    QVERIFY(placed.watching());
    QCOMPARE(WriteGeneralResults(0.1, "5/3/2025").ending, ResultsRun::Written);
    QCOMPARE(placed.of(NullSalesFile), 1);
    QCOMPARE(placed.of(GeneralResultsFile), 1);
    QCOMPARE(h.read(NullSalesFile), QByteArray("0,0\n"));
  }

  // A code beyond the register's highest: nothing is written, an older
  // report stays.
  void codeTooLarge() {
    testing::Harness h;
    h.write(SellerListFile, "Un,1\nTrop,100000\n");
    h.write(GeneralResultsFile, "older report\n");
    const ResultsRun run = WriteGeneralResults(0.1, "5/3/2025");
    QCOMPARE(run.ending, ResultsRun::CodeTooLarge);
    QCOMPARE(run.code, QString("100000"));
    QCOMPARE(h.read(GeneralResultsFile), QByteArray("older report\n"));
    QVERIFY(!h.exists(NullSalesFile));
  }

  // A disk that fills up while the report is written: the older report
  // stays as it was.
  void fullDisk() {
    testing::Harness h;
    fourNumbers(h);
    h.write(GeneralResultsFile, "older report\n");
    {
      testing::FileSizeLimit limit(2000);
      QCOMPARE(WriteGeneralResults(0.1, "5/3/2025").ending, ResultsRun::CannotWrite);
    }
    QCOMPARE(h.read(GeneralResultsFile), QByteArray("older report\n"));
    QCOMPARE(QDir(h.folder()).entryList({GeneralResultsFile + "*"}, QDir::Files | QDir::Hidden),
             QStringList{GeneralResultsFile});  // no temporary file left
  }

  // Every ending of a run from the button, with the messages in their order,
  // what the report then holds, and whether the window stays.
  void endings_data() {
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<int>("pages");  // -1: the older report is still there
    QTest::addColumn<bool>("launched");
    QTest::addColumn<bool>("stays");
    QTest::newRow("opened") << "" << QStringList{Confirmation} << 4 << true << false;
    QTest::newRow("opener fails") << "exit 1" << QStringList({Confirmation, AbiwordFailure}) << 4 << true << true;
    QTest::newRow("no seller list") << "no list" << QStringList{ListGone} << -1 << false << false;
    QTest::newRow("a folder in the report's place") << "report folder" << QStringList{CannotCreate} << -1 << false
                                                    << false;
    QTest::newRow("a folder in place of vendeur_3.csv")
        << "sales folder" << QStringList({NoSalesFile, Closing}) << 2 << false << true;
    QTest::newRow("a code too large")
        << "too large"
        << QStringList{"Le code vendeur 100000 est trop grand (99999 au plus): corrigez-le avec « Editer le fichier "
                       "des vendeurs »."}
        << -1 << false << true;
  }
  void endings() {
    QFETCH(QString, fault);
    QFETCH(QStringList, texts);
    QFETCH(int, pages);
    QFETCH(bool, launched);
    QFETCH(bool, stays);
    testing::Harness h;
    testing::StubOpener opener;
    fourNumbers(h);
    if (fault != "report folder") h.write(GeneralResultsFile, "older report\n");
    if (fault == "exit 1") opener.setExitStatus(1);
    if (fault == "no list") QVERIFY(QFile::remove(h.path(SellerListFile)));
    if (fault == "report folder") QVERIFY(QDir(h.folder()).mkdir(GeneralResultsFile));
    if (fault == "sales folder") QVERIFY(QDir(h.folder()).mkdir("vendeur_3.csv"));
    if (fault == "too large") h.write(SellerListFile, h.read(SellerListFile) + "Trop,100000\n");
    Module1::ovktaux = 0.1;
    Module1::myday = "5/3/2025";

    auto w = tk::Ref<utilities>();
    w->BevelButton2()->click();
    if (launched) QTRY_COMPARE(opener.calls().size(), 1);
    QTRY_COMPARE(h.dialogs().texts(), texts);
    QTRY_COMPARE(w.IsOpen(), stays);
    QTRY_COMPARE(tk::ProgramsRunning(), 0);
    QCOMPARE(opener.calls().size(), launched ? 1 : 0);
    if (pages < 0) {
      if (fault != "report folder") QCOMPARE(h.read(GeneralResultsFile), QByteArray("older report\n"));
    } else {
      const QByteArray report = h.read(GeneralResultsFile);
      QCOMPARE(pageCodes(report).size(), pages);
      QCOMPARE(lines(report).last(), QString("}"));
    }
    if (launched) {
      const testing::StubOpener::Call call = opener.calls().first();
      QCOMPARE(call.program, QString("abiword"));
      QCOMPARE(call.arguments.size(), 1);
      QVERIFY(QFileInfo(call.arguments[0]).isAbsolute());
      QCOMPARE(QFileInfo(call.arguments[0]).canonicalFilePath(), QFileInfo(h.path(GeneralResultsFile)).canonicalFilePath());
      QCOMPARE(call.copy, h.read(GeneralResultsFile));
    }
  }

  // The confirmation shows before the word processor starts: while it is
  // open, no program has been started and none is running.
  void confirmedBeforeTheWordProcessorStarts() {
    testing::Harness h;
    testing::StubOpener opener;
    fourNumbers(h);
    auto w = tk::Ref<utilities>();
    QString atTheBox;
    h.dialogs().runNext({[&] {
                           const bool running = PrintLaunchRunning(*w.get()) || tk::ProgramsRunning() > 0;
                           atTheBox = QString::number(opener.calls().size()) + " started, " +
                                      (running ? "running" : "none running");
                         },
                         [] { return true; }});
    w->BevelButton2()->click();
    QTRY_VERIFY(!w.IsOpen());  // once the word processor has ended
    QCOMPARE(atTheBox, QString("0 started, none running"));
    QCOMPARE(opener.calls().size(), 1);
    QCOMPARE(opener.calls().first().program, QString("abiword"));
    QCOMPARE(h.dialogs().texts(), QStringList{Confirmation});
  }

  // A run leaves the current seller as it was: a sheet's statement later
  // still prints its own seller.
  void currentSellerUntouched() {
    testing::Harness h;
    testing::StubOpener opener;
    fourNumbers(h);
    const QStringList before{"Autre", "9", "Rue 9", "9000", "Ville", "3", "2"};
    Module1::SonNom = before[0];
    Module1::vc2 = before[1];
    Module1::adresse2 = before[2];
    Module1::zip2 = before[3];
    Module1::localite2 = before[4];
    Module1::bacs2 = before[5];
    Module1::rampes2 = before[6];
    Module1::FindVendor = 9;
    auto w = tk::Ref<utilities>();
    w->BevelButton2()->click();
    QTRY_VERIFY(!w.IsOpen());
    QCOMPARE(QStringList({Module1::SonNom, Module1::vc2, Module1::adresse2, Module1::zip2, Module1::localite2,
                          Module1::bacs2, Module1::rampes2}),
             before);
    QCOMPARE(Module1::FindVendor, std::int64_t(9));
    QCOMPARE(h.dialogs().texts(), QStringList{Confirmation});
  }
};

QTEST_MAIN(TestGeneralResults)
#include "tst_generalresults.moc"
