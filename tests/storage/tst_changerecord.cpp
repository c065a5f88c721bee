#include <QCryptographicHash>
#include <QTest>

#include "core/unfinishedchange.h"
#include "storage/changerecord.h"
#include "support/records.h"

namespace {

using storage::RecordFault;

using namespace testing::records;

const QByteArray Sales = "vendeur_1.csv";
const QByteArray Journal = "OVKB2025_main.csv";
const QByteArray SalesAppend = appended(Sales, "8", "12,5.00\n", "13,7.00\n");
const QByteArray JournalAppend = appended(Journal, "-1", "", "head\n13,7.00,A,1\n");
const QByteArray JournalReplace = replaced(Journal, "5", sha1("old\n"), sha1("new\n"));
const QByteArray SalesReplace = replaced(Sales, "-1", "", sha1("x\n"));
const QByteArray Booking = change("append", "2", SalesAppend + JournalAppend);
const QByteArray Removal = change("replace", "2", JournalReplace + SalesReplace);
const QStringList Both{"vendeur_1.csv", "OVKB2025_main.csv"};
const QStringList BothReplaced{"OVKB2025_main.csv", "vendeur_1.csv"};

}  // namespace

Q_DECLARE_METATYPE(storage::RecordFault)

class TestChangeRecord : public QObject {
  Q_OBJECT
 private slots:
  // Every record the program can have written is read; every other one is
  // refused whole, for the reason given, and tells the data files it still
  // names (those a hand could check).
  void records_data() {
    QTest::addColumn<QByteArray>("raw");
    QTest::addColumn<RecordFault>("fault");
    QTest::addColumn<QStringList>("names");
    const auto row = [](const char* name, const QByteArray& raw, RecordFault fault, const QStringList& names = {}) {
      QTest::newRow(name) << raw << fault << names;
    };
    const QStringList none;
    const QStringList journal{"OVKB2025_main.csv"};
    const QStringList sales{"vendeur_1.csv"};

    row("a booking", sealed(Booking), RecordFault::None);
    row("a removal", sealed(Removal), RecordFault::None);
    row("a change given up and told", sealed(Booking, 2, "told\n"), RecordFault::None);
    row("one file", sealed(change("replace", "1", JournalReplace)), RecordFault::None);
    row("first format: a booking",
        sealed(change("append", "2", appendedFirstFormat(Sales, "8", "13\n") + appendedFirstFormat(Journal, "-1", "1\n")), 1),
        RecordFault::None);
    row("first format: a removal", sealed(change("replace", "2", replacedFirstFormat(Journal) + replacedFirstFormat(Sales)), 1),
        RecordFault::None);

    // Larger than any change: refused before it is looked at.
    row("too large", QByteArray(storage::MaxRecordSize + 1, 'x'), RecordFault::TooLarge);

    // The head.
    row("empty", QByteArray(), RecordFault::Head);
    row("first line only", "corvalenta change 2\n", RecordFault::Head);
    row("cut in its checksum", sealed(Booking).left(50), RecordFault::Head);
    row("an unknown format", sealed(Booking).replace("change 2", "change 3"), RecordFault::Head);
    row("an unknown state", sealed(Booking, 2, "shut\n"), RecordFault::Head);
    row("no state line", sealed(Booking, 2, ""), RecordFault::Head);
    row("a checksum line too long", sealed(Booking).insert(25 + 64, '0'), RecordFault::Head);
    row("not a record", "vendeur_1.csv\n../../.bashrc\n", RecordFault::Head);

    // The checksum: the record cut short, or a byte changed.
    row("last byte missing", sealed(Booking).chopped(1), RecordFault::Checksum, Both);
    row("cut in its second file", sealed(Booking).chopped(12), RecordFault::Checksum, Both);
    row("cut in its first file", sealed(Booking).chopped(Booking.size() - 20), RecordFault::Checksum, none);
    row("an amount altered", sealed(Booking).replace("13,7.00,A", "13,9.00,A"), RecordFault::Checksum, Both);
    row("a removal's digest altered", [] {
      QByteArray raw = sealed(Removal);
      raw[raw.size() - 3] = raw[raw.size() - 3] ^ 1;
      return raw;
    }(), RecordFault::Checksum, BothReplaced);

    // Fields that make no change of this program, under a valid checksum.
    row("an unknown kind", sealed(change("delete", "2", SalesAppend + JournalAppend)), RecordFault::Fields);
    row("no file", sealed(change("append", "0", "")), RecordFault::Fields);
    row("a huge count", sealed(change("append", "999999999999", SalesAppend + JournalAppend)), RecordFault::Fields);
    row("more files counted than named", sealed(change("append", "3", SalesAppend + JournalAppend)), RecordFault::Fields, Both);
    row("fewer files counted than named", sealed(change("append", "1", SalesAppend + JournalAppend)), RecordFault::Fields, sales);
    row("a count not written as ours", sealed(change("append", "+2", SalesAppend + JournalAppend)), RecordFault::Fields);
    row("a count with a leading zero", sealed(change("append", "02", SalesAppend + JournalAppend)), RecordFault::Fields);
    row("a length below no file", sealed(change("append", "1", appended(Sales, "-2", "", "1\n"))), RecordFault::Fields, sales);
    row("a tail longer than the file", sealed(change("append", "1", appended(Sales, "3", "12,5", "1\n"))), RecordFault::Fields, sales);
    row("a tail shorter than the file's end",
        sealed(change("append", "1", appended(Sales, "100", QByteArray(10, 'x'), "1\n"))), RecordFault::Fields, sales);
    row("an old digest for no file", sealed(change("replace", "1", replaced(Sales, "-1", sha1("x"), sha1("y")))),
        RecordFault::Fields, sales);
    row("no old digest for a file", sealed(change("replace", "1", replaced(Sales, "4", "", sha1("y")))), RecordFault::Fields, sales);
    row("a new digest cut", sealed(change("replace", "1", replaced(Sales, "4", sha1("x"), sha1("y").left(19)))),
        RecordFault::Fields, sales);
    row("bytes after the last file", sealed(Booking + "1:x,"), RecordFault::Fields, Both);
    row("a field longer than it says", sealed(Booking).replace("13:vendeur_1.csv", "99:vendeur_1.csv"), RecordFault::Checksum);
    row("a field not ended", sealed(change("append", "1", "13:vendeur_1.csv;")), RecordFault::Fields);

    // Names: only a data file directly in the folder, in both formats.
    const auto bookingNaming = [](const QByteArray& name) {
      return sealed(change("append", "2", appended(name, "8", "12,5.00\n", "13\n") + JournalAppend));
    };
    row("a name out of the folder", bookingNaming("../outside.csv"), RecordFault::Name, journal);
    row("an absolute name", bookingNaming("/root/.bashrc"), RecordFault::Name, journal);
    row("a name in a folder below", bookingNaming("sous/vendeur_1.csv"), RecordFault::Name, journal);
    row("the folder itself", bookingNaming("."), RecordFault::Name, journal);
    row("the folder above", bookingNaming(".."), RecordFault::Name, journal);
    row("an empty name", bookingNaming(""), RecordFault::Name, journal);
    row("a NUL in a name", bookingNaming(QByteArray("vendeur_1.csv\0.x", 16)), RecordFault::Name, journal);
    row("a name that is no text", bookingNaming("vendeur_\xff.csv"), RecordFault::Name, journal);
    row("the record itself", bookingNaming(".corvalenta-change"), RecordFault::Name, journal);
    row("a prepared content as the file", bookingNaming(".corvalenta-new.vendeur_1.csv"), RecordFault::Name, journal);
    row("a file no change writes", bookingNaming("ValComm.txt"), RecordFault::Name, journal);
    row("a printout", bookingNaming("vendeur_1.rtf"), RecordFault::Name, journal);
    row("the same file twice", sealed(change("append", "2", SalesAppend + SalesAppend)), RecordFault::Name, sales);
    row("a replacement's file out of the folder",
        sealed(change("replace", "2", JournalReplace + replaced("../vendeur_1.csv", "-1", "", sha1("x\n")))),
        RecordFault::Name, journal);
    row("a prepared content out of the folder",
        sealed(change("replace", "2", JournalReplace + replaced(Sales, "-1", "", sha1("x\n"), "../outside.csv"))),
        RecordFault::Name, BothReplaced);
    row("a prepared content that is the file itself",
        sealed(change("replace", "2", JournalReplace + replaced(Sales, "-1", "", sha1("x\n"), Sales))), RecordFault::Name,
        BothReplaced);
    row("first format: a name out of the folder",
        sealed(change("append", "2", appendedFirstFormat("../outside.csv", "8", "13\n") + appendedFirstFormat(Journal, "-1", "1\n")), 1),
        RecordFault::Name, journal);
    row("first format: an absolute replacement",
        sealed(change("replace", "2", replacedFirstFormat(Journal) + replacedFirstFormat("/etc/passwd")), 1), RecordFault::Name,
        journal);
    row("first format: a prepared content out of the folder",
        sealed(change("replace", "1", replacedFirstFormat(Journal, "../../.profile")), 1), RecordFault::Name, journal);
  }
  void records() {
    QFETCH(QByteArray, raw);
    QFETCH(RecordFault, fault);
    QFETCH(QStringList, names);
    const storage::ParsedRecord parsed = storage::ParseChangeRecord(raw, IsChangeableDataFile);
    QCOMPARE(parsed.fault, fault);
    QCOMPARE(parsed.record.has_value(), fault == RecordFault::None);
    QCOMPARE(parsed.names, names);
  }

  // What a sound record says is what was written, whatever the bytes and
  // whatever characters a bare name holds.
  void writtenRecordsReadBack() {
    storage::ChangeRecord booking;
    booking.files.push_back({"vendeur 1,é:5\n.csv", 8, QByteArray("12,5.00\n"), QByteArray("13\0\xff\n", 5), {}, {}});
    booking.files.push_back({"j.csv", -1, QByteArray(), QByteArray(), {}, {}});
    storage::ChangeRecord removal;
    removal.append = false;
    removal.files.push_back({"j.csv", 4, {}, {}, sha1("old\n"), sha1("new\n")});
    const auto anyName = [](const QString&) { return true; };
    for (const storage::ChangeRecord& written : {booking, removal}) {
      const storage::ParsedRecord parsed = storage::ParseChangeRecord(storage::ChangeRecordBytes(written), anyName);
      QVERIFY(parsed.record);
      QCOMPARE(parsed.record->append, written.append);
      QVERIFY(!parsed.record->told);
      QCOMPARE(parsed.record->files.size(), written.files.size());
      for (std::size_t i = 0; i < written.files.size(); ++i) {
        const storage::RecordedFile& a = parsed.record->files[i];
        const storage::RecordedFile& b = written.files[i];
        QCOMPARE(a.name, b.name);
        QCOMPARE(a.sizeBefore, b.sizeBefore);
        QCOMPARE(a.bytes, b.bytes);
        if (written.append) {
          QVERIFY(a.tail == b.tail);
        } else {
          QCOMPARE(a.oldDigest.value_or("none"), *b.oldDigest);
          QCOMPARE(a.newDigest.value_or("none"), *b.newDigest);
        }
      }
    }
  }

  // The names a change of this program writes, and none other.
  void dataFilesAChangeWrites_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("changeable");
    QTest::newRow("seller list") << "ListeVendeurs.csv" << true;
    QTest::newRow("coupon map") << "couponsvendeurs.csv" << true;
    QTest::newRow("sales file") << "vendeur_1.csv" << true;
    QTest::newRow("sales file of the highest code") << "vendeur_99999.csv" << true;
    QTest::newRow("sales file of a code read as 0") << "vendeur_0.csv" << true;
    QTest::newRow("sales file of a negative code") << "vendeur_-3.csv" << true;
    QTest::newRow("journal") << "OVKB2025_main.csv" << true;
    QTest::newRow("a number with a leading zero") << "vendeur_01.csv" << false;
    QTest::newRow("no number") << "vendeur_.csv" << false;
    QTest::newRow("the placeholder sales file") << "vendeur_null.csv" << false;
    QTest::newRow("a statement") << "vendeur_1.rtf" << false;
    QTest::newRow("a copy of the journal") << "OVKB2025_main.csv.bak" << false;
    QTest::newRow("rate file") << "ValComm.txt" << false;
    QTest::newRow("general results") << "Fichier_General_des_vendeurs.rtf" << false;
    QTest::newRow("the record") << ".corvalenta-change" << false;
  }
  void dataFilesAChangeWrites() {
    QFETCH(QString, name);
    QFETCH(bool, changeable);
    QCOMPARE(IsChangeableDataFile(name), changeable);
  }
};

QTEST_GUILESS_MAIN(TestChangeRecord)
#include "tst_changerecord.moc"
