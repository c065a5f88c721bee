// Real runs of the program on one data folder: one at a time.

#include <QCoreApplication>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QSysInfo>
#include <QTemporaryFile>
#include <QTest>
#include <cerrno>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include "support/bookings.h"
#include "support/harness.h"
#include "support/stubopener.h"
#include "toolkit/plainfile.h"

namespace {

using testing::Lines;

const QString AlreadyOpen =
    QStringLiteral("box Corvalenta est déjà ouvert sur ce dossier de données: utilisez la fenêtre déjà ouverte.");
const QString LockName = QStringLiteral(".corvalenta-lock");

// A run on a file system without locks: every flock it makes is refused.
QProcessEnvironment withoutLocks() {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("LD_PRELOAD"), QStringLiteral(CORVALENTA_NO_LOCKS));
  // Preloaded, it comes before the sanitizers' runtime, which they otherwise refuse.
  const QString asan = env.value(QStringLiteral("ASAN_OPTIONS"));
  env.insert(QStringLiteral("ASAN_OPTIONS"),
             (asan.isEmpty() ? QString() : asan + QLatin1Char(':')) + QStringLiteral("verify_asan_link_order=0"));
  return env;
}

// The runs of a test take the folder's own lock, or, refused it, a lock file.
void eitherLock() {
  QTest::addColumn<bool>("locksRefused");
  QTest::newRow("the folder's lock") << false;
  QTest::newRow("a lock file") << true;
}

// Seller 1 holds coupons 1 to 20.
void fair(const testing::Harness& h) {
  h.write("ListeVendeurs.csv", "A,1,,,,,1,20,0,0\n");
  QByteArray map;
  for (int j = 1; j <= 20; ++j) map += QByteArray::number(j) + ",A,1\n";
  h.write("couponsvendeurs.csv", map);
}

// One run of the program in the data folder, driven line by line.
class Run {
 public:
  explicit Run(const QString& folder, bool locksRefused = false) {
    if (locksRefused) process_.setProcessEnvironment(withoutLocks());
    process_.setWorkingDirectory(folder);
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_.start(QStringLiteral(CORVALENTA_DESK_PROCESS), {"5", "3", "2025"});
  }
  // The next line the run writes; a null text once it has ended without one.
  QString next() {
    const QDeadlineTimer deadline(30000);
    while (!process_.canReadLine() && !deadline.hasExpired()) {
      if (!process_.waitForReadyRead(static_cast<int>(deadline.remainingTime())) &&
          process_.state() == QProcess::NotRunning)
        break;
    }
    if (!process_.canReadLine()) return QString();
    QByteArray line = process_.readLine();
    line.chop(1);
    return QString::fromUtf8(line);
  }
  // Gives the command, and returns what the run wrote until it was done.
  QStringList command(const QString& command) {
    process_.write((command + QLatin1Char('\n')).toUtf8());
    QStringList out;
    for (QString line = next(); !line.isNull() && line != QLatin1String("done"); line = next()) out << line;
    return out;
  }
  // The exit code once the run has ended normally; -1 otherwise.
  int exitCode() {
    if (process_.state() != QProcess::NotRunning && !process_.waitForFinished(30000)) return -1;
    return process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1;
  }
  QProcess& process() { return process_; }

 private:
  QProcess process_;
};

// A run that books coupon 13 and quits: what it wrote, and its exit code.
QStringList bookOneAndQuit(const QString& folder, bool locksRefused) {
  Run run(folder, locksRefused);
  QStringList out{run.next()};
  out << run.command("book 13 7.00") << run.command("quit") << QString::number(run.exitCode());
  return out;
}

// Everything in the folder, with its bytes and its times, and the folder's own.
QStringList snapshot(const QString& folder) {
  const auto stamp = [](const QFileInfo& f) {
    return QString::number(f.lastModified().toMSecsSinceEpoch()) + QLatin1Char(' ') +
           QString::number(f.metadataChangeTime().toMSecsSinceEpoch());
  };
  QStringList out{stamp(QFileInfo(folder))};
  const QFileInfoList entries =
      QDir(folder).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
  for (const QFileInfo& f : entries) {
    QFile file(f.filePath());
    const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
    out << f.fileName() + QLatin1Char(' ') + stamp(f) + QLatin1Char(' ') + QString::fromLatin1(bytes.toHex());
  }
  return out;
}

// While it lives, programs orphaned by a killed run come to this process,
// which waits for every one of them at the end.
class Orphans {
 public:
  Orphans() { prctl(PR_SET_CHILD_SUBREAPER, 1); }
  ~Orphans() {
    while (waitpid(-1, nullptr, 0) > 0 || errno == EINTR) {
    }
    prctl(PR_SET_CHILD_SUBREAPER, 0);
  }
  Orphans(const Orphans&) = delete;
  Orphans& operator=(const Orphans&) = delete;
  // True once none is left running.
  static bool allEnded() {
    pid_t pid = 0;
    while ((pid = waitpid(-1, nullptr, WNOHANG)) > 0) {
    }
    return pid < 0 && errno == ECHILD;
  }
};

// What a run that has ended, or anyone, left at the lock file's name.
enum class Leftover {
  Unwritten,  // a lock file made by a run killed before it wrote it, some time ago
  Fifo,
  LinkOut,  // a link to a file beside the data folder
};

// A file's bytes and times.
QStringList bytesAndTimes(const QString& path) {
  const QFileInfo f(path);
  QFile file(path);
  return {QString::number(f.lastModified().toMSecsSinceEpoch()),
          QString::number(f.metadataChangeTime().toMSecsSinceEpoch()),
          file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll().toHex()) : QString("(unreadable)")};
}

}  // namespace

Q_DECLARE_METATYPE(Leftover)

class TestOneDeskPerFolder : public QObject {
  Q_OBJECT
 private slots:
  // A second run on a folder that a run holds says so and ends, touching no
  // file; the first books on as if nothing happened. A lock file goes with
  // its run.
  void secondRunIsRefused_data() { eitherLock(); }
  void secondRunIsRefused() {
    QFETCH(bool, locksRefused);
    testing::Harness h;
    fair(h);
    Run first(h.folder(), locksRefused);
    QCOMPARE(first.next(), QString("ready"));
    QCOMPARE(tk::EntryAt(h.path(LockName)), locksRefused ? tk::EntryKind::File : tk::EntryKind::None);
    QCOMPARE(first.command("book 13 7.00"), QStringList());
    const QStringList before = snapshot(h.folder());
    {
      Run second(h.folder(), locksRefused);
      QCOMPARE(second.next(), AlreadyOpen);
      QCOMPARE(second.next(), QString());
      QCOMPARE(second.exitCode(), 1);
    }
    QCOMPARE(snapshot(h.folder()), before);

    QCOMPARE(first.command("book 14 2.00"), QStringList());
    QCOMPARE(first.command("quit"), QStringList());
    QCOMPARE(first.exitCode(), 0);
    QCOMPARE(Lines(h, "OVKB2025_main.csv"),
             testing::JournalHeaderLines("5/3/2025") + QStringList({"13,7.00,A,1", "14,2.00,A,1"}));
    QCOMPARE(Lines(h, "vendeur_1.csv"), QStringList({"13,7.00", "14,2.00"}));
    QCOMPARE(tk::EntryAt(h.path(LockName)), tk::EntryKind::None);
  }

  // A run killed while a program it started (a printout's word processor)
  // is still open: neither the dead run nor that program keeps the next run
  // out, nor does the lock file it leaves.
  void killedRunDoesNotKeepTheNextOut_data() { eitherLock(); }
  void killedRunDoesNotKeepTheNextOut() {
    QFETCH(bool, locksRefused);
    testing::Harness h;
    fair(h);
    Orphans orphans;
    testing::StubOpener opener;
    opener.hold();
    {
      Run first(h.folder(), locksRefused);
      QCOMPARE(first.next(), QString("ready"));
      QCOMPARE(first.command("open abiword vendeur_1.rtf"), QStringList());
      QTRY_COMPARE(opener.calls().size(), 1);
      first.process().kill();
      QVERIFY(first.process().waitForFinished());
      QCOMPARE(first.process().exitStatus(), QProcess::CrashExit);
    }
    QCOMPARE(waitpid(-1, nullptr, WNOHANG), 0);  // the word processor is still open
    QCOMPARE(tk::EntryAt(h.path(LockName)), locksRefused ? tk::EntryKind::File : tk::EntryKind::None);

    QCOMPARE(bookOneAndQuit(h.folder(), locksRefused), QStringList({"ready", "0"}));
    QCOMPARE(Lines(h, "vendeur_1.csv"), QStringList({"13,7.00"}));

    opener.release();
    QTRY_VERIFY(Orphans::allEnded());
  }

  // Where the runs take a lock file, whatever stands at its name does not
  // keep the next run out: it is never read through a link nor waited on.
  void leftoverAtTheLockName_data() {
    QTest::addColumn<Leftover>("leftover");
    QTest::newRow("an unwritten lock file") << Leftover::Unwritten;
    QTest::newRow("a FIFO") << Leftover::Fifo;
    QTest::newRow("a link out of the folder") << Leftover::LinkOut;
  }
  void leftoverAtTheLockName() {
    QFETCH(Leftover, leftover);
    testing::Harness h;
    fair(h);
    // Beside the data folder, what a run that is on would write: this test's own.
    QTemporaryFile outside(QFileInfo(h.folder()).absolutePath() + QStringLiteral("/corvalenta-beside-XXXXXX"));
    const QByteArray held = QByteArray::number(QCoreApplication::applicationPid()) + '\n' +
                            QFileInfo(QCoreApplication::applicationFilePath()).fileName().toUtf8() + '\n' +
                            QSysInfo::machineHostName().toUtf8() + '\n';
    QVERIFY(outside.open());
    QCOMPARE(outside.write(held), held.size());
    QVERIFY(outside.flush());
    const QStringList before = bytesAndTimes(outside.fileName());

    const QString lock = h.path(LockName);
    switch (leftover) {
      case Leftover::Unwritten: {
        QFile f(lock);
        QVERIFY(f.open(QIODevice::WriteOnly));
        QVERIFY(f.setFileTime(QDateTime::currentDateTime().addSecs(-3600), QFileDevice::FileModificationTime));
        f.close();
        QCOMPARE(f.error(), QFileDevice::NoError);
        break;
      }
      case Leftover::Fifo:
        QCOMPARE(::mkfifo(QFile::encodeName(lock).constData(), 0600), 0);
        break;
      case Leftover::LinkOut:
        QVERIFY(QFile::link(outside.fileName(), lock));
        break;
    }

    QCOMPARE(bookOneAndQuit(h.folder(), true), QStringList({"ready", "0"}));
    QCOMPARE(Lines(h, "vendeur_1.csv"), QStringList({"13,7.00"}));
    QCOMPARE(tk::EntryAt(lock), tk::EntryKind::None);
    QCOMPARE(bytesAndTimes(outside.fileName()), before);
  }
};

QTEST_MAIN(TestOneDeskPerFolder)
#include "tst_onedeskperfolder.moc"
