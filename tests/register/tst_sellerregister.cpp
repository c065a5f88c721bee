// The seller register's rules without its windows: no widget is built here.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QTest>
#include <utility>

#include "core/module1.h"
#include "core/unfinishedchange.h"
#include "storage/finishchange.h"
#include "register/registertests.h"
#include "register/sellerregister.h"
#include "support/datafolder.h"
#include "support/faults.h"

using testing::Browsing;
using testing::CannotWrite;
using testing::ChangedOnDisk;
using testing::Edited;
using testing::EditedAfterRefusal;
using testing::DataFolder;
using testing::NewSeller;
using testing::NewSellerAfterRefusal;
using testing::NewSellerMessage;
using testing::NoSellerSelected;
using testing::ProblemCreating;
using testing::SellerSelected;
using testing::ThreeSellers;

namespace {

SellerRecord seller(const QStringList& fields) {
  SellerRecord s;
  for (int k = 0; k < SellerRecord::FieldCount; ++k) s.fields[static_cast<std::size_t>(k)] = fields.value(k);
  return s;
}
QStringList texts(const SellerRecord& s) { return QStringList(s.fields.begin(), s.fields.end()); }
QStringList texts(const std::optional<SellerRecord>& s) { return s ? texts(*s) : QStringList{"(unchanged)"}; }

// The rows as seller lines.
QStringList rows(const SellerRegister& r) {
  QStringList out;
  for (const SellerRecord& s : r.Sellers()) out << SellerLine(s);
  return out;
}

QString offered(const SellerRegister& r) {
  const SellerRegister::Offer o = r.Offered();
  QString out;
  const std::pair<bool, char> offers[] = {{o.select, 'S'}, {o.modify, 'M'},  {o.add, 'A'}, {o.newSeller, 'N'},
                                          {o.abandon, 'A'}, {o.save, 'E'}, {o.quit, 'Q'}};
  for (const auto& [shown, letter] : offers) out += shown ? QChar(letter) : QChar('-');
  return out;
}

// The register as the editor loads it from this seller list.
void load(DataFolder& h, SellerRegister& r, const QByteArray& list) {
  h.write(SellerListFile, list);
  QCOMPARE(r.Load(), QString());
}

}  // namespace

class TestSellerRegister : public QObject {
  Q_OBJECT
 private slots:
  // Every field trimmed, every line cut or filled to ten fields.
  void loading_data() {
    QTest::addColumn<QByteArray>("list");
    QTest::addColumn<QStringList>("rows");
    QTest::newRow("empty list") << QByteArray() << QStringList();
    QTest::newRow("blanks around the fields")
        << QByteArray(" Aquaflore , 1 , Rue 1 ,a@x.ch,1000, Ville ,1,3,2,0\n")
        << QStringList{"Aquaflore,1,Rue 1,a@x.ch,1000,Ville,1,3,2,0"};
    QTest::newRow("short line") << QByteArray("Court,2\n") << QStringList{"Court,2,,,,,,,,"};
    QTest::newRow("a comma typed into the name")
        << QByteArray("Aqua, Nord,9,,,,,50,52,0,0\n") << QStringList{"Aqua,Nord,9,,,,,50,52,0"};
    QTest::newRow("line ends of a text editor, no end on the last")
        << QByteArray("A,1,,,,,1,2,0,0\r\nB,2,,,,,3,4,0,0") << QStringList{"A,1,,,,,1,2,0,0", "B,2,,,,,3,4,0,0"};
  }
  void loading() {
    QFETCH(QByteArray, list);
    QFETCH(QStringList, rows);
    DataFolder h;
    SellerRegister r;
    load(h, r, list);
    QCOMPARE(::rows(r), rows);
    QCOMPARE(offered(r), Browsing);
    QCOMPARE(h.read(SellerListFile), list);
  }

  void missingSellerList() {
    DataFolder h;
    SellerRegister r;
    QCOMPARE(r.Load(), QStringLiteral("Le fichier des vendeurs n'existe pas!"));
    QVERIFY(r.Sellers().empty());
    QVERIFY(!h.exists(SellerListFile));
    QVERIFY(!h.exists(CouponMapFile));
  }

  // The editor's states, led by the actions as a user can take them (only
  // those offered). The fields are carried from one action to the next as
  // the editor's fields would hold them.
  void states_data() {
    QTest::addColumn<QStringList>("steps");  // an action, or "name X", "code X", "last X" typed
    QTest::addColumn<QString>("after");
    QTest::addColumn<QStringList>("messages");
    const QStringList none;
    const QStringList fresh{NewSellerMessage};
    QTest::newRow("opening") << QStringList() << Browsing << none;
    QTest::newRow("select a row") << QStringList{"select 1"} << SellerSelected << none;
    QTest::newRow("select no row") << QStringList{"select -1"} << Browsing << QStringList{NoSellerSelected};
    QTest::newRow("modify") << QStringList{"select 1", "name Autre", "modify"} << Edited << none;
    QTest::newRow("abandon a selection") << QStringList{"select 1", "abandon"} << Edited << none;
    QTest::newRow("new") << QStringList{"new"} << NewSeller << fresh;
    QTest::newRow("add") << QStringList{"new", "name Neuf", "last 120", "add"} << Edited << fresh;
    QTest::newRow("abandon a new seller") << QStringList{"new", "abandon"} << Edited << fresh;
    QTest::newRow("refused add") << QStringList{"new", "add"} << NewSeller
                                 << QStringList{NewSellerMessage, "Le nom du vendeur est obligatoire!"};
    QTest::newRow("refused modify") << QStringList{"select 1", "code 1", "modify"} << SellerSelected
                                    << QStringList{QString::fromUtf8("Le code vendeur 1 est déjà attribué à Aquaflore!")};
    QTest::newRow("select once edited") << QStringList{"new", "abandon", "select 0"} << SellerSelected << fresh;
    QTest::newRow("select no row once edited")
        << QStringList{"new", "abandon", "select -1"} << Edited << QStringList{NewSellerMessage, NoSellerSelected};
    QTest::newRow("new once edited") << QStringList{"select 1", "modify", "new"} << NewSeller << fresh;
    QTest::newRow("save") << QStringList{"new", "abandon", "save"} << Browsing << fresh;
    QTest::newRow("refused save") << QStringList{"new", "abandon", "change the list", "save"} << EditedAfterRefusal
                                  << QStringList{NewSellerMessage, ChangedOnDisk};
    QTest::newRow("new after a refused save")
        << QStringList{"new", "abandon", "change the list", "save", "new"} << NewSellerAfterRefusal
        << QStringList{NewSellerMessage, ChangedOnDisk, NewSellerMessage};
    QTest::newRow("select after a refused save")
        << QStringList{"new", "abandon", "change the list", "save", "select 0"} << SellerSelected
        << QStringList{NewSellerMessage, ChangedOnDisk};
  }
  void states() {
    QFETCH(QStringList, steps);
    QFETCH(QString, after);
    QFETCH(QStringList, messages);
    DataFolder h;
    SellerRegister r;
    load(h, r, ThreeSellers);
    SellerRecord fields = seller({"", "", "", "", "", "", "", "", "0", "0"});
    QStringList shown;
    const QHash<QString, QChar> offers{{"select", 'S'}, {"modify", 'M'}, {"add", 'A'},
                                       {"new", 'N'},    {"abandon", 'A'}, {"save", 'E'}};
    const QHash<QString, int> offerAt{{"select", 0}, {"modify", 1}, {"add", 2}, {"new", 3}, {"abandon", 4}, {"save", 5}};
    for (const QString& step : steps) {
      const QString action = step.section(' ', 0, 0);
      const QString value = step.section(' ', 1);
      if (action == "name") fields[SellerRecord::Name] = value;
      else if (action == "code") fields[SellerRecord::Code] = value;
      else if (action == "last") fields[SellerRecord::LastCoupon] = value;
      else if (step == "change the list") h.write(SellerListFile, ThreeSellers + "Tardif,4,,,,,101,110,0,0\n");
      if (!offerAt.contains(action)) continue;
      QVERIFY2(offered(r).at(offerAt[action]) == offers[action], qPrintable(step + " is not offered"));
      SellerRegister::Step done;
      if (action == "select") done = r.Select(value.toInt());
      else if (action == "modify") done = r.Modify(fields);
      else if (action == "add") done = r.Add(fields);
      else if (action == "new") done = r.NewSeller();
      else if (action == "abandon") done = r.Abandon();
      else done = r.Save();
      if (done.fields) fields = *done.fields;
      shown << done.messages;
    }
    QCOMPARE(offered(r), after);
    QCOMPARE(shown, messages);
  }

  // "Sélectionner" records the row before anything else, even none.
  void select_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("done");
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<QStringList>("messages");
    QTest::newRow("a row") << 2 << true << QStringList{"Ichtyo", "3", "Quai 4", "", "3000", "Bourg", "41", "100", "0", "0"}
                           << QStringList();
    QTest::newRow("none") << -1 << false << QStringList{"(unchanged)"} << QStringList{NoSellerSelected};
    QTest::newRow("past the last row") << 3 << false << QStringList{"(unchanged)"} << QStringList{NoSellerSelected};
  }
  void select() {
    QFETCH(int, row);
    QFETCH(bool, done);
    QFETCH(QStringList, fields);
    QFETCH(QStringList, messages);
    DataFolder h;
    SellerRegister r;
    load(h, r, ThreeSellers);
    Module1::generalfailure = 1;
    const SellerRegister::Step s = r.Select(row);
    QCOMPARE(Module1::generalfailure, std::int64_t(row));
    QCOMPARE(s.done, done);
    QCOMPARE(s.row, -1);
    QCOMPARE(texts(s.fields), fields);
    QCOMPARE(s.messages, messages);
    QCOMPARE(offered(r), done ? SellerSelected : Browsing);
  }

  // A typed seller is stored as typed, blanks included; a refused one
  // changes no row and leaves the fields to be corrected.
  void edits_data() {
    QTest::addColumn<bool>("modify");  // of row 0, recorded by a selection; else "Ajouter"
    QTest::addColumn<QStringList>("typed");
    QTest::addColumn<QString>("message");  // empty: stored
    QTest::newRow("modify keeps the blanks")
        << true << QStringList{"  Aquaflore Nord ", "1", "Rue 1", "", "1000", "Ville", "1", "20", "2", "0"} << "";
    QTest::newRow("modify keeps the seller's own code and range")
        << true << QStringList{"Aquaflore", "1", "", "", "", "", "1", "25", "0", "0"} << "";
    QTest::newRow("modify to a code already given")
        << true << QStringList{"Aquaflore", "3", "", "", "", "", "1", "25", "0", "0"}
        << QString::fromUtf8("Le code vendeur 3 est déjà attribué à Ichtyo!");
    QTest::newRow("add after the last row") << false << QStringList{" Neuf ", "4", "", "", "", "", "101", "110", "0", "0"}
                                            << "";
    QTest::newRow("add over another range")
        << false << QStringList{"Neuf", "4", "", "", "", "", "90", "110", "0", "0"}
        << QString::fromUtf8("Les coupons 90 à 110 chevauchent ceux de Ichtyo (41 à 100)!");
  }
  void edits() {
    QFETCH(bool, modify);
    QFETCH(QStringList, typed);
    QFETCH(QString, message);
    DataFolder h;
    SellerRegister r;
    load(h, r, ThreeSellers);
    QStringList expected = rows(r);
    if (modify) QVERIFY(r.Select(0).done);
    const QString before = offered(r);

    const SellerRegister::Step s = modify ? r.Modify(seller(typed)) : r.Add(seller(typed));

    if (!message.isEmpty()) {
      QVERIFY(!s.done);
      QCOMPARE(s.messages, QStringList{message});
      QCOMPARE(texts(s.fields), QStringList{"(unchanged)"});
      QCOMPARE(rows(r), expected);
      QCOMPARE(offered(r), before);
      return;
    }
    if (modify) expected[0] = typed.join(',');
    else expected << typed.join(',');
    QVERIFY(s.done);
    QCOMPARE(s.row, modify ? 0 : 3);
    QCOMPARE(s.messages, QStringList());
    QCOMPARE(texts(s.fields), QStringList(10, QString()));
    QCOMPARE(rows(r), expected);
    QCOMPARE(offered(r), Edited);
    QCOMPARE(h.read(SellerListFile), ThreeSellers);  // in memory only, until the save
  }

  // The row written is the one recorded, whatever happened since; with
  // none recorded nothing happens, not even a message.
  void modifyWritesTheRecordedRow_data() {
    QTest::addColumn<qint64>("recorded");
    QTest::addColumn<int>("row");  // the row written; -1 for none
    QTest::newRow("row 2") << qint64(2) << 2;
    QTest::newRow("none") << qint64(-1) << -1;
    QTest::newRow("past the last row") << qint64(3) << -1;
    QTest::newRow("far beyond") << qint64(1) * 40000000000 << -1;
  }
  void modifyWritesTheRecordedRow() {
    QFETCH(qint64, recorded);
    QFETCH(int, row);
    DataFolder h;
    SellerRegister r;
    load(h, r, ThreeSellers);
    QStringList expected = rows(r);
    Module1::generalfailure = recorded;
    const QStringList typed{"Neuf", "9", "", "", "", "", "500", "600", "0", "0"};
    const SellerRegister::Step s = r.Modify(seller(typed));
    QCOMPARE(s.done, row >= 0);
    QCOMPARE(s.row, row);
    QCOMPARE(s.messages, QStringList());
    if (row >= 0) expected[row] = typed.join(',');
    QCOMPARE(rows(r), expected);
    QCOMPARE(offered(r), row >= 0 ? Edited : Browsing);
  }

  void newSeller_data() {
    QTest::addColumn<QByteArray>("list");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("first");
    QTest::newRow("empty list") << QByteArray() << "1" << "1";
    QTest::newRow("maxima from different rows")
        << QByteArray("A,3,,,,,1,150,0,0\nB,12,,,,,151,99,0,0\nC,abc,,,,,,,0,0\n") << "13" << "151";
    QTest::newRow("negative and zero") << QByteArray("A,-5,,,,,,,0,0\nB,0,,,,,,,0,0\n") << "1" << "1";
    QTest::newRow("fractions cut") << QByteArray("A,12.9,,,,,1,40.7,0,0\n") << "13" << "41";
    QTest::newRow("beyond 64 bits counts as 0") << QByteArray("A,1e30,,,,,1,99999999999999999999,0,0\n") << "1"
                                                << "1";
    QTest::newRow("largest 64-bit values") << QByteArray("A,9223372036854774784,,,,,1,9e18,0,0\n")
                                           << "9223372036854774785" << "9000000000000000001";
  }
  void newSeller() {
    QFETCH(QByteArray, list);
    QFETCH(QString, code);
    QFETCH(QString, first);
    DataFolder h;
    SellerRegister r;
    load(h, r, list);
    const SellerRegister::Step s = r.NewSeller();
    QVERIFY(s.done);
    QCOMPARE(texts(s.fields), QStringList({"", code, "", "", "", "", first, "", "0", "0"}));
    QCOMPARE(s.messages, QStringList{NewSellerMessage});
    QCOMPARE(offered(r), NewSeller);
  }

  // The proposals come from the rows as they stand, unsaved ones included.
  void newSellerFollowsTheRowJustAdded() {
    DataFolder h;
    SellerRegister r;
    load(h, r, ThreeSellers);
    SellerRecord typed = *r.NewSeller().fields;
    QCOMPARE(typed[SellerRecord::Code], QString("4"));
    typed[SellerRecord::Name] = "Neuf";
    typed[SellerRecord::LastCoupon] = "150";
    QVERIFY(r.Add(typed).done);
    const SellerRegister::Step again = r.NewSeller();
    QCOMPARE((*again.fields)[SellerRecord::Code], QString("5"));
    QCOMPARE((*again.fields)[SellerRecord::FirstCoupon], QString("151"));
  }

  void abandonEmptiesEveryField() {
    DataFolder h;
    SellerRegister r;
    load(h, r, ThreeSellers);
    QVERIFY(r.NewSeller().done);
    const SellerRegister::Step s = r.Abandon();
    QCOMPARE(texts(s.fields), QStringList(10, QString()));
    QCOMPARE(s.row, -1);
    QCOMPARE(rows(r).join('\n').toUtf8() + '\n', ThreeSellers);
    QCOMPARE(offered(r), Edited);
  }

  // A save replaces both files by the rows, or refuses and leaves both as
  // they were.
  void save_data() {
    QTest::addColumn<QByteArray>("list");
    QTest::addColumn<QString>("meanwhile");  // what happens between the load and the save
    QTest::addColumn<QString>("message");    // empty: saved
    QTest::addColumn<QByteArray>("savedList");
    QTest::addColumn<QByteArray>("savedMap");
    QTest::newRow("trimmed and the coupon map rebuilt")
        << QByteArray(" Aquaflore ,1,,,,,1,3,0,0\nCourt,2\nInverse,4,,,,,30,20,0,0\n") << "" << ""
        << QByteArray("Aquaflore,1,,,,,1,3,0,0\nCourt,2,,,,,,,,\nInverse,4,,,,,30,20,0,0\n")
        << testing::couponLines(1, 3, "Aquaflore,1") + "0,Court,2\n";
    QTest::newRow("empty list") << QByteArray() << "" << "" << QByteArray() << QByteArray();
    QTest::newRow("rows breaking the checks, as they are")
        << QByteArray("Ancien,07,,,,,1,20000,0,0\nDouble,07,,,,,5,6,0,0\n") << "" << ""
        << QByteArray("Ancien,07,,,,,1,20000,0,0\nDouble,07,,,,,5,6,0,0\n")
        << testing::couponLines(1, 20000, "Ancien,07") + testing::couponLines(5, 6, "Double,07");
    QTest::newRow("a line appended") << ThreeSellers << "append" << ChangedOnDisk << QByteArray() << QByteArray();
    QTest::newRow("one byte changed") << ThreeSellers << "byte" << ChangedOnDisk << QByteArray() << QByteArray();
    QTest::newRow("seller list removed") << ThreeSellers << "remove" << ChangedOnDisk << QByteArray() << QByteArray();
    QTest::newRow("coupon map cannot be written") << ThreeSellers << "map folder" << CannotWrite << QByteArray()
                                                  << QByteArray();
    QTest::newRow("a range no fair has")
        << QByteArray("Aquaflore,1,,,,,1,25,0,0\nFaute,2,,,,,26,1000000000000,0,0\n") << ""
        << QString::fromUtf8("Les coupons 26 à 1000000000000 de Faute sont trop nombreux pour être enregistrés! "
                             "Corrigez-les avec \"Sélectionner\" puis \"Modifier\".")
        << QByteArray() << QByteArray();
  }
  void save() {
    QFETCH(QByteArray, list);
    QFETCH(QString, meanwhile);
    QFETCH(QString, message);
    QFETCH(QByteArray, savedList);
    QFETCH(QByteArray, savedMap);
    DataFolder h;
    h.write(CouponMapFile, "999,Perdu,99\n");
    SellerRegister r;
    load(h, r, list);
    if (meanwhile == "append") {
      h.write(SellerListFile, list + "Tardif,4,,,,,101,110,0,0\n");
    } else if (meanwhile == "byte") {
      QByteArray changed = list;
      changed[0] = 'a';
      h.write(SellerListFile, changed);
    } else if (meanwhile == "remove") {
      QVERIFY(QFile::remove(h.path(SellerListFile)));
    } else if (meanwhile == "map folder") {
      QVERIFY(QFile::remove(h.path(CouponMapFile)));
      QVERIFY(QDir(h.folder()).mkdir(CouponMapFile));
    }
    const bool listThere = h.exists(SellerListFile);
    const QByteArray listBefore = h.read(SellerListFile);
    const QByteArray mapBefore = h.read(CouponMapFile);
    const QStringList rowsBefore = rows(r);

    const SellerRegister::Step s = r.Save();

    QCOMPARE(s.done, message.isEmpty());
    QCOMPARE(s.messages, message.isEmpty() ? QStringList() : QStringList{message});
    QCOMPARE(texts(s.fields), QStringList{"(unchanged)"});
    QCOMPARE(rows(r), rowsBefore);
    if (s.done) {
      QCOMPARE(h.read(SellerListFile), savedList);
      QCOMPARE(h.read(CouponMapFile), savedMap);
      QCOMPARE(offered(r), Browsing);
      return;
    }
    QCOMPARE(h.exists(SellerListFile), listThere);
    QCOMPARE(h.read(SellerListFile), listBefore);
    QCOMPARE(h.read(CouponMapFile), mapBefore);
    QVERIFY(QFileInfo(h.path(CouponMapFile)).isDir() == (meanwhile == "map folder"));
    QCOMPARE(offered(r), EditedAfterRefusal);
  }

  // The coupon map cannot be put in place and the seller list cannot be
  // put back: the save is left for the next start, the message says to
  // start again, and nothing more is saved in this run. The next start's
  // opening finishes it.
  void saveThatLeavesTheFilesDisagreeing() {
    DataFolder h;
    const QByteArray map = testing::couponLines(1, 50, "Aquaflore,1");
    h.write(CouponMapFile, map);
    SellerRegister r;
    load(h, r, "Aquaflore,1,Rue 1,,,,1,50,0,0\n");
    QVERIFY(r.Select(0).done);
    QVERIFY(r.Modify(seller({"Aquaflore", "1", "", "", "", "", "1", "40", "0", "0"})).done);
    const QByteArray changed = "Aquaflore,1,,,,,1,40,0,0\n";
    SellerRegister::Step s;
    {
      testing::ChangeSteps faults([](storage::ChangeStep step, int index) {
        const bool couponMap = step == storage::ChangeStep::ChangeFile && index == 1;
        return couponMap || step == storage::ChangeStep::RestoreFile ? storage::StepAnswer::Fail : storage::StepAnswer::Go;
      });
      s = r.Save();
    }
    const QString startAgain = QString::fromUtf8(
        "L'écriture dans les fichiers ListeVendeurs.csv, couponsvendeurs.csv a échoué et n'a pas pu être annulée! "
        "Rien d'autre ne sera enregistré ni effacé: quittez Corvalenta et relancez-le, la modification sera alors "
        "terminée.");
    QVERIFY(!s.done);
    QCOMPARE(s.messages, QStringList{startAgain});
    QCOMPARE(h.read(SellerListFile), changed);
    QCOMPARE(h.read(CouponMapFile), map);
    QCOMPARE(offered(r), EditedAfterRefusal);

    const SellerRegister::Step again = r.Save();
    QVERIFY(!again.done);
    QCOMPARE(again.messages, QStringList{startAgain});
    QCOMPARE(h.read(CouponMapFile), map);

    storage::ForgetGivenUpChange();  // the next start
    QCOMPARE(storage::FinishUnfinishedChange(IsChangeableDataFile).outcome, storage::UnfinishedChange::Finished);
    QCOMPARE(h.read(SellerListFile), changed);
    QCOMPARE(h.read(CouponMapFile), testing::couponLines(1, 40, "Aquaflore,1"));
  }

  // The creation window's opening: both files empty, "1" offered as the
  // first code and first coupon; or, when either cannot be emptied,
  // neither is.
  void startAfresh_data() {
    QTest::addColumn<QString>("blocked");  // a folder stands where this file should be
    QTest::newRow("both files hold sellers") << "";
    QTest::newRow("neither exists") << "none";
    QTest::newRow("seller list blocked") << SellerListFile;
    QTest::newRow("coupon map blocked") << CouponMapFile;
  }
  void startAfresh() {
    QFETCH(QString, blocked);
    DataFolder h;
    const QByteArray list = "Aquaflore,3,Rue 1,,1000,Ville,1,3,2,0\n";
    const QByteArray map = "1,Aquaflore,3\n2,Aquaflore,3\n3,Aquaflore,3\n";
    if (blocked != "none") {
      if (blocked != SellerListFile) h.write(SellerListFile, list);
      if (blocked != CouponMapFile) h.write(CouponMapFile, map);
    }
    if (blocked.endsWith(".csv")) QVERIFY(QDir(h.folder()).mkdir(blocked));
    SellerRegister r;

    const SellerRegister::Step s = r.StartAfresh();

    QCOMPARE(texts(s.fields), QStringList({"", "1", "", "", "", "", "1", "", "0", "0"}));
    QVERIFY(r.Sellers().empty());
    if (!blocked.endsWith(".csv")) {
      QVERIFY(s.done);
      QCOMPARE(s.messages, QStringList());
      QVERIFY(h.exists(SellerListFile) && h.exists(CouponMapFile));
      QCOMPARE(h.read(SellerListFile), QByteArray());
      QCOMPARE(h.read(CouponMapFile), QByteArray());
      return;
    }
    QVERIFY(!s.done);
    QCOMPARE(s.messages, QStringList{QString::fromUtf8("Impossible de remettre à zéro les fichiers vendeurs!")});
    if (blocked != SellerListFile) QCOMPARE(h.read(SellerListFile), list);
    if (blocked != CouponMapFile) QCOMPARE(h.read(CouponMapFile), map);
  }

  // Each seller added at creation goes to both files and to the list; the
  // fields then offer the code after the one typed and the range after it.
  void addAtCreation_data() {
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("last");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("nextFirst");
    QTest::addColumn<QString>("nextCode");
    QTest::newRow("the offer kept") << "26" << "40" << "2" << "41" << "3";
    QTest::newRow("one coupon") << "40" << "40" << "2" << "41" << "3";
    QTest::newRow("code typed over the offer") << "26" << "30" << "7" << "31" << "8";
    QTest::newRow("highest values") << "999990000" << "999999999" << "99999" << "1000000000" << "100000";
  }
  void addAtCreation() {
    QFETCH(QString, first);
    QFETCH(QString, last);
    QFETCH(QString, code);
    QFETCH(QString, nextFirst);
    QFETCH(QString, nextCode);
    DataFolder h;
    SellerRegister r;
    QVERIFY(r.StartAfresh().done);
    QVERIFY(r.AddAtCreation(seller({"Aquaflore", "1", "", "", "", "", "1", "25", "0", "0"})).done);
    const QStringList typed{"Plantes", code, "Rue 2", "p@x.ch", "2000", "Bourg", first, last, "1", "2"};

    const SellerRegister::Step s = r.AddAtCreation(seller(typed));

    QVERIFY(s.done);
    QCOMPARE(s.row, 1);
    QCOMPARE(s.messages, QStringList());
    QCOMPARE(texts(s.fields), QStringList({"", nextCode, "", "", "", "", nextFirst, "", "0", "0"}));
    QCOMPARE(rows(r), QStringList({"Aquaflore,1,,,,,1,25,0,0", typed.join(',')}));
    QCOMPARE(h.read(SellerListFile), "Aquaflore,1,,,,,1,25,0,0\n" + typed.join(',').toUtf8() + "\n");
    QCOMPARE(h.read(CouponMapFile), testing::couponLines(1, 25, "Aquaflore,1") +
                                        testing::couponLines(first.toInt(), last.toInt(), "Plantes," + code));
  }

  // The typed seller is checked against the sellers listed and those of
  // the seller list as it is now (an editor may have saved meanwhile); a
  // refusal or a failed append changes no file and lists nothing.
  void addAtCreationRefused_data() {
    QTest::addColumn<QStringList>("typed");
    QTest::addColumn<QString>("blocked");  // a folder stands where this file should be
    QTest::addColumn<QString>("message");
    QTest::newRow("code of a seller listed")
        << QStringList{"B", "1", "", "", "", "", "26", "30", "0", "0"} << ""
        << QString::fromUtf8("Le code vendeur 1 est déjà attribué à Aquaflore!");
    QTest::newRow("range of a seller only on disk")
        << QStringList{"B", "3", "", "", "", "", "30", "60", "0", "0"} << ""
        << QString::fromUtf8("Les coupons 30 à 60 chevauchent ceux de Plantes (26 à 40)!");
    QTest::newRow("coupon map is a folder") << QStringList{"B", "3", "", "", "", "", "41", "60", "0", "0"}
                                            << CouponMapFile << ProblemCreating;
    QTest::newRow("seller list is a folder") << QStringList{"B", "3", "", "", "", "", "41", "60", "0", "0"}
                                             << SellerListFile << ProblemCreating;
  }
  void addAtCreationRefused() {
    QFETCH(QStringList, typed);
    QFETCH(QString, blocked);
    QFETCH(QString, message);
    DataFolder h;
    SellerRegister r;
    QVERIFY(r.StartAfresh().done);
    QVERIFY(r.AddAtCreation(seller({"Aquaflore", "1", "", "", "", "", "1", "25", "0", "0"})).done);
    // An editor saved a seller this register did not list.
    h.write(SellerListFile, h.read(SellerListFile) + "Plantes,2,,,,,26,40,0,0\n");
    if (!blocked.isEmpty()) {
      QVERIFY(QFile::remove(h.path(blocked)));
      QVERIFY(QDir(h.folder()).mkdir(blocked));
    }
    const QByteArray list = h.read(SellerListFile);
    const QByteArray map = h.read(CouponMapFile);

    const SellerRegister::Step s = r.AddAtCreation(seller(typed));

    QVERIFY(!s.done);
    QCOMPARE(s.messages, QStringList{message});
    QCOMPARE(texts(s.fields), QStringList{"(unchanged)"});
    QCOMPARE(rows(r), QStringList{"Aquaflore,1,,,,,1,25,0,0"});
    QCOMPARE(h.read(SellerListFile), list);
    QCOMPARE(h.read(CouponMapFile), map);
  }
};

QTEST_GUILESS_MAIN(TestSellerRegister)
#include "tst_sellerregister.moc"
