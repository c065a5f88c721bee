#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <optional>

#include "storage/filechange.h"
#include "storage/finishchange.h"
#include "support/datafolder.h"
#include "support/faults.h"
#include "support/records.h"

namespace {

using storage::ChangeStep;
using storage::StepAnswer;

tk::FolderItem file(const QString& name) { return tk::GetFolderItem("").Child(name); }

// The files of these tests stand for the data files a change writes.
storage::UnfinishedChange finish() {
  return storage::FinishUnfinishedChange([](const QString& name) { return name.endsWith(".csv"); });
}

// Everything in the data folder, hidden files included, but the record.
QStringList leftovers(const testing::DataFolder& h) {
  return QDir(h.folder()).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

const QByteArray SalesBefore("12,5.00\n");
const QByteArray JournalBefore("head\n12,5.00,A,1\n");

}  // namespace

Q_DECLARE_METATYPE(storage::ChangeStep)

class TestFileChange : public QObject {
  Q_OBJECT
 private slots:
  // On a failure in the run every file is as it was: byte order marks,
  // CRLF ends and missing files included.
  void severalFilesAsOne() {
    testing::DataFolder h;
    h.write("a.csv", "\xEF\xBB\xBF" "a\r\n");
    tk::FolderItem a = file("a.csv");
    tk::FolderItem b = file("b.csv");
    QDir(h.folder()).mkdir("b.csv");
    QCOMPARE(storage::ReplaceAsOne({storage::LinesInto(a, {"new"}), storage::LinesInto(b, {"x"})}), storage::Replaced::Nothing);
    QCOMPARE(h.read("a.csv"), QByteArray("\xEF\xBB\xBF" "a\r\n"));  // put back byte for byte
    QVERIFY(!storage::AppendAsOne({storage::LinesInto(a, {"more"}), storage::LinesInto(b, {"x"})}));
    QCOMPARE(h.read("a.csv"), QByteArray("\xEF\xBB\xBF" "a\r\n"));
    QVERIFY(QDir(h.folder()).rmdir("b.csv"));
    QVERIFY(storage::AppendAsOne({storage::LinesInto(a, {"more"}), storage::LinesInto(b, {"x"})}));
    QCOMPARE(h.read("b.csv"), QByteArray("x\n"));
    QCOMPARE(storage::ReplaceAsOne({storage::LinesInto(a, {"1"}), storage::LinesInto(b, {"2"})}), storage::Replaced::All);
    QCOMPARE(h.read("a.csv") + h.read("b.csv"), QByteArray("1\n2\n"));
    QCOMPARE(leftovers(h), QStringList({"a.csv", "b.csv"}));  // no record, nothing prepared
  }

  // Appended lines start on a line of their own, even in a file whose last
  // line lacks its end (one edited by hand): two records never run into one.
  void appendStartsOnALineOfItsOwn_data() {
    QTest::addColumn<QByteArray>("before");  // null: no such file
    QTest::addColumn<QByteArray>("after");
    QTest::newRow("missing") << QByteArray() << QByteArray("2\n");
    QTest::newRow("empty") << QByteArray("") << QByteArray("2\n");
    QTest::newRow("ended") << QByteArray("1\n") << QByteArray("1\n2\n");
    QTest::newRow("ended by CRLF") << QByteArray("1\r\n") << QByteArray("1\r\n2\n");
    QTest::newRow("last line without its end") << QByteArray("1\n12,5.00") << QByteArray("1\n12,5.00\n2\n");
  }
  void appendStartsOnALineOfItsOwn() {
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);
    testing::DataFolder h;
    h.write("j.csv", "head");
    if (!before.isNull()) h.write("a.csv", before);
    QVERIFY(storage::AppendAsOne({storage::LinesInto(file("a.csv"), {"2"}), storage::LinesInto(file("j.csv"), {"x"})}));
    QCOMPARE(h.read("a.csv"), after);
    QCOMPARE(h.read("j.csv"), QByteArray("head\nx\n"));

    // The same change finished after a crash, once or twice.
    if (before.isNull()) {
      QVERIFY(QFile::remove(h.path("a.csv")));
    } else {
      h.write("a.csv", before);
    }
    h.write("j.csv", "head");
    {
      testing::ChangeSteps crash(ChangeStep::ChangeFile, 1, StepAnswer::Stop);
      storage::AppendAsOne({storage::LinesInto(file("a.csv"), {"2"}), storage::LinesInto(file("j.csv"), {"x"})});
    }
    const QByteArray record = h.read(storage::ChangeRecordName);
    QCOMPARE(finish().outcome, storage::UnfinishedChange::Finished);
    h.write(storage::ChangeRecordName, record);
    QCOMPARE(finish().outcome, storage::UnfinishedChange::Finished);
    QCOMPARE(h.read("a.csv"), after);
    QCOMPARE(h.read("j.csv"), QByteArray("head\nx\n"));
  }

  // A failure in the run: the files as they were, and no record that a
  // later start could take for a crash.
  void failuresInTheRun_data() {
    QTest::addColumn<bool>("append");
    QTest::addColumn<ChangeStep>("step");
    QTest::addColumn<int>("index");
    QTest::newRow("append: record") << true << ChangeStep::WriteRecord << 0;
    QTest::newRow("append: first file") << true << ChangeStep::ChangeFile << 0;
    QTest::newRow("append: second file, the first taken back") << true << ChangeStep::ChangeFile << 1;
    QTest::newRow("replace: record") << false << ChangeStep::WriteRecord << 0;
    QTest::newRow("replace: first file") << false << ChangeStep::ChangeFile << 0;
    QTest::newRow("replace: second file, the first put back") << false << ChangeStep::ChangeFile << 1;
  }
  void failuresInTheRun() {
    QFETCH(bool, append);
    QFETCH(ChangeStep, step);
    QFETCH(int, index);
    testing::DataFolder h;
    h.write("vendeur_1.csv", SalesBefore);
    h.write("journal.csv", JournalBefore);
    const std::vector<storage::FileWrite> parts{storage::LinesInto(file("vendeur_1.csv"), {"13,7.00"}),
                                           storage::LinesInto(file("journal.csv"), {"13,7.00,A,1"})};
    {
      testing::ChangeSteps fail(step, index, StepAnswer::Fail);
      if (append) {
        QVERIFY(!storage::AppendAsOne(parts));
      } else {
        QCOMPARE(storage::ReplaceAsOne(parts), storage::Replaced::Nothing);
      }
    }
    QCOMPARE(h.read("vendeur_1.csv"), SalesBefore);
    QCOMPARE(h.read("journal.csv"), JournalBefore);
    QCOMPARE(leftovers(h), QStringList({"journal.csv", "vendeur_1.csv"}));
    QCOMPARE(finish().outcome, storage::UnfinishedChange::None);
  }

  // A failure whose taking back fails too: the change is left where the
  // record finishes it (a file put back is given its new bytes again, or,
  // should that fail, finds them kept beside it at the next start), the
  // record stays, marked as given up, and nothing else is changed in this
  // run, not even by a finishing. The next start finishes the change.
  void changeThatCannotBeTakenBack_data() {
    QTest::addColumn<bool>("append");
    QTest::addColumn<bool>("bMissing");  // b.csv made by the change
    QTest::addColumn<ChangeStep>("failing");
    QTest::addColumn<int>("restoreFailing");  // the file that cannot be taken back
    QTest::addColumn<bool>("redoFails");      // a file put back cannot get its new bytes again
    QTest::addColumn<QByteArray>("left");     // a.csv and b.csv after the failure
    QTest::addColumn<QByteArray>("finished");
    QTest::newRow("append: second file fails, the first cannot be cut back")
        << true << false << ChangeStep::ChangeFile << 0 << false << QByteArray("1\nA\n|2\n") << QByteArray("1\nA\n|2\nB\n");
    QTest::newRow("append: folder sync fails, the file made cannot be removed")
        << true << true << ChangeStep::SyncFolder << 1 << false << QByteArray("1\n|B\n") << QByteArray("1\nA\n|B\n");
    QTest::newRow("replace: second file fails, the first cannot be put back")
        << false << false << ChangeStep::ChangeFile << 0 << false << QByteArray("A\n|2\n") << QByteArray("A\n|B\n");
    QTest::newRow("replace: folder sync fails, the second cannot be put back")
        << false << false << ChangeStep::SyncFolder << 1 << false << QByteArray("A\n|B\n") << QByteArray("A\n|B\n");
    QTest::newRow("replace: the second cannot be put back, nor the first given its new bytes again")
        << false << false << ChangeStep::SyncFolder << 1 << true << QByteArray("1\n|B\n") << QByteArray("A\n|B\n");
  }
  void changeThatCannotBeTakenBack() {
    QFETCH(bool, append);
    QFETCH(bool, bMissing);
    QFETCH(ChangeStep, failing);
    QFETCH(int, restoreFailing);
    QFETCH(bool, redoFails);
    QFETCH(QByteArray, left);
    QFETCH(QByteArray, finished);
    testing::DataFolder h;
    h.write("a.csv", "1\n");
    if (!bMissing) h.write("b.csv", "2\n");
    const auto files = [&] { return h.read("a.csv") + '|' + h.read("b.csv"); };
    const std::vector<storage::FileWrite> parts{storage::LinesInto(file("a.csv"), {"A"}), storage::LinesInto(file("b.csv"), {"B"})};
    {
      int firstFileSteps = 0;
      testing::ChangeSteps faults([&](ChangeStep step, int index) {
        const bool redo = step == ChangeStep::ChangeFile && index == 0 && ++firstFileSteps == 2;
        const bool fails = (step == failing && (step != ChangeStep::ChangeFile || index == 1)) ||
                           (step == ChangeStep::RestoreFile && index == restoreFailing) || (redo && redoFails);
        return fails ? StepAnswer::Fail : StepAnswer::Go;
      });
      if (append) {
        QVERIFY(!storage::AppendAsOne(parts));
      } else {
        QCOMPARE(storage::ReplaceAsOne(parts), storage::Replaced::Partly);
      }
    }
    QCOMPARE(files(), left);
    QCOMPARE(storage::GivenUpChange(), QStringList({"a.csv", "b.csv"}));
    QVERIFY(h.exists(storage::ChangeRecordName));
    const QStringList folder = leftovers(h);

    QVERIFY(!storage::AppendAsOne({storage::LinesInto(file("a.csv"), {"x"})}));
    QCOMPARE(storage::ReplaceAsOne({storage::LinesInto(file("c.csv"), {"y"})}), storage::Replaced::Nothing);
    const storage::UnfinishedChange inThisRun = finish();
    QCOMPARE(inThisRun.outcome, storage::UnfinishedChange::GivenUp);
    QCOMPARE(inThisRun.files, QStringList({"a.csv", "b.csv"}));
    QCOMPARE(files(), left);
    QCOMPARE(leftovers(h), folder);

    storage::ForgetGivenUpChange();  // the next start
    const storage::UnfinishedChange next = finish();
    QCOMPARE(next.outcome, storage::UnfinishedChange::Finished);
    QVERIFY(next.told);
    QCOMPARE(files(), finished);
    QCOMPARE(leftovers(h), QStringList({"a.csv", "b.csv"}));
    QVERIFY(storage::AppendAsOne({storage::LinesInto(file("a.csv"), {"x"})}));
  }

  // A failure, every file taken back, and then the folder's sync fails: the
  // taking back may not last, so the record stays and the change is given
  // up, to be finished at the next start, rather than half undone unseen.
  void takingBackThatCannotBeSynced_data() {
    QTest::addColumn<bool>("append");
    QTest::newRow("append") << true;
    QTest::newRow("replacement") << false;
  }
  void takingBackThatCannotBeSynced() {
    QFETCH(bool, append);
    testing::DataFolder h;
    h.write("a.csv", "1\n");
    const std::vector<storage::FileWrite> parts{storage::LinesInto(file("a.csv"), {"A"}), storage::LinesInto(file("b.csv"), {"B"})};
    {
      testing::ChangeSteps faults([](ChangeStep step, int index) {
        const bool fails = (step == ChangeStep::ChangeFile && index == 1) || (step == ChangeStep::SyncFolder && index == 1);
        return fails ? StepAnswer::Fail : StepAnswer::Go;
      });
      if (append) {
        QVERIFY(!storage::AppendAsOne(parts));
      } else {
        QCOMPARE(storage::ReplaceAsOne(parts), storage::Replaced::Partly);
      }
    }
    QCOMPARE(storage::GivenUpChange(), QStringList({"a.csv", "b.csv"}));
    QVERIFY(h.exists(storage::ChangeRecordName));
    storage::ForgetGivenUpChange();  // the next start
    const storage::UnfinishedChange next = finish();
    QCOMPARE(next.outcome, storage::UnfinishedChange::Finished);
    QVERIFY(next.told);
    QCOMPARE(h.read("a.csv") + '|' + h.read("b.csv"), QByteArray(append ? "1\nA\n|B\n" : "A\n|B\n"));
  }

  // The folder's sync after the files are changed fails: a failure of the
  // change like any other, with every file as it was and no record.
  void failingFolderSync_data() {
    QTest::addColumn<bool>("append");
    QTest::newRow("append that makes a file") << true;
    QTest::newRow("replacement") << false;
  }
  void failingFolderSync() {
    QFETCH(bool, append);
    testing::DataFolder h;
    h.write("a.csv", "1\n");
    if (!append) h.write("b.csv", "2\n");
    const std::vector<storage::FileWrite> parts{storage::LinesInto(file("a.csv"), {"A"}), storage::LinesInto(file("b.csv"), {"B"})};
    {
      testing::ChangeSteps fail(ChangeStep::SyncFolder, 0, StepAnswer::Fail);
      if (append) {
        QVERIFY(!storage::AppendAsOne(parts));
      } else {
        QCOMPARE(storage::ReplaceAsOne(parts), storage::Replaced::Nothing);
      }
    }
    QCOMPARE(h.read("a.csv"), QByteArray("1\n"));
    QCOMPARE(leftovers(h), append ? QStringList({"a.csv"}) : QStringList({"a.csv", "b.csv"}));
    if (!append) QCOMPARE(h.read("b.csv"), QByteArray("2\n"));
    QVERIFY(storage::GivenUpChange().isEmpty());
    QCOMPARE(finish().outcome, storage::UnfinishedChange::None);
  }

  // The run stops dead after a step, as a crash or a power cut would stop
  // it; the next opening finishes the change or finds it never began.
  void crashThenOpening_data() {
    QTest::addColumn<bool>("append");
    QTest::addColumn<ChangeStep>("step");
    QTest::addColumn<int>("index");
    QTest::addColumn<bool>("whole");
    QTest::newRow("append: before the record") << true << ChangeStep::WriteRecord << 0 << false;
    QTest::newRow("append: record written") << true << ChangeStep::ChangeFile << 0 << true;
    QTest::newRow("append: first file done") << true << ChangeStep::ChangeFile << 1 << true;
    QTest::newRow("append: second file done") << true << ChangeStep::RemoveRecord << 0 << true;
    QTest::newRow("replace: contents prepared") << false << ChangeStep::WriteRecord << 0 << false;
    QTest::newRow("replace: record written") << false << ChangeStep::ChangeFile << 0 << true;
    QTest::newRow("replace: first file done") << false << ChangeStep::ChangeFile << 1 << true;
    QTest::newRow("replace: second file done") << false << ChangeStep::RemoveRecord << 0 << true;
  }
  void crashThenOpening() {
    QFETCH(bool, append);
    QFETCH(ChangeStep, step);
    QFETCH(int, index);
    QFETCH(bool, whole);
    testing::DataFolder h;
    h.write("vendeur_1.csv", SalesBefore);
    h.write("journal.csv", JournalBefore);
    const std::vector<storage::FileWrite> parts{storage::LinesInto(file("vendeur_1.csv"), {"13,7.00"}),
                                           storage::LinesInto(file("journal.csv"), {"13,7.00,A,1"})};
    {
      testing::ChangeSteps crash(step, index, StepAnswer::Stop);
      if (append) {
        storage::AppendAsOne(parts);
      } else {
        storage::ReplaceAsOne(parts);
      }
    }
    const storage::UnfinishedChange pending = finish();
    QCOMPARE(pending.outcome, whole ? storage::UnfinishedChange::Finished : storage::UnfinishedChange::None);
    QByteArray sales = SalesBefore;
    QByteArray journal = JournalBefore;
    if (whole) {
      sales = append ? sales + "13,7.00\n" : QByteArray("13,7.00\n");
      journal = append ? journal + "13,7.00,A,1\n" : QByteArray("13,7.00,A,1\n");
      QCOMPARE(pending.files, QStringList({"vendeur_1.csv", "journal.csv"}));
    }
    QCOMPARE(h.read("vendeur_1.csv"), sales);
    QCOMPARE(h.read("journal.csv"), journal);
    QCOMPARE(leftovers(h), QStringList({"journal.csv", "vendeur_1.csv"}));
    // Finishing again changes nothing.
    QCOMPARE(finish().outcome, storage::UnfinishedChange::None);
    QCOMPARE(h.read("vendeur_1.csv") + h.read("journal.csv"), sales + journal);
  }

  // Between the crash and the next start a file is edited by hand. The
  // finishing cuts back or appends only when the file is the one the change
  // found, or that file with part or all of the change; any other file, and
  // every file of the change, is left as it is, and so is the record.
  void finishingLeavesEditedFilesAlone_data() {
    QTest::addColumn<bool>("append");
    QTest::addColumn<int>("done");         // files done when the run stopped
    QTest::addColumn<QByteArray>("found");  // a.csv at the next start; null: gone
    QTest::addColumn<QByteArray>("after");  // null: the change is not finished
    const QByteArray old("1\n12,5.00\n");
    QTest::newRow("append: as it was found") << true << 0 << old << old + "13\n";
    QTest::newRow("append: part of the change") << true << 0 << old + "1" << old + "13\n";
    QTest::newRow("append: zeros where the change was going") << true << 0 << old + QByteArray(2, '\0') << old + "13\n";
    QTest::newRow("append: all of the change") << true << 1 << old + "13\n" << old + "13\n";
    QTest::newRow("append: all of it, and a line added after") << true << 1 << old + "13\n50\n" << old + "13\n50\n";
    QTest::newRow("append: a line added by hand") << true << 0 << old + "50\n" << QByteArray();
    QTest::newRow("append: part of it, then a line by hand") << true << 0 << old + "150\n" << QByteArray();
    QTest::newRow("append: an earlier line made shorter") << true << 0 << QByteArray("1\n12,5.5\n") << QByteArray();
    QTest::newRow("append: an earlier line made shorter, the change there") << true << 1
                                                                          << QByteArray("1\n12,5.5\n13\n") << QByteArray();
    QTest::newRow("append: an earlier line edited") << true << 0 << QByteArray("1\n12,5.50\n") << QByteArray();
    QTest::newRow("append: the file gone") << true << 0 << QByteArray() << QByteArray();
    QTest::newRow("replace: as it was found") << false << 0 << old << QByteArray("A\n");
    QTest::newRow("replace: edited before its turn") << false << 0 << QByteArray("1\n12,5.50\n") << QByteArray();
    QTest::newRow("replace: gone before its turn") << false << 0 << QByteArray() << QByteArray();
    // Once in place, a file is finished only while it holds the change's new content.
    QTest::newRow("replace: a line added once in place") << false << 1 << QByteArray("A\n50\n") << QByteArray();
    QTest::newRow("replace: edited once in place") << false << 1 << QByteArray("B\n") << QByteArray();
    QTest::newRow("replace: cut once in place") << false << 1 << QByteArray("A") << QByteArray();
    QTest::newRow("replace: emptied once in place") << false << 1 << QByteArray("") << QByteArray();
    QTest::newRow("replace: gone once in place") << false << 1 << QByteArray() << QByteArray();
    QTest::newRow("replace: put back by hand once in place") << false << 1 << old << QByteArray();
    QTest::newRow("replace: as the change left it") << false << 1 << QByteArray("A\n") << QByteArray("A\n");
  }
  void finishingLeavesEditedFilesAlone() {
    QFETCH(bool, append);
    QFETCH(int, done);
    QFETCH(QByteArray, found);
    QFETCH(QByteArray, after);
    testing::DataFolder h;
    h.write("a.csv", "1\n12,5.00\n");
    h.write("b.csv", "j\n");
    {
      testing::ChangeSteps crash(ChangeStep::ChangeFile, done, StepAnswer::Stop);
      const std::vector<storage::FileWrite> parts{storage::LinesInto(file("a.csv"), {append ? "13" : "A"}),
                                             storage::LinesInto(file("b.csv"), {"x"})};
      append ? void(storage::AppendAsOne(parts)) : void(storage::ReplaceAsOne(parts));
    }
    if (found.isNull()) {
      QVERIFY(QFile::remove(h.path("a.csv")));
    } else {
      h.write("a.csv", found);
    }
    const QByteArray record = h.read(storage::ChangeRecordName);
    const QStringList folder = leftovers(h);

    const storage::UnfinishedChange pending = finish();
    if (after.isNull()) {
      QCOMPARE(pending.outcome, storage::UnfinishedChange::Changed);
      QCOMPARE(pending.changed, QStringList({"a.csv"}));
      QCOMPARE(h.exists("a.csv"), !found.isNull());
      QCOMPARE(h.read("a.csv"), found);
      QCOMPARE(h.read("b.csv"), QByteArray("j\n"));
      QCOMPARE(h.read(storage::ChangeRecordName), record);
      QCOMPARE(leftovers(h), folder);
    } else {
      QCOMPARE(pending.outcome, storage::UnfinishedChange::Finished);
      QVERIFY(!pending.told);
      QCOMPARE(h.read("a.csv"), after);
      QCOMPARE(h.read("b.csv"), QByteArray(append ? "j\nx\n" : "x\n"));
      QCOMPARE(leftovers(h), QStringList({"a.csv", "b.csv"}));
    }
  }

  // A record that an earlier version of the program left (the first format,
  // without tails or digests) is still finished.
  void recordOfTheFirstFormat_data() {
    QTest::addColumn<bool>("append");
    QTest::newRow("append") << true;
    QTest::newRow("replace") << false;
  }
  void recordOfTheFirstFormat() {
    QFETCH(bool, append);
    testing::DataFolder h;
    h.write("a.csv", "1\n");
    using namespace testing::records;
    if (append) {
      h.write(storage::ChangeRecordName,
              sealed(change("append", "2", appendedFirstFormat("a.csv", "2", "A\n") + appendedFirstFormat("b.csv", "-1", "B\n")), 1));
    } else {
      h.write(storage::PreparedContentPrefix + "a.csv", "A\n");
      h.write(storage::PreparedContentPrefix + "b.csv", "B\n");
      h.write(storage::ChangeRecordName, sealed(change("replace", "2", replacedFirstFormat("a.csv") + replacedFirstFormat("b.csv")), 1));
    }
    const storage::UnfinishedChange pending = finish();
    QCOMPARE(pending.outcome, storage::UnfinishedChange::Finished);
    QCOMPARE(pending.files, QStringList({"a.csv", "b.csv"}));
    QCOMPARE(h.read("a.csv") + h.read("b.csv"), QByteArray(append ? "1\nA\nB\n" : "A\nB\n"));
    QCOMPARE(leftovers(h), QStringList({"a.csv", "b.csv"}));
  }

  // A record met again after its change was done (a removal of the record
  // lost in a power cut), or after part of an append reached the disk:
  // the bytes end up in the file once.
  // A record that cannot be removed is emptied: no later opening redoes a
  // change the run finished, nor one it gave up and took back.
  void recordThatCannotBeRemoved_data() {
    QTest::addColumn<bool>("givenUp");
    QTest::addColumn<bool>("append");
    QTest::newRow("append finished") << false << true;
    QTest::newRow("append given up") << true << true;
    QTest::newRow("replacement finished") << false << false;
    QTest::newRow("replacement given up") << true << false;
  }
  void recordThatCannotBeRemoved() {
    QFETCH(bool, givenUp);
    QFETCH(bool, append);
    testing::DataFolder h;
    h.write("a.csv", "1\n");
    h.write("b.csv", "2\n");
    const std::vector<storage::FileWrite> parts{storage::LinesInto(file("a.csv"), {"A"}), storage::LinesInto(file("b.csv"), {"B"})};
    {
      testing::ChangeSteps faults([&](ChangeStep step, int index) {
        if (step == ChangeStep::RemoveRecord) return StepAnswer::Fail;
        if (givenUp && step == ChangeStep::ChangeFile && index == 1) return StepAnswer::Fail;
        return StepAnswer::Go;
      });
      if (append) {
        QCOMPARE(storage::AppendAsOne(parts), !givenUp);
      } else {
        QCOMPARE(storage::ReplaceAsOne(parts), givenUp ? storage::Replaced::Nothing : storage::Replaced::All);
      }
    }
    QCOMPARE(h.read(storage::ChangeRecordName), QByteArray());
    const QByteArray files = h.read("a.csv") + h.read("b.csv");
    QCOMPARE(files, givenUp ? QByteArray("1\n2\n") : append ? QByteArray("1\nA\n2\nB\n") : QByteArray("A\nB\n"));
    QCOMPARE(finish().outcome, storage::UnfinishedChange::None);
    QCOMPARE(h.read("a.csv") + h.read("b.csv"), files);
    QCOMPARE(leftovers(h), QStringList({"a.csv", "b.csv"}));
  }

  void finishingIsIdempotent() {
    testing::DataFolder h;
    h.write("a.csv", "1\n");
    {
      testing::ChangeSteps crash(ChangeStep::RemoveRecord, 0, StepAnswer::Stop);
      storage::AppendAsOne({storage::LinesInto(file("a.csv"), {"2"}), storage::LinesInto(file("b.csv"), {"x", "y"})});
    }
    const QByteArray record = h.read(storage::ChangeRecordName);
    QCOMPARE(finish().outcome, storage::UnfinishedChange::Finished);
    h.write(storage::ChangeRecordName, record);
    QCOMPARE(finish().outcome, storage::UnfinishedChange::Finished);
    QCOMPARE(h.read("a.csv"), QByteArray("1\n2\n"));
    QCOMPARE(h.read("b.csv"), QByteArray("x\ny\n"));

    // Half an append on the disk, then the crash.
    h.write("a.csv", "1\n2");
    h.write("b.csv", "");
    h.write(storage::ChangeRecordName, record);
    QCOMPARE(finish().outcome, storage::UnfinishedChange::Finished);
    QCOMPARE(h.read("a.csv"), QByteArray("1\n2\n"));
    QCOMPARE(h.read("b.csv"), QByteArray("x\ny\n"));
    QCOMPARE(leftovers(h), QStringList({"a.csv", "b.csv"}));
  }

  // The record names its files relative to the data folder, and any
  // character may stand in a name: a data folder moved (or renamed) between
  // the crash and the next start is finished where it now stands.
  void oddNamesInAMovedFolder_data() {
    QTest::addColumn<bool>("append");
    QTest::newRow("append") << true;
    QTest::newRow("replace") << false;
  }
  void oddNamesInAMovedFolder() {
    QFETCH(bool, append);
    testing::DataFolder h;
    const QString odd = QString::fromUtf8("vendeur 1,é:5\n.csv");
    h.write(odd, "1\n");
    h.write("j.csv", "j\n");
    const std::vector<storage::FileWrite> parts{storage::LinesInto(file(odd), {"A"}), storage::LinesInto(file("j.csv"), {"B"})};
    {
      testing::ChangeSteps crash(ChangeStep::ChangeFile, 0, StepAnswer::Stop);
      append ? void(storage::AppendAsOne(parts)) : void(storage::ReplaceAsOne(parts));
    }

    QTemporaryDir elsewhere;
    const QString moved = elsewhere.filePath("données déplacées");
    QVERIFY(QDir().rename(h.folder(), moved));
    QDir::setCurrent(moved);
    const storage::UnfinishedChange pending = finish();
    QFile oddFile(moved + '/' + odd);
    QFile journal(moved + "/j.csv");
    QVERIFY(oddFile.open(QIODevice::ReadOnly) && journal.open(QIODevice::ReadOnly));
    const QByteArray oddAfter = oddFile.readAll();
    const QByteArray journalAfter = journal.readAll();
    const QStringList left = QDir(moved).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    QVERIFY(QDir().rename(moved, h.folder()));
    QDir::setCurrent(h.folder());

    QCOMPARE(pending.outcome, storage::UnfinishedChange::Finished);
    QCOMPARE(pending.files, QStringList({odd, "j.csv"}));
    QCOMPARE(oddAfter, QByteArray(append ? "1\nA\n" : "A\n"));
    QCOMPARE(journalAfter, QByteArray(append ? "j\nB\n" : "B\n"));
    QCOMPARE(left, QStringList({"j.csv", odd}));
  }

  // A record cut short (by a crash while it was written, or later by a
  // disk) may stand for a change begun: nothing is done with it, it is kept
  // aside with its bytes and what it had prepared, and the files it still
  // names are given. An emptied record is what a run that could not remove
  // its record leaves: no change, and nothing to keep.
  void cutRecordIsSetAside_data() {
    QTest::addColumn<bool>("append");
    QTest::addColumn<int>("keep");  // bytes of the record left; negative: from its end
    QTest::addColumn<QStringList>("names");
    const QStringList both{"a.csv", "b.csv"};
    QTest::newRow("append: empty") << true << 0 << QStringList();
    QTest::newRow("append: first line only") << true << 12 << QStringList();
    QTest::newRow("append: last byte missing") << true << -1 << both;
    QTest::newRow("replace: half") << false << -20 << both;
    QTest::newRow("replace: last byte missing") << false << -1 << both;
  }
  void cutRecordIsSetAside() {
    QFETCH(bool, append);
    QFETCH(int, keep);
    QFETCH(QStringList, names);
    testing::DataFolder h;
    h.write("a.csv", "1\n");
    h.write("b.csv", "2\n");
    const std::vector<storage::FileWrite> parts{storage::LinesInto(file("a.csv"), {"A"}), storage::LinesInto(file("b.csv"), {"B"})};
    {
      testing::ChangeSteps crash(ChangeStep::ChangeFile, 0, StepAnswer::Stop);
      append ? void(storage::AppendAsOne(parts)) : void(storage::ReplaceAsOne(parts));
    }
    QByteArray record = h.read(storage::ChangeRecordName);
    QVERIFY(!record.isEmpty());
    record.truncate(keep >= 0 ? keep : record.size() + keep);
    h.write(storage::ChangeRecordName, record);
    const storage::UnfinishedChange found = finish();
    QCOMPARE(h.read("a.csv") + h.read("b.csv"), QByteArray("1\n2\n"));
    if (keep == 0) {
      QCOMPARE(found.outcome, storage::UnfinishedChange::None);
      QCOMPARE(leftovers(h), QStringList({"a.csv", "b.csv"}));
      return;
    }
    QCOMPARE(found.outcome, storage::UnfinishedChange::Damaged);
    QCOMPARE(found.files, names);
    QCOMPARE(found.setAsideAs, QString(".corvalenta-change-endommagee"));
    QCOMPARE(h.read(found.setAsideAs), record);
    // What the change had prepared is kept beside it, as it was.
    QStringList kept{".corvalenta-change-endommagee"};
    if (!append) {
      kept << ".corvalenta-change-endommagee.corvalenta-new.a.csv" << ".corvalenta-change-endommagee.corvalenta-new.b.csv";
      QCOMPARE(h.read(kept.at(1)) + h.read(kept.at(2)), QByteArray("A\nB\n"));
    }
    QCOMPARE(leftovers(h), kept + QStringList({"a.csv", "b.csv"}));
    // Once aside it is no longer met; a second one is kept beside the first.
    QCOMPARE(finish().outcome, storage::UnfinishedChange::None);
    h.write(storage::ChangeRecordName, "x");
    QCOMPARE(finish().setAsideAs, QString(".corvalenta-change-endommagee-2"));
    QCOMPARE(h.read(".corvalenta-change-endommagee"), record);
  }

  // A record that cannot be finished yet stays, and nothing is lost: once
  // the fault is gone, the next start finishes it.
  void recordThatCannotBeFinishedStays_data() {
    QTest::addColumn<QString>("fault");
    QTest::newRow("a folder in its place: seen before any file is touched") << "folder";
    QTest::newRow("a link in its place: seen before any file is touched") << "link";
    QTest::newRow("its append fails: the file done first is taken back") << "full";
  }
  void recordThatCannotBeFinishedStays() {
    QFETCH(QString, fault);
    testing::DataFolder h;
    h.write("a.csv", "1\n");
    const QString big(200, 'x');  // only b.csv's part outgrows the full disk
    {
      testing::ChangeSteps crash(ChangeStep::ChangeFile, 0, StepAnswer::Stop);
      storage::AppendAsOne({storage::LinesInto(file("a.csv"), {"2"}), storage::LinesInto(file("b.csv"), {big})});
    }
    std::optional<testing::FileSizeLimit> full;
    if (fault == "folder") QVERIFY(QDir(h.folder()).mkdir("b.csv"));
    if (fault == "link") testing::MakeUncreatable(h, "b.csv");
    if (fault == "full") full.emplace(100);
    const storage::UnfinishedChange pending = finish();
    full.reset();
    QCOMPARE(pending.outcome, fault == "full" ? storage::UnfinishedChange::Failed : storage::UnfinishedChange::NotAFile);
    QCOMPARE(pending.files, QStringList({"a.csv", "b.csv"}));
    QCOMPARE(pending.changed, fault == "full" ? QStringList() : QStringList({"b.csv"}));
    QVERIFY(h.exists(storage::ChangeRecordName));
    QCOMPARE(h.read("a.csv"), QByteArray("1\n"));
    QCOMPARE(QFileInfo(h.path("b.csv")).isDir(), fault == "folder");
    QCOMPARE(QFileInfo(h.path("b.csv")).isSymLink(), fault == "link");
    QCOMPARE(QFileInfo::exists(h.path("b.csv")), fault == "folder");
    if (fault == "folder") QVERIFY(QDir(h.folder()).rmdir("b.csv"));
    if (fault == "link") QVERIFY(QFile::remove(h.path("b.csv")));
    QCOMPARE(finish().outcome, storage::UnfinishedChange::Finished);
    QCOMPARE(h.read("a.csv") + h.read("b.csv"), QByteArray("1\n2\n") + big.toUtf8() + '\n');
    QVERIFY(!h.exists(storage::ChangeRecordName));
  }

  // A file that was missing is created by the change, and a crash before
  // it was created still ends with it whole; a file already replaced and
  // then changed by hand is not replaced again, nor is the change finished
  // around it.
  void missingFilesAndReplacedFiles() {
    testing::DataFolder h;
    {
      testing::ChangeSteps crash(ChangeStep::ChangeFile, 0, StepAnswer::Stop);
      storage::AppendAsOne({storage::LinesInto(file("new.csv"), {"n"}), storage::LinesInto(file("j.csv"), {"head", "1"})});
    }
    QVERIFY(!h.exists("new.csv"));
    QCOMPARE(finish().outcome, storage::UnfinishedChange::Finished);
    QCOMPARE(h.read("new.csv") + h.read("j.csv"), QByteArray("n\nhead\n1\n"));

    {
      testing::ChangeSteps crash(ChangeStep::ChangeFile, 1, StepAnswer::Stop);
      storage::ReplaceAsOne({storage::LinesInto(file("new.csv"), {"N"}), storage::LinesInto(file("j.csv"), {"J"})});
    }
    QCOMPARE(h.read("new.csv"), QByteArray("N\n"));
    h.write("new.csv", "changed by hand\n");
    const storage::UnfinishedChange changed = finish();
    QCOMPARE(changed.outcome, storage::UnfinishedChange::Changed);
    QCOMPARE(changed.changed, QStringList({"new.csv"}));
    QCOMPARE(h.read("new.csv") + h.read("j.csv"), QByteArray("changed by hand\nhead\n1\n"));
    h.write("new.csv", "N\n");  // put back as the change left it
    QCOMPARE(finish().outcome, storage::UnfinishedChange::Finished);
    QCOMPARE(h.read("new.csv") + h.read("j.csv"), QByteArray("N\nJ\n"));
  }

  // A change its record could not describe is refused before anything is
  // written: the next start would take its record for a damaged one.
  void changeTheRecordCannotDescribe_data() {
    QTest::addColumn<QStringList>("names");
    QTest::newRow("no file") << QStringList();
    QTest::newRow("one file twice") << QStringList({"a.csv", "a.csv"});
    QTest::newRow("a file in a folder below") << QStringList({"a.csv", "sous/b.csv"});
    QTest::newRow("a file of the storage's own") << QStringList({"a.csv", storage::ChangeRecordName});
    QStringList nine;
    for (int i = 0; i < 9; ++i) nine << QString("f%1.csv").arg(i);
    QTest::newRow("more files than a change names") << nine;
  }
  void changeTheRecordCannotDescribe() {
    QFETCH(QStringList, names);
    testing::DataFolder h;
    h.write("a.csv", "1\n");
    QVERIFY(QDir(h.folder()).mkdir("sous"));
    std::vector<storage::FileWrite> parts;
    for (const QString& name : names) parts.push_back(storage::LinesInto(file(name), {"x"}));
    QVERIFY(!storage::AppendAsOne(parts));
    QCOMPARE(storage::ReplaceAsOne(parts), storage::Replaced::Nothing);
    QCOMPARE(leftovers(h), QStringList({"a.csv"}));
    QCOMPARE(h.read("a.csv"), QByteArray("1\n"));
    QVERIFY(QDir(h.path("sous")).isEmpty());
  }

  // A full disk while the new contents are prepared: nothing changes.
  void fullDiskWhilePreparing() {
    testing::DataFolder h;
    h.write("a.csv", "1\n");
    h.write("b.csv", "2\n");
    {
      testing::FileSizeLimit limit(100);
      QCOMPARE(storage::ReplaceAsOne({storage::LinesInto(file("a.csv"), {"A"}), storage::LinesInto(file("b.csv"), {QString(200, 'x')})}),
               storage::Replaced::Nothing);
      QVERIFY(!storage::AppendAsOne({storage::LinesInto(file("a.csv"), {"A"}), storage::LinesInto(file("b.csv"), {QString(200, 'x')})}));
    }
    QCOMPARE(h.read("a.csv") + h.read("b.csv"), QByteArray("1\n2\n"));
    QCOMPARE(leftovers(h), QStringList({"a.csv", "b.csv"}));
  }
};

QTEST_GUILESS_MAIN(TestFileChange)
#include "tst_filechange.moc"
