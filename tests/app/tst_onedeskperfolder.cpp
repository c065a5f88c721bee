// Real runs of the program on one data folder: one at a time.

#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTest>
#include <cerrno>
#include <sys/prctl.h>
#include <sys/wait.h>

#include "support/bookings.h"
#include "support/harness.h"
#include "support/stubopener.h"

namespace {

using testing::Lines;

const QString AlreadyOpen =
    QStringLiteral("box Corvalenta est déjà ouvert sur ce dossier de données: utilisez la fenêtre déjà ouverte.");

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
  explicit Run(const QString& folder) {
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

}  // namespace

class TestOneDeskPerFolder : public QObject {
  Q_OBJECT
 private slots:
  // A second run on a folder that a run holds says so and ends, touching no
  // file; the first books on as if nothing happened.
  void secondRunIsRefused() {
    testing::Harness h;
    fair(h);
    Run first(h.folder());
    QCOMPARE(first.next(), QString("ready"));
    QCOMPARE(first.command("book 13 7.00"), QStringList());
    const QStringList before = snapshot(h.folder());
    {
      Run second(h.folder());
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
  }

  // A run killed while a program it started (a printout's word processor)
  // is still open: neither the dead run nor that program keeps the next run
  // out.
  void killedRunDoesNotKeepTheNextOut() {
    testing::Harness h;
    fair(h);
    Orphans orphans;
    testing::StubOpener opener;
    opener.hold();
    {
      Run first(h.folder());
      QCOMPARE(first.next(), QString("ready"));
      QCOMPARE(first.command("open abiword vendeur_1.rtf"), QStringList());
      QTRY_COMPARE(opener.calls().size(), 1);
      first.process().kill();
      QVERIFY(first.process().waitForFinished());
      QCOMPARE(first.process().exitStatus(), QProcess::CrashExit);
    }
    QCOMPARE(waitpid(-1, nullptr, WNOHANG), 0);  // the word processor is still open

    Run next(h.folder());
    QCOMPARE(next.next(), QString("ready"));
    QCOMPARE(next.command("book 13 7.00"), QStringList());
    QCOMPARE(next.command("quit"), QStringList());
    QCOMPARE(next.exitCode(), 0);
    QCOMPARE(Lines(h, "vendeur_1.csv"), QStringList({"13,7.00"}));

    opener.release();
    QTRY_VERIFY(Orphans::allEnded());
  }
};

QTEST_MAIN(TestOneDeskPerFolder)
#include "tst_onedeskperfolder.moc"
