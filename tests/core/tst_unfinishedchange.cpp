// Records and files of a data folder that a hand, an archive or a disk
// made hostile, met at a start: nothing outside the data folder changes,
// nothing blocks, no change is done or dropped without a word.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <sys/stat.h>
#include <unistd.h>

#include "core/unfinishedchange.h"
#include "storage/changerecord.h"
#include "storage/filechange.h"
#include "support/faults.h"
#include "support/nestedfolder.h"
#include "support/records.h"

namespace {

using namespace testing::records;
using storage::ChangeStep;

const QString Journal = QStringLiteral("OVKB2025_main.csv");
const QString Sales = QStringLiteral("vendeur_1.csv");
const QByteArray JournalBefore = "head\n12,5.00,A,1\n";
const QByteArray SalesBefore = "12,5.00\n";
const QByteArray OutsideBytes = "head\n";  // what the removal below writes into the journal
const QString Record = storage::ChangeRecordName;
const QString Aside = QStringLiteral(".corvalenta-change-endommagee");

tk::FolderItem file(const QString& name) { return tk::GetFolderItem("").Child(name); }

std::vector<storage::FileWrite> booking() {
  return {storage::LinesInto(file(Sales), {"13,7.00"}), storage::LinesInto(file(Journal), {"13,7.00,A,1"})};
}
std::vector<storage::FileWrite> removal() {
  return {storage::LinesInto(file(Journal), {"head"}), storage::LinesInto(file(Sales), {})};
}

// A booking or a removal stopped dead before a step, as by a crash.
void crash(bool append, ChangeStep step, int index) {
  testing::ChangeSteps stop(step, index, storage::StepAnswer::Stop);
  append ? void(storage::AppendAsOne(booking())) : void(storage::ReplaceAsOne(removal()));
}

QString path(const QString& name) { return QDir::current().filePath(name); }

void put(const QString& name, const QByteArray& bytes) {
  QFile f(path(name));
  QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size());
}

// A regular file's bytes; a FIFO is never opened.
QByteArray bytesOf(const QString& name) {
  if (!testing::Standing(path(name)).startsWith("file")) return {};
  QFile f(path(name));
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void replaceBy(const QString& name, const QString& kind) {
  QVERIFY(QFile::remove(path(name)));
  if (kind == "fifo") QCOMPARE(::mkfifo(QFile::encodeName(path(name)).constData(), 0600), 0);
  if (kind == "folder") QVERIFY(QDir::current().mkdir(name));
  if (kind == "link") QVERIFY(QFile::link("../outside.csv", path(name)));
}

// What the user is told of each kind of record.
QString damaged(const QString& files) {
  return QStringLiteral("Une modification ") +
         (files.isEmpty() ? QStringLiteral("des fichiers de données") : "des fichiers " + files) +
         QStringLiteral(" a peut-être été interrompue par un arrêt brutal, mais le fichier .corvalenta-change qui la "
                        "décrit est illisible ou endommagé: elle n'a pas été terminée. Vérifiez ") +
         (files.isEmpty() ? QStringLiteral("le journal des ventes (OVKBaaaa_main.csv) et les fichiers des vendeurs "
                                           "(vendeur_x.csv)")
                          : files) +
         QStringLiteral(". Le fichier .corvalenta-change a été mis de côté sous le nom .corvalenta-change-endommagee.");
}
QString notAFile(const QString& files, const QString& file) {
  return "Une modification des fichiers " + files +
         QStringLiteral(" restée inachevée n'a pas pu être terminée: à la place du fichier ") + file +
         QStringLiteral(" se trouve un dossier, un lien ou un fichier spécial. Rien n'a été modifié. Vérifiez ") + file +
         QStringLiteral(": remettez le fichier à sa place pour que la modification soit terminée au prochain "
                        "démarrage, ou supprimez le fichier .corvalenta-change du dossier des données pour "
                        "l'abandonner.");
}
QString changed(const QString& files, const QString& file) {
  return "Une modification des fichiers " + files + QStringLiteral(" restée inachevée n'a pas pu être terminée: le fichier ") +
         file + QStringLiteral(" a changé depuis. Rien n'a été modifié. Vérifiez ") + file +
         QStringLiteral(": remettez-le comme il était pour que la modification soit terminée au prochain démarrage, "
                        "ou supprimez le fichier .corvalenta-change du dossier des données pour l'abandonner.");
}

const QString BookingFiles = Sales + ", " + Journal;
const QString RemovalFiles = Journal + ", " + Sales;

// The hostile entries, each made in a data folder holding the journal and
// a sales file, beside a file "outside.csv" and nothing else.
void prepare(const QString& kind, const testing::NestedDataFolder& h) {
  const QByteArray journal = Journal.toUtf8();
  const QByteArray journalAppend = appended(journal, QByteArray::number(JournalBefore.size()), JournalBefore, "13\n");
  const auto bookingNaming = [&](const QByteArray& name, int format = 2) {
    return format == 1 ? sealed(change("append", "2", appendedFirstFormat(name, "5", "pirate\n") +
                                                          appendedFirstFormat(journal, "-1", "13\n")), 1)
                       : sealed(change("append", "2", appended(name, "5", "head\n", "pirate\n") + journalAppend));
  };
  if (kind == "an append to a file outside") put(Record, bookingNaming("../outside.csv"));
  if (kind == "an append to an absolute name") put(Record, bookingNaming(QFile::encodeName(h.outer() + "/outside.csv")));
  if (kind == "first format: an append to a file outside") put(Record, bookingNaming("../outside.csv", 1));
  if (kind == "a file outside put in the journal's place")
    put(Record, sealed(change("replace", "1", replaced(journal, QByteArray::number(JournalBefore.size()), sha1(JournalBefore),
                                                     sha1(OutsideBytes), "../outside.csv"))));
  if (kind == "first format: a file outside put in the journal's place")
    put(Record, sealed(change("replace", "1", replacedFirstFormat(journal, "../outside.csv")), 1));
  if (kind == "first format: the journal renamed out of the folder")
    put(Record, sealed(change("replace", "1", replacedFirstFormat("../stolen.csv", journal)), 1));
  if (kind == "a huge count") put(Record, sealed(change("append", "999999999999", journalAppend)));
  if (kind == "a told record naming no file") put(Record, sealed(change("append", "0", ""), 2, "told\n"));
  if (kind == "a huge sparse record") {
    put(Record, QByteArray());
    QCOMPARE(::truncate(QFile::encodeName(path(Record)).constData(), 4LL << 30), 0);
  }
  if (kind == "the record a link to nowhere outside") QVERIFY(QFile::link("../x", path(Record)));
  if (kind == "the record a link to a sound record outside") {
    h.writeOutside("record", bookingNaming(Sales.toUtf8()));
    QVERIFY(QFile::link("../record", path(Record)));
  }
  if (kind == "the record a fifo") QCOMPARE(::mkfifo(QFile::encodeName(path(Record)).constData(), 0600), 0);
  if (kind == "the record a folder") QVERIFY(QDir::current().mkdir(Record));
  if (kind == "a booking's record cut short" || kind == "a booking's record altered") {
    crash(true, ChangeStep::ChangeFile, 1);
    QByteArray record = bytesOf(Record);
    if (kind.endsWith("cut short")) record.chop(5);
    else record.replace("13,7.00,A,1", "13,9.00,A,1");
    put(Record, record);
  }
  for (const QString& what : {QString("fifo"), QString("folder"), QString("link")}) {
    if (kind == "the sales file a " + what + " before its turn") {
      crash(true, ChangeStep::ChangeFile, 0);
      replaceBy(Sales, what);
    }
  }
  if (kind == "the journal's new content a link to outside") {
    h.writeOutside("outside.csv", OutsideBytes);  // its bytes are the new content's
    crash(false, ChangeStep::ChangeFile, 0);
    replaceBy(storage::PreparedName(Journal), "link");
  }
  if (kind == "the journal's kept content a link to outside") {
    h.writeOutside("outside.csv", OutsideBytes);
    crash(false, ChangeStep::ChangeFile, 1);
    put(Journal, JournalBefore);  // as a run that put it back would leave it
    replaceBy(storage::KeptName(Journal), "link");
  }
}

// What stands at a name; a file too large to read is told by its length.
QString seen(const QString& path) {
  const QFileInfo info(path);
  if (!info.isSymLink() && info.isFile() && info.size() > (1 << 20)) return "file of " + QString::number(info.size()) + " bytes";
  return testing::Standing(path);
}

// Everything beside the data folder.
QMap<QString, QString> outside(const testing::NestedDataFolder& h) {
  QMap<QString, QString> all;
  for (const QString& name : QDir(h.outer()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
    if (name == "data") continue;
    all[name] = testing::Standing(h.outer() + '/' + name);
    if (all[name] == "folder") all.insert(testing::Tree(h.outer(), name));
  }
  return all;
}

}  // namespace

class TestUnfinishedChange : public QObject {
  Q_OBJECT
 private slots:
  // A record that this program could not have written is set aside as it
  // stands and the user told which files to check; one whose files are not
  // what the change found stays, and the user is told which. In no case is
  // anything written outside the data folder, a file opened through a link
  // or a start kept waiting by a FIFO.
  void hostileFolder_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("goOn");
    QTest::addColumn<QString>("message");
    const auto aside = [](const char* kind, const QString& files = QString()) {
      QTest::newRow(kind) << QString(kind) << true << damaged(files);
    };
    aside("an append to a file outside", Journal);
    aside("an append to an absolute name", Journal);
    aside("first format: an append to a file outside", Journal);
    aside("a file outside put in the journal's place", Journal);
    aside("first format: a file outside put in the journal's place", Journal);
    aside("first format: the journal renamed out of the folder");
    aside("a huge count");
    aside("a told record naming no file");
    aside("a huge sparse record");
    aside("the record a link to nowhere outside");
    aside("the record a link to a sound record outside");
    aside("the record a fifo");
    aside("the record a folder");
    aside("a booking's record cut short", BookingFiles);
    aside("a booking's record altered", BookingFiles);
    for (const char* what : {"fifo", "folder", "link"})
      QTest::addRow("the sales file a %s before its turn", what)
          << QString("the sales file a %1 before its turn").arg(what) << false << notAFile(BookingFiles, Sales);
    QTest::newRow("the journal's new content a link to outside")
        << "the journal's new content a link to outside" << false << changed(RemovalFiles, Journal);
    QTest::newRow("the journal's kept content a link to outside")
        << "the journal's kept content a link to outside" << false << changed(RemovalFiles, Journal);
  }
  void hostileFolder() {
    QFETCH(QString, kind);
    QFETCH(bool, goOn);
    QFETCH(QString, message);
    testing::NestedDataFolder h;
    put(Journal, JournalBefore);
    put(Sales, SalesBefore);
    h.writeOutside("outside.csv", "rien\n");
    prepare(kind, h);
    if (QTest::currentTestFailed()) return;
    const QMap<QString, QString> before = outside(h);
    const QString journal = testing::Standing(path(Journal));
    const QString sales = testing::Standing(path(Sales));
    const QByteArray salesBytes = bytesOf(Sales);
    const QString record = seen(path(Record));

    const SettledChange settled = SettleUnfinishedChange();
    QCOMPARE(settled.message, message);
    QCOMPARE(settled.goOn, goOn);
    QCOMPARE(outside(h), before);
    QCOMPARE(testing::Standing(path(Journal)), journal);
    QCOMPARE(testing::Standing(path(Sales)), sales);
    if (!goOn) {
      QCOMPARE(seen(path(Record)), record);  // it stays for the next start
      return;
    }
    // Aside as it stood; the next start finds nothing, and a booking is
    // written in the folder, not through what stood at the record's name.
    QCOMPARE(seen(path(Aside)), record);
    QCOMPARE(testing::Standing(path(Record)), QString("nothing"));
    QCOMPARE(SettleUnfinishedChange().message, QString());
    QVERIFY(storage::AppendAsOne(booking()));
    QCOMPARE(bytesOf(Sales), salesBytes + "13,7.00\n");
    QCOMPARE(outside(h), before);
  }
};

QTEST_GUILESS_MAIN(TestUnfinishedChange)
#include "tst_unfinishedchange.moc"
