#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QTemporaryDir>
#include <QTest>
#include <iterator>
#include <sys/stat.h>
#include <unistd.h>

#include "support/datafolder.h"
#include "support/faults.h"
#include "support/nestedfolder.h"
#include "toolkit/files.h"

namespace {
QStringList readAll(tk::TextInputStream& in) {
  QStringList lines;
  while (!in.IsEOF()) lines << in.ReadLine();
  return lines;
}

const QString HostileName = QStringLiteral("vendeur_3.csv");
const QStringList HostileKinds{"link to a file outside", "dangling link to outside", "link to a folder outside",
                               "fifo", "folder"};

// Puts one of HostileKinds at HostileName, beside a file and a folder
// outside the data folder for the links to lead to; gives its path.
QString place(const testing::NestedDataFolder& h, const QString& kind) {
  h.writeOutside("secret.txt", "secret\n");
  if (!QDir(h.outer()).mkpath("elsewhere/inside")) qFatal("cannot prepare what lies outside");
  const QString at = h.data() + '/' + HostileName;
  bool made = false;
  if (kind == "link to a file outside") made = QFile::link("../secret.txt", at);
  if (kind == "dangling link to outside") made = QFile::link("../absent.csv", at);
  if (kind == "link to a folder outside") made = QFile::link("../elsewhere", at);
  if (kind == "fifo") made = ::mkfifo(QFile::encodeName(at).constData(), 0600) == 0;
  if (kind == "folder") made = QDir(h.data()).mkdir(HostileName);
  if (!made) qFatal("cannot make a %s", qPrintable(kind));
  return at;
}

// Every call of a file of the folder; true when it reports success.
struct Operation {
  const char* name;
  bool (*run)(const tk::FolderItem&);
};
const Operation Operations[] = {
    {"read", [](const tk::FolderItem& f) { return f.OpenAsTextFile() != nullptr; }},
    {"create",
     [](const tk::FolderItem& f) {
       auto out = f.CreateTextFile();
       return out && out->WriteLine("1,2.00") && out->Close();
     }},
    {"replace lines", [](const tk::FolderItem& f) { return f.ReplaceWithLines({"1,2.00"}); }},
    {"replace bytes", [](const tk::FolderItem& f) { return f.ReplaceWithBytes("1,2.00\n"); }},
    {"append",
     [](const tk::FolderItem& f) {
       auto out = f.AppendToTextFile();
       return out && out->WriteLine("1,2.00") && out->Sync() && out->Close();
     }},
    {"truncate", [](const tk::FolderItem& f) { return f.Truncate(0); }},
    {"delete", [](const tk::FolderItem& f) { return f.Delete(); }},
};
}  // namespace

class TestFiles : public QObject {
  Q_OBJECT
 private slots:
  void dataFolderIsTheWorkingFolder() {
    testing::DataFolder h;
    QCOMPARE(QFileInfo(tk::GetFolderItem("").Path()).canonicalFilePath(), QFileInfo(h.folder()).canonicalFilePath());
    QCOMPARE(tk::GetFolderItem("").Child("a.csv").Path(), tk::GetFolderItem("a.csv").Path());
  }

  void missingFileGivesNoStream() {
    testing::DataFolder h;
    tk::FolderItem f = tk::GetFolderItem("").Child("absent.csv");
    QVERIFY(!f.Exists());
    QVERIFY(!f.OpenAsTextFile());
    QVERIFY(!f.Exists());  // looking does not create it
  }

  void folderIsNotAReadableFile() {
    testing::DataFolder h;
    QDir(h.folder()).mkdir("ValComm.txt");
    tk::FolderItem f = tk::GetFolderItem("").Child("ValComm.txt");
    QVERIFY(f.Exists());
    QVERIFY(!f.OpenAsTextFile());
  }

  void lines_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("empty file") << QByteArray() << QStringList();
    QTest::newRow("trailing newline") << QByteArray("a\nb\n") << QStringList({"a", "b"});
    QTest::newRow("no trailing newline") << QByteArray("a\nb") << QStringList({"a", "b"});
    QTest::newRow("crlf") << QByteArray("a,1\r\nb,2\r\n") << QStringList({"a,1", "b,2"});
    QTest::newRow("empty line inside") << QByteArray("a\n\nb\n") << QStringList({"a", "", "b"});
    QTest::newRow("only a newline") << QByteArray("\n") << QStringList({""});
    QTest::newRow("byte order mark of a spreadsheet") << QByteArray("\xEF\xBB\xBF" "1,A,3\n2,A,3\n")
                                                     << QStringList({"1,A,3", "2,A,3"});
    QTest::newRow("utf-8 accents") << QByteArray("Numéro de coupon,Valeur encaissée\n")
                                   << QStringList({QString::fromUtf8("Numéro de coupon,Valeur encaissée")});
  }
  void lines() {
    QFETCH(QByteArray, content);
    QFETCH(QStringList, lines);
    testing::DataFolder h;
    h.write("f.csv", content);
    auto in = tk::GetFolderItem("").Child("f.csv").OpenAsTextFile();
    QVERIFY(in);
    QCOMPARE(readAll(*in), lines);
    QVERIFY(in->IsEOF());
    QCOMPARE(in->ReadLine(), QString());
  }

  void writtenLinesReadBack() {
    testing::DataFolder h;
    tk::FolderItem f = tk::GetFolderItem("").Child("out.csv");
    const QStringList lines{QString::fromUtf8("Créé,é,à"), "", "12,7.50"};
    QVERIFY(f.ReplaceWithLines(lines));
    QCOMPARE(h.read("out.csv"), QString::fromUtf8("Créé,é,à\n\n12,7.50\n").toUtf8());
    auto in = f.OpenAsTextFile();
    QCOMPARE(readAll(*in), lines);
  }

  void appendCreatesAndAppends() {
    testing::DataFolder h;
    tk::FolderItem f = tk::GetFolderItem("").Child("vendeur_7.csv");
    {
      auto out = f.AppendToTextFile();
      QVERIFY(out);
      QCOMPARE(out->SizeAtOpen(), qint64(0));
      QVERIFY(out->WriteLine("1,2.00"));
      QVERIFY(out->Sync());
      QVERIFY(out->Close());
    }
    {
      auto out = f.AppendToTextFile();
      QCOMPARE(out->SizeAtOpen(), qint64(7));
      out->WriteLine("2,3.00");
    }  // dropped without Close: still written
    QCOMPARE(h.read("vendeur_7.csv"), QByteArray("1,2.00\n2,3.00\n"));
    QVERIFY(f.Truncate(7));
    QCOMPARE(h.read("vendeur_7.csv"), QByteArray("1,2.00\n"));
  }

  void createReplacesOnlyOnClose() {
    testing::DataFolder h;
    h.write("j.csv", "old\n");
    tk::FolderItem f = tk::GetFolderItem("").Child("j.csv");
    auto out = f.CreateTextFile();
    QVERIFY(out);
    out->WriteLine("new");
    QCOMPARE(h.read("j.csv"), QByteArray("old\n"));  // not yet
    QVERIFY(out->Close());
    QCOMPARE(h.read("j.csv"), QByteArray("new\n"));
    QCOMPARE(QDir(h.folder()).entryList(QDir::Files), QStringList({"j.csv"}));  // no temporary left
  }

  // A replacement left without its Close() (an early return) puts nothing
  // in place: the old file stays, a new one is not made, no temporary is left.
  void droppedReplacementIsRolledBack_data() {
    QTest::addColumn<bool>("existed");
    QTest::newRow("a file replaced") << true;
    QTest::newRow("a new file") << false;
  }
  void droppedReplacementIsRolledBack() {
    QFETCH(bool, existed);
    testing::DataFolder h;
    if (existed) h.write("j.csv", "old\n");
    {
      auto out = tk::GetFolderItem("").Child("j.csv").CreateTextFile();
      QVERIFY(out);
      QVERIFY(out->WriteLine("half"));
    }
    QCOMPARE(h.exists("j.csv"), existed);
    QCOMPARE(h.read("j.csv"), existed ? QByteArray("old\n") : QByteArray());
    QCOMPARE(QDir(h.folder()).entryList(QDir::Files), existed ? QStringList({"j.csv"}) : QStringList());
  }

  // A device has no end to read to: it is no text file.
  void deviceIsNotAReadableFile() {
    testing::DataFolder h;
    if (!QFileInfo::exists("/dev/zero")) QSKIP("no zero device here");
    QVERIFY(QFile::link("/dev/zero", h.path("ListeVendeurs.csv")));
    tk::FolderItem f = tk::GetFolderItem("").Child("ListeVendeurs.csv");
    QVERIFY(f.Exists());
    QVERIFY(!f.OpenAsTextFile());
  }

  // A disk that fills up while a file is written: nothing may report
  // success, and a replaced file keeps its old content.
  void fullDiskIsAFailure() {
    testing::DataFolder h;
    h.write("j.csv", "old\n");
    h.write("a.csv", "1,2.00\n");
    const QString line(200, QLatin1Char('x'));
    tk::FolderItem j = tk::GetFolderItem("").Child("j.csv");
    tk::FolderItem a = tk::GetFolderItem("").Child("a.csv");
    {
      testing::FileSizeLimit limit(100);
      QVERIFY(!j.ReplaceWithLines({line}));
      auto out = j.CreateTextFile();
      QVERIFY(out);
      out->WriteLine(line);
      QVERIFY(!out->Close());
      auto app = a.AppendToTextFile();
      QVERIFY(app);
      app->WriteLine(line);
      QVERIFY(!app->Sync());
      QVERIFY(!app->Close());
    }
    QCOMPARE(h.read("j.csv"), QByteArray("old\n"));
    QCOMPARE(QDir(h.folder()).entryList(QDir::Files), QStringList({"a.csv", "j.csv"}));
  }

  // Putting bytes back takes the same road as any replacement.
  void fullDiskKeepsTheOldBytes() {
    testing::DataFolder h;
    h.write("l.csv", "old\n");
    tk::FolderItem f = tk::GetFolderItem("").Child("l.csv");
    {
      testing::FileSizeLimit limit(100);
      QVERIFY(!f.ReplaceWithBytes(QByteArray(200, 'x')));
    }
    QCOMPARE(h.read("l.csv"), QByteArray("old\n"));
    QCOMPARE(QDir(h.folder()).entryList(QDir::Files), QStringList({"l.csv"}));
  }

  void bytesPutBackExactlyAndDelete() {
    testing::DataFolder h;
    tk::FolderItem f = tk::GetFolderItem("").Child("l.csv");
    const QByteArray odd("a ,1\r\nb,2");  // crlf and no final line end survive
    QVERIFY(f.ReplaceWithBytes(odd));
    QCOMPARE(h.read("l.csv"), odd);
    QVERIFY(f.ReplaceWithBytes(QByteArray()));
    QCOMPARE(f.Size(), qint64(0));
    QVERIFY(f.Delete());
    QVERIFY(!f.Exists());
    QVERIFY(f.Delete());  // already gone
    QCOMPARE(QDir(h.folder()).entryList(QDir::Files), QStringList());
  }

  void fileThatCannotBeCreated() {
    testing::DataFolder h;
    QDir(h.folder()).mkdir("busy.csv");
    tk::FolderItem f = tk::GetFolderItem("").Child("busy.csv");
    QVERIFY(!f.CreateTextFile());
    QVERIFY(!f.AppendToTextFile());
    QVERIFY(!f.ReplaceWithLines({"x"}));
    QVERIFY(!f.ReplaceWithBytes("x"));
    QVERIFY(!f.Delete());
    QVERIFY(!f.Truncate(0));
    QVERIFY(QFileInfo(h.path("busy.csv")).isDir());

    tk::FolderItem nowhere = tk::GetFolderItem("").Child("missing-folder").Child("f.csv");
    QVERIFY(!nowhere.CreateTextFile());
    QVERIFY(!nowhere.AppendToTextFile());
    QVERIFY(!nowhere.ReplaceWithLines({"x"}));
    QVERIFY(!nowhere.ReplaceWithBytes("x"));
  }

  // A data folder copied from a stick may hold anything at a file's name:
  // it is seen as it is, never through a link, and counts as there, so that
  // no caller creates a file through it.
  void hostileEntryIsSeenItself_data() {
    QTest::addColumn<QString>("kind");
    for (const QString& kind : HostileKinds) QTest::newRow(qPrintable(kind)) << kind;
  }
  void hostileEntryIsSeenItself() {
    QFETCH(QString, kind);
    testing::NestedDataFolder h;
    place(h, kind);
    const QMap<QString, QString> before = testing::Tree(h.outer());
    const tk::FolderItem f = tk::GetFolderItem("").Child(HostileName);
    QVERIFY(f.Exists());
    QCOMPARE(f.IsFolder(), kind == "folder");
    QCOMPARE(f.Size(), qint64(-1));
    QCOMPARE(testing::Tree(h.outer()), before);
  }

  // Nothing there is followed, opened or blocked on: every call but a
  // deletion refuses, and nothing changes outside the data folder nor at
  // the name; a deletion takes the name itself, never what it leads to.
  void hostileEntryIsNeverFollowed_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("operation");
    for (const QString& kind : HostileKinds)
      for (int op = 0; op < int(std::size(Operations)); ++op)
        QTest::addRow("%s: %s", qPrintable(kind), Operations[op].name) << kind << op;
  }
  void hostileEntryIsNeverFollowed() {
    QFETCH(QString, kind);
    QFETCH(int, operation);
    testing::NestedDataFolder h;
    const QString at = place(h, kind);
    const QMap<QString, QString> before = testing::Tree(h.outer());

    const tk::FolderItem f = tk::GetFolderItem("").Child(HostileName);
    const bool deletes = QByteArray(Operations[operation].name) == "delete" && kind != "folder";
    QCOMPARE(Operations[operation].run(f), deletes);

    QMap<QString, QString> expected = before;
    if (deletes) expected.remove("data/" + HostileName);
    QCOMPARE(testing::Tree(h.outer()), expected);
    if (deletes) QCOMPARE(testing::Standing(at), QString("nothing"));
  }
};

QTEST_GUILESS_MAIN(TestFiles)
#include "tst_files.moc"
