#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTest>
#include <algorithm>
#include <optional>
#include <thread>

#include "core/sellerformat.h"
#include "register/editwin.h"
#include "register/sellerfields.h"
#include "register/vendorfiles.h"
#include "storage/filechange.h"
#include "storage/finishchange.h"
#include "support/bookings.h"
#include "support/desk.h"
#include "support/faults.h"
#include "support/harness.h"
#include "toolkit/application.h"

using testing::Harness;
using testing::Lines;
using storage::ChangeStep;

namespace {

const QByteArray SellerList = "A,1,,,,,1,2000,0,0\nB,2,,,,,2001,4000,0,0\n";

QByteArray couponMap() {
  QByteArray map;
  for (int j = 1; j <= 4000; ++j) map += QByteArray::number(j) + (j <= 2000 ? ",A,1\n" : ",B,2\n");
  return map;
}

// A fair under way: coupons 12 (seller 1) and 2025 (seller 2) booked.
void fairUnderWay(const Harness& h) {
  h.write(SellerListFile, SellerList);
  h.write(CouponMapFile, couponMap());
  h.write("OVKB2025_main.csv", testing::JournalFile("1/3/2025", "12,5.00,A,1\n2025,3.00,B,2\n"));
  h.write("vendeur_1.csv", "12,5.00\n");
  h.write("vendeur_2.csv", "2025,3.00\n");
}

// What the run that stopped dead may have shown: at most the failure message
// of the handler whose change stopped, besides the texts the steps before
// it show.
void expectAtMostTheFailure(Harness& h, const QString& failure, const QStringList& before = {}) {
  QStringList boxes;
  for (const testing::ScriptedDialogs::Shown& s : h.dialogs().shown())
    if (!s.isDialog) boxes << s.text;
  QVERIFY2(boxes == before || boxes == before + QStringList{failure}, qPrintable(boxes.join(" | ")));
  h.dialogs().texts();  // every box is now looked at
  h.dialogs().clear();
}

const QString ProblemCreating = QStringLiteral("Problem creating the text file!");
const QString CannotWrite = QStringLiteral("impossible d'écrire le fichier modifié!");
const QString NewSellerMessage =
    QStringLiteral("Entrez les coordonnées du nouveau vendeur puis cliquez sur \"Ajouter\"");

// The journal's bookings of one seller, as lines of that seller's sales
// file, in the journal's order.
QStringList journalSales(const Harness& h, const QString& code) {
  QStringList out;
  const QStringList lines = Lines(h, "OVKB2025_main.csv");
  for (int i = 2; i < lines.size(); ++i) {
    const QStringList f = lines.at(i).split(',');
    if (f.value(3) == code) out << f.value(0) + ',' + f.value(1);
  }
  return out;
}

// The journal and both sales files agree, and no change is left pending.
void expectAgreement(const Harness& h) {
  QCOMPARE(Lines(h, "vendeur_1.csv"), journalSales(h, "1"));
  QCOMPARE(Lines(h, "vendeur_2.csv"), journalSales(h, "2"));
  const QStringList ours = QDir(h.folder()).entryList({".corvalenta*"}, QDir::Files | QDir::Hidden);
  QCOMPARE(ours, QStringList());
}

// The opening finished the change without a word: only its start dialog.
void expectOnlyTheStartDialog(const Harness& h) {
  const auto& shown = const_cast<Harness&>(h).dialogs().shown();
  QCOMPARE(shown.size(), 1);
  QCOMPARE(shown.first().dialog.Title, testing::StartDialogTitle);
}

// The seller list and the coupon map describe the same sellers.
QByteArray mapOf(const QByteArray& list) {
  QByteArray map;
  for (const QByteArray& line : list.split('\n')) {
    if (line.isEmpty()) continue;
    const QList<QByteArray> f = line.split(',');
    for (int j = f.value(6).toInt(); j <= f.value(7).toInt(); ++j)
      map += QByteArray::number(j) + ',' + f.value(0) + ',' + f.value(1) + '\n';
  }
  return map;
}

// What the desk says of a change it could neither make nor take back, and
// what the next opening says once it has finished it.
QString startAgain(const QString& files) {
  return QStringLiteral("L'écriture dans les fichiers ") + files +
         QStringLiteral(" a échoué et n'a pas pu être annulée! Rien d'autre ne sera enregistré ni effacé: quittez "
                        "Corvalenta et relancez-le, la modification sera alors terminée.");
}
QString finishedAfterFailure(const QString& files) {
  return QStringLiteral("La modification des fichiers ") + files +
         QStringLiteral(", qui avait échoué avant le redémarrage, est maintenant terminée.");
}
// What an opening says of a change it cannot finish since a file was edited.
QString changedSince(const QString& files, const QString& file) {
  return QStringLiteral("Une modification des fichiers ") + files +
         QStringLiteral(" restée inachevée n'a pas pu être terminée: le fichier ") + file +
         QStringLiteral(" a changé depuis. Rien n'a été modifié. Vérifiez ") + file +
         QStringLiteral(": remettez-le comme il était pour que la modification soit terminée au prochain démarrage, "
                        "ou supprimez le fichier .corvalenta-change du dossier des données pour l'abandonner.");
}

const QString Journal = QStringLiteral("OVKB2025_main.csv");
const QString Sales1 = QStringLiteral("vendeur_1.csv");

// Seller 1 has coupons 11, 12 and 14, seller 2 has 2025.
void fairWithThreeLines(const Harness& h) {
  h.write(SellerListFile, SellerList);
  h.write(CouponMapFile, couponMap());
  h.write(Journal, testing::JournalFile("1/3/2025", "11,4.00,A,1\n12,5.00,A,1\n2025,3.00,B,2\n14,6.00,A,1\n"));
  h.write(Sales1, "11,4.00\n12,5.00\n14,6.00\n");
  h.write("vendeur_2.csv", "2025,3.00\n");
}

// The files once coupon 13 is booked, or coupon 12 removed, in that fair.
QByteArray changedFile(bool booking, const QString& file) {
  if (file == Sales1) return booking ? "11,4.00\n12,5.00\n14,6.00\n13,7.00\n" : "11,4.00\n14,6.00\n";
  if (booking) return testing::JournalFile("1/3/2025", "11,4.00,A,1\n12,5.00,A,1\n2025,3.00,B,2\n14,6.00,A,1\n13,7.00,A,1\n");
  return testing::JournalFile("5/3/2025", "11,4.00,A,1\n2025,3.00,B,2\n14,6.00,A,1\n");
}

// A hand edit: coupon 11's amount "4.00" made "4.5", a line before the
// change's place in both files; or a line for coupon 50 added at the end.
QByteArray editedByHand(QByteArray content, bool before, bool journal) {
  if (before) return content.replace("11,4.00", "11,4.5");
  return content + (journal ? "50,1.00,A,1\n" : "50,1.00\n");
}

}  // namespace

Q_DECLARE_METATYPE(storage::ChangeStep)

namespace {

// The moments a crash can stop a change at, for two kinds of change (the
// column `kind` true for the first), and whether the change is then whole
// after the next opening.
void crashRows(const char* kind, const char* first, const char* second) {
  QTest::addColumn<bool>(kind);
  QTest::addColumn<ChangeStep>("step");
  QTest::addColumn<int>("index");
  QTest::addColumn<bool>("whole");
  for (bool isFirst : {true, false}) {
    const char* what = isFirst ? first : second;
    QTest::addRow("%s: before the record", what) << isFirst << ChangeStep::WriteRecord << 0 << false;
    QTest::addRow("%s: record written", what) << isFirst << ChangeStep::ChangeFile << 0 << true;
    QTest::addRow("%s: first file done", what) << isFirst << ChangeStep::ChangeFile << 1 << true;
    QTest::addRow("%s: second file done", what) << isFirst << ChangeStep::RemoveRecord << 0 << true;
  }
}

}  // namespace

class TestInterruptedChanges : public QObject {
  Q_OBJECT
 private slots:
  // The program stops dead after each step of a booking or a removal; the
  // next opening leaves the journal and the sales files agreeing, holding
  // the change wholly or not at all.
  void deskChange_data() {
    crashRows("booking", "booking", "removal");
  }
  void deskChange() {
    QFETCH(bool, booking);
    QFETCH(ChangeStep, step);
    QFETCH(int, index);
    QFETCH(bool, whole);
    Harness h;
    fairUnderWay(h);
    auto desk = testing::OpenDesk(h);
    {
      testing::ChangeSteps crash(step, index, storage::StepAnswer::Stop);
      if (booking) {
        testing::Book(desk, "13", "7");
      } else {
        testing::Remove(desk, 0);
      }
    }
    expectAtMostTheFailure(h, booking ? ProblemCreating : CannotWrite);
    desk = testing::Restart(h);
    expectOnlyTheStartDialog(h);
    expectAgreement(h);
    QStringList seller1{"12,5.00"};
    if (whole) seller1 = booking ? QStringList({"12,5.00", "13,7.00"}) : QStringList();
    QCOMPARE(Lines(h, "vendeur_1.csv"), seller1);
    QCOMPARE(Lines(h, "vendeur_2.csv"), QStringList({"2025,3.00"}));
    QCOMPARE(desk->ReferenceBox()->ListCount(), 1 + seller1.size());
  }

  // The same for a seller saved in the creation window and in the editor:
  // the seller list and the coupon map agree after the next opening.
  void sellerSave_data() {
    crashRows("creation", "creation window", "editor");
  }
  void sellerSave() {
    QFETCH(bool, creation);
    QFETCH(ChangeStep, step);
    QFETCH(int, index);
    QFETCH(bool, whole);
    Harness h;
    fairUnderWay(h);
    const QByteArray newSeller = "C,3,,,,,4001,4005,0,0\n";
    QByteArray before = SellerList;
    if (creation) {
      auto w = tk::Ref<VendorFiles>();  // empties both files
      before.clear();
      const QStringList typed{"C", "3", "", "", "", "", "4001", "4005", "0", "0"};
      const SellerFieldList fields = SellerFields(*w.get());
      for (std::size_t i = 0; i < fields.size(); ++i) fields[i]->SetText(typed.value(static_cast<int>(i)));
      testing::ChangeSteps crash(step, index, storage::StepAnswer::Stop);
      w->BevelButton1()->click();
    } else {
      auto w = tk::Ref<editwin>();
      w->nouveau()->click();
      w->NomVendeur()->SetText("C");
      w->CouponStop()->SetText("4005");
      w->ajouter()->click();
      testing::ChangeSteps crash(step, index, storage::StepAnswer::Stop);
      w->EnretQuit()->click();
    }
    expectAtMostTheFailure(h, creation ? ProblemCreating : CannotWrite,
                           creation ? QStringList() : QStringList{NewSellerMessage});
    testing::Restart(h);
    const QByteArray list = h.read(SellerListFile);
    QCOMPARE(list, whole ? before + newSeller : before);
    QCOMPARE(h.read(CouponMapFile), mapOf(list));
    QCOMPARE(QDir(h.folder()).entryList({".corvalenta*"}, QDir::Files | QDir::Hidden), QStringList());
  }

  // A change that cannot be finished at the opening: the desk says which
  // files, touches nothing and ends the run; the next start finishes it.
  void changeThatCannotBeFinished_data() {
    QTest::addColumn<bool>("folder");  // a folder in the sales file's place; else a full disk
    QTest::addColumn<QString>("message");
    QTest::newRow("a folder in a file's place")
        << true
        << QString("Une modification des fichiers vendeur_1.csv, OVKB2025_main.csv restée inachevée n'a pas pu être "
                   "terminée: à la place du fichier vendeur_1.csv se trouve un dossier, un lien ou un fichier spécial. "
                   "Rien n'a été modifié. Vérifiez vendeur_1.csv: remettez le fichier à sa place pour que la "
                   "modification soit terminée au prochain démarrage, ou supprimez le fichier .corvalenta-change du "
                   "dossier des données pour l'abandonner.");
    QTest::newRow("a full disk")
        << false
        << QString("Une modification des fichiers vendeur_1.csv, OVKB2025_main.csv interrompue par un arrêt brutal "
                   "n'a pas pu être terminée! Rien n'est perdu: vérifiez qu'on peut écrire dans le dossier des "
                   "données, puis relancez le programme.");
  }
  void changeThatCannotBeFinished() {
    QFETCH(bool, folder);
    QFETCH(QString, message);
    Harness h;
    fairUnderWay(h);
    {
      auto desk = testing::OpenDesk(h);
      testing::ChangeSteps crash(ChangeStep::ChangeFile, 0, storage::StepAnswer::Stop);
      testing::Book(desk, "13", "7");
    }
    expectAtMostTheFailure(h, ProblemCreating);
    std::optional<testing::FileSizeLimit> full;
    if (folder) {
      QVERIFY(QFile::remove(h.path("vendeur_1.csv")));
      QVERIFY(QDir(h.folder()).mkdir("vendeur_1.csv"));
    } else {
      full.emplace(10);  // the sales file's line does not fit
    }
    const QByteArray journal = h.read("OVKB2025_main.csv");
    auto desk = testing::Restart(h);
    full.reset();
    QCOMPARE(h.dialogs().texts(), QStringList({message}));
    QCOMPARE(h.quits(), QList<int>({1}));
    QCOMPARE(desk->ReferenceBox()->ListCount(), 0);
    QCOMPARE(h.read("OVKB2025_main.csv"), journal);
    QVERIFY(h.exists(storage::ChangeRecordName));

    if (folder) {
      QVERIFY(QDir(h.folder()).rmdir("vendeur_1.csv"));
      h.write("vendeur_1.csv", "12,5.00\n");
    }
    QCOMPARE(h.read("vendeur_1.csv"), QByteArray("12,5.00\n"));
    h.dialogs().clear();
    tk::ResetQuitRequest();
    desk = testing::Restart(h);
    QVERIFY(desk.IsOpen());
    expectAgreement(h);
    QCOMPARE(Lines(h, "vendeur_1.csv"), QStringList({"12,5.00", "13,7.00"}));
  }

  // Between a crash and the next start a line is edited by hand, before the
  // change's place or added after it, in one file. Nothing the change did
  // not write is altered: either the change is finished whole (a booking's
  // line already in a file, with a line added after it), or the opening
  // leaves every file and the record as they are, says which file to check
  // and ends the run; with that file put back as it was, the next start
  // finishes the change.
  void handEditBetweenCrashAndStart_data() {
    QTest::addColumn<bool>("booking");
    QTest::addColumn<int>("done");  // files done when the run stopped
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("before");
    for (bool booking : {true, false})
      for (int done : {0, 1, 2})
        for (const QString& file : {Sales1, Journal})
          for (bool before : {true, false})
            QTest::addRow("%s, %d done, %s: %s", booking ? "booking" : "removal", done, qPrintable(file),
                          before ? "a line before edited" : "a line added after")
                << booking << done << file << before;
  }
  void handEditBetweenCrashAndStart() {
    QFETCH(bool, booking);
    QFETCH(int, done);
    QFETCH(QString, file);
    QFETCH(bool, before);
    Harness h;
    fairWithThreeLines(h);
    auto desk = testing::OpenDesk(h);
    {
      testing::ChangeSteps crash(done < 2 ? ChangeStep::ChangeFile : ChangeStep::RemoveRecord, done < 2 ? done : 0,
                                 storage::StepAnswer::Stop);
      if (booking) {
        testing::Book(desk, "13", "7");
      } else {
        testing::Remove(desk, 1);
      }
    }
    expectAtMostTheFailure(h, booking ? ProblemCreating : CannotWrite);
    const bool journal = file == Journal;
    const QString other = journal ? Sales1 : Journal;
    const QByteArray crashed = h.read(file);
    const QByteArray otherCrashed = h.read(other);
    h.write(file, editedByHand(crashed, before, journal));
    const QByteArray record = h.read(storage::ChangeRecordName);

    desk = testing::Restart(h);
    // A booking appends to the sales file first; a removal replaces the journal first.
    const bool fileDone = (booking != journal ? 0 : 1) < done;
    const QString files = booking ? Sales1 + ", " + Journal : Journal + ", " + Sales1;
    if (!booking || before || !fileDone) {
      QCOMPARE(h.dialogs().texts(), QStringList({changedSince(files, file)}));
      QCOMPARE(h.quits(), QList<int>({1}));
      QCOMPARE(h.read(file), editedByHand(crashed, before, journal));
      QCOMPARE(h.read(other), otherCrashed);
      QCOMPARE(h.read(storage::ChangeRecordName), record);

      h.write(file, crashed);
      h.dialogs().clear();
      tk::ResetQuitRequest();
      desk = testing::Restart(h);
      expectOnlyTheStartDialog(h);
      expectAgreement(h);
      QCOMPARE(h.read(file), changedFile(booking, file));
    } else {
      expectOnlyTheStartDialog(h);
      QCOMPARE(h.read(file), editedByHand(changedFile(booking, file), before, journal));
      QVERIFY(!h.exists(storage::ChangeRecordName));
    }
    QCOMPARE(h.read(other), changedFile(booking, other));
    QVERIFY(desk.IsOpen());
  }

  // A removal stopped dead once the journal was put in place, before the
  // sales file was; then the journal is changed by hand. The opening touches
  // no file, keeps the record, names the journal and ends the run; with the
  // journal put back as the removal left it, the next start finishes it.
  void removalWithItsJournalChangedSince_data() {
    QTest::addColumn<QString>("edit");
    QTest::newRow("a line added") << "added";
    QTest::newRow("emptied") << "emptied";
    QTest::newRow("its last line cut") << "cut";
    QTest::newRow("an amount changed") << "amount";
    QTest::newRow("put back from an older copy") << "older";
    QTest::newRow("deleted") << "deleted";
  }
  void removalWithItsJournalChangedSince() {
    QFETCH(QString, edit);
    Harness h;
    fairWithThreeLines(h);
    const QByteArray older = h.read(Journal);
    auto desk = testing::OpenDesk(h);
    {
      testing::ChangeSteps crash(ChangeStep::ChangeFile, 1, storage::StepAnswer::Stop);
      testing::Remove(desk, 1);
    }
    expectAtMostTheFailure(h, CannotWrite);
    const QByteArray removed = h.read(Journal);
    QCOMPARE(removed, changedFile(false, Journal));
    QByteArray edited = removed;
    if (edit == "added") edited += "50,1.00,A,1\n";
    if (edit == "emptied") edited.clear();
    if (edit == "cut") edited.chop(8);
    if (edit == "amount") edited.replace("14,6.00", "14,6.50");
    if (edit == "older") edited = older;
    if (edit == "deleted") {
      QVERIFY(QFile::remove(h.path(Journal)));
    } else {
      h.write(Journal, edited);
    }
    const QByteArray sales = h.read(Sales1);
    const QByteArray record = h.read(storage::ChangeRecordName);

    desk = testing::Restart(h);
    QCOMPARE(h.dialogs().texts(), QStringList({changedSince(Journal + ", " + Sales1, Journal)}));
    QCOMPARE(h.quits(), QList<int>({1}));
    QCOMPARE(h.exists(Journal), edit != "deleted");
    QCOMPARE(h.read(Journal), edit == "deleted" ? QByteArray() : edited);
    QCOMPARE(h.read(Sales1), sales);
    QCOMPARE(h.read(storage::ChangeRecordName), record);

    h.write(Journal, removed);
    h.dialogs().clear();
    tk::ResetQuitRequest();
    desk = testing::Restart(h);
    expectOnlyTheStartDialog(h);
    expectAgreement(h);
    QCOMPARE(h.read(Sales1), changedFile(false, Sales1));
  }

  // A booking stopped dead between its two files, its record then cut short
  // or altered (a disk, a hand): the opening does nothing with the record,
  // keeps it aside, says which files to check, and the desk opens as usual.
  void bookingWithItsRecordDamaged_data() {
    QTest::addColumn<bool>("cut");
    QTest::newRow("cut short") << true;
    QTest::newRow("a byte altered") << false;
  }
  void bookingWithItsRecordDamaged() {
    QFETCH(bool, cut);
    Harness h;
    fairUnderWay(h);
    auto desk = testing::OpenDesk(h);
    {
      testing::ChangeSteps crash(ChangeStep::ChangeFile, 1, storage::StepAnswer::Stop);
      testing::Book(desk, "13", "7");
    }
    expectAtMostTheFailure(h, ProblemCreating);
    QByteArray record = h.read(storage::ChangeRecordName);
    if (cut) {
      record.chop(3);
    } else {
      record.replace("13,7.00,A,1", "13,7.50,A,1");
    }
    h.write(storage::ChangeRecordName, record);
    const QByteArray sales = h.read(Sales1);
    const QByteArray journal = h.read(Journal);

    desk = testing::Restart(h);
    const auto& shown = h.dialogs().shown();
    QCOMPARE(shown.size(), 2);
    QCOMPARE(shown.at(0).text,
             QStringLiteral("Une modification des fichiers vendeur_1.csv, OVKB2025_main.csv a peut-être été "
                            "interrompue par un arrêt brutal, mais le fichier .corvalenta-change qui la décrit est "
                            "illisible ou endommagé: elle n'a pas été terminée. Vérifiez vendeur_1.csv, "
                            "OVKB2025_main.csv. Le fichier .corvalenta-change a été mis de côté sous le nom "
                            ".corvalenta-change-endommagee."));
    QCOMPARE(shown.at(1).dialog.Title, testing::StartDialogTitle);
    h.dialogs().texts();
    QVERIFY(desk.IsOpen());
    QVERIFY(h.quits().isEmpty());
    QCOMPARE(h.read(Sales1), sales);
    QCOMPARE(h.read(Journal), journal);
    QVERIFY(!h.exists(storage::ChangeRecordName));
    QCOMPARE(h.read(".corvalenta-change-endommagee"), record);
    QCOMPARE(desk->ReferenceBox()->ListCount(), 2);
    testing::Book(desk, "14", "2");
    QCOMPARE(Lines(h, Sales1).last(), QString("14,2.00"));
  }

  // A write fails, then taking it back fails too (as with an append-only
  // sales file beside a journal that cannot be written). The cashier is
  // told to start again, and nothing more is booked, removed or saved in
  // the run; the next opening finishes the change and says so: the files
  // agree, and the coupon is there once, or gone from both.
  void twoFaultsInARow_data() {
    QTest::addColumn<bool>("booking");
    QTest::newRow("booking") << true;
    QTest::newRow("removal") << false;
  }
  void twoFaultsInARow() {
    QFETCH(bool, booking);
    Harness h;
    fairUnderWay(h);
    auto desk = testing::OpenDesk(h);
    h.dialogs().clear();
    {
      testing::ChangeSteps faults([](ChangeStep step, int index) {
        const bool second = step == ChangeStep::ChangeFile && index == 1;
        return second || step == ChangeStep::RestoreFile ? storage::StepAnswer::Fail : storage::StepAnswer::Go;
      });
      if (booking) {
        testing::Book(desk, "13", "7");
      } else {
        testing::Remove(desk, 0);
      }
    }
    const QString files = booking ? Sales1 + ", " + Journal : Journal + ", " + Sales1;
    QCOMPARE(h.dialogs().texts(), QStringList({startAgain(files)}));
    QCOMPARE(desk->ReferenceBox()->ListCount(), 2);
    QVERIFY(h.exists(storage::ChangeRecordName));

    const QByteArray sales = h.read(Sales1);
    const QByteArray journal = h.read(Journal);
    testing::Book(desk, "14", "2");
    testing::Remove(desk, 1);
    QVERIFY(!tk::Ref<editwin>().IsOpen());  // its opening finds the change left
    QCOMPARE(h.dialogs().texts().mid(1), QStringList({startAgain(files), startAgain(files), startAgain(files)}));
    QCOMPARE(h.read(Sales1) + h.read(Journal), sales + journal);
    QCOMPARE(h.read("vendeur_2.csv"), QByteArray("2025,3.00\n"));
    QCOMPARE(h.read(SellerListFile), SellerList);
    h.dialogs().clear();

    desk = testing::Restart(h);
    const auto& shown = h.dialogs().shown();
    QCOMPARE(shown.size(), 2);
    QCOMPARE(shown.at(0).text, finishedAfterFailure(files));
    QCOMPARE(shown.at(1).dialog.Title, testing::StartDialogTitle);
    h.dialogs().texts();
    expectAgreement(h);
    QCOMPARE(Lines(h, Sales1), booking ? QStringList({"12,5.00", "13,7.00"}) : QStringList());
    QCOMPARE(desk->ReferenceBox()->ListCount(), booking ? 3 : 1);
  }

  // The folder's sync fails after a booking made a seller's first sales
  // file, or after a removal's renames: the change fails as any write does,
  // the files are as they were, and the desk books on.
  void failingFolderSync_data() {
    QTest::addColumn<bool>("booking");
    QTest::newRow("booking") << true;
    QTest::newRow("removal") << false;
  }
  void failingFolderSync() {
    QFETCH(bool, booking);
    Harness h;
    h.write(SellerListFile, SellerList);
    h.write(CouponMapFile, couponMap());
    h.write(Journal, testing::JournalFile("1/3/2025", "12,5.00,A,1\n"));
    h.write(Sales1, "12,5.00\n");
    const QByteArray journal = h.read(Journal);
    auto desk = testing::OpenDesk(h);
    h.dialogs().clear();
    {
      testing::ChangeSteps fail(ChangeStep::SyncFolder, 0, storage::StepAnswer::Fail);
      if (booking) {
        testing::Book(desk, "2025", "3");
      } else {
        testing::Remove(desk, 0);
      }
    }
    QCOMPARE(h.dialogs().texts(), QStringList({booking ? ProblemCreating : CannotWrite}));
    QCOMPARE(h.read(Journal), journal);
    QCOMPARE(h.read(Sales1), QByteArray("12,5.00\n"));
    QCOMPARE(QDir(h.folder()).entryList(QDir::Files | QDir::Hidden, QDir::Name),
             QStringList({SellerListFile, Journal, "ValComm.txt", CouponMapFile, Sales1}));
    QCOMPARE(desk->ReferenceBox()->ListCount(), 1);

    testing::Book(desk, "2026", "4");
    QCOMPARE(Lines(h, "vendeur_2.csv"), QStringList({"2026,4.00"}));
    expectAgreement(h);
  }

  // A real process killed (SIGKILL) at random moments of a series of
  // bookings and removals; after each kill the next opening finds the
  // journal and the sales files agreeing.
  void killedDuringABookingSeries() {
    Harness h;
    fairUnderWay(h);
    QRandomGenerator random(20251210);
    for (int round = 0; round < 12; ++round) {
      const QStringList before = Lines(h, "OVKB2025_main.csv");
      QProcess child;
      child.setWorkingDirectory(h.folder());
      child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
      child.start(QStringLiteral(CORVALENTA_CRASH_CHILD), {QString::number(100 + round * 100), "5", "3", "2025"});
      QVERIFY(child.waitForStarted());
      QElapsedTimer waited;
      waited.start();
      while (Lines(h, "OVKB2025_main.csv").size() < before.size() + 2 && waited.elapsed() < 20000)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
      QVERIFY2(waited.elapsed() < 20000, "the child books nothing");
      std::this_thread::sleep_for(std::chrono::milliseconds(random.bounded(40)));
      child.kill();
      QVERIFY(child.waitForFinished());
      QCOMPARE(child.exitStatus(), QProcess::CrashExit);

      auto desk = testing::Restart(h);
      QVERIFY(desk.IsOpen());
      expectAgreement(h);
      if (QTest::currentTestFailed()) return;
      QCOMPARE(desk->ReferenceBox()->ListCount(), Lines(h, "OVKB2025_main.csv").size() - 2);
      tk::CloseAllWindows();
    }
  }
};

QTEST_MAIN(TestInterruptedChanges)
#include "tst_interruptedchanges.moc"
