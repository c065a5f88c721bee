#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include "storage/folderlock.h"

Q_DECLARE_METATYPE(storage::FolderLock::State)

namespace {

const QString LockName = QStringLiteral(".corvalenta-lock");

// True in the runs of these tests where the folder's own lock is refused.
bool locksRefused() { return qEnvironmentVariableIsSet("CORVALENTA_EXPECT_NO_LOCKS"); }

bool flockRefusedIn(const QString& folder) {
  const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool refused = ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == ENOLCK;
  return ::close(fd) == 0 && refused;
}

QStringList entries(const QString& folder) {
  return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

QByteArray contentOf(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(unreadable)");
}

// A file last changed `age` seconds ago (ahead of now when negative).
bool writeAged(const QString& path, const QByteArray& content, int age) {
  QFile f(path);
  if (!f.open(QIODevice::WriteOnly) || f.write(content) != content.size() || !f.flush()) return false;
  const bool dated = f.setFileTime(QDateTime::currentDateTime().addSecs(-age), QFileDevice::FileModificationTime);
  f.close();
  return dated && f.error() == QFileDevice::NoError;
}

QString thisProgram() { return QFileInfo(QCoreApplication::applicationFilePath()).fileName(); }

// A lock file as a run writes it: pid, program, host, machine, boot.
QByteArray lockOf(const QByteArray& pid, const QString& program, const QString& host = QSysInfo::machineHostName(),
                  const QByteArray& machine = QSysInfo::machineUniqueId(),
                  const QByteArray& boot = QSysInfo::bootUniqueId()) {
  return pid + '\n' + program.toUtf8() + '\n' + host.toUtf8() + '\n' + machine + '\n' + boot + '\n';
}

// A process of this program that waits until it is ended: a run that is on.
class LiveRun {
 public:
  LiveRun() : pid_(::fork()) {
    if (pid_ == 0) {
      ::pause();
      ::_exit(0);
    }
  }
  ~LiveRun() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGKILL);
    while (::waitpid(pid_, nullptr, 0) < 0 && errno == EINTR) {
    }
  }
  LiveRun(const LiveRun&) = delete;
  LiveRun& operator=(const LiveRun&) = delete;
  pid_t pid() const { return pid_; }

 private:
  pid_t pid_;
};

// The pid of a process that has ended.
qint64 endedPid() {
  const pid_t pid = ::fork();
  if (pid == 0) ::_exit(0);
  int status = 0;
  while (pid > 0 && ::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  return pid;
}

}  // namespace

class TestFolderLock : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase() {
    QTemporaryDir dir;
    if (locksRefused()) QVERIFY2(flockRefusedIn(dir.path()), "flock is not refused: the library is not preloaded");
  }

  // One holder at a time, however many opens of the folder there are; the
  // folder's own lock adds nothing to the folder, a lock file only its own
  // name, and either goes with its holder.
  void oneHolderAtATime() {
    QTemporaryDir dir;
    {
      const storage::FolderLock first(dir.path());
      QCOMPARE(first.state(), storage::FolderLock::Taken);
      QCOMPARE(storage::FolderLock(dir.path()).state(), storage::FolderLock::HeldElsewhere);
      QCOMPARE(entries(dir.path()), locksRefused() ? QStringList{LockName} : QStringList());
    }
    QCOMPARE(entries(dir.path()), QStringList());
    QCOMPARE(storage::FolderLock(dir.path()).state(), storage::FolderLock::Taken);
  }

  // A folder nobody may write to is locked all the same; one that is not
  // there cannot be.
  void readOnlyAndMissingFolders() {
    QTemporaryDir dir;
    QCOMPARE(storage::FolderLock(dir.filePath("absent")).state(), storage::FolderLock::Unavailable);
    if (locksRefused()) QSKIP("without the folder's own lock, a read-only folder takes no lock");
    const QString readOnly = dir.filePath("lecture seule");
    QVERIFY(QDir().mkdir(readOnly));
    QVERIFY(QFile::setPermissions(readOnly, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther));
    QCOMPARE(storage::FolderLock(readOnly).state(), storage::FolderLock::Taken);
    QFile::setPermissions(readOnly, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  }

  // A lock file found at the start: kept while the run that wrote it may
  // still be on, taken over once it is not; a taken one is ours alone.
  // "LIVE" in a content stands for the pid of a run that is on.
  void foundLockFile_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("age");
    QTest::addColumn<storage::FolderLock::State>("expected");
    const qint64 self = QCoreApplication::applicationPid();
    const QByteArray live = "LIVE";
    const auto held = storage::FolderLock::HeldElsewhere;
    const auto taken = storage::FolderLock::Taken;
    QTest::newRow("a run that is on") << lockOf(live, thisProgram()) << 0 << held;
    QTest::newRow("a run that is on, for hours") << lockOf(live, thisProgram()) << 4 * 3600 << held;
    // Its pid means nothing here: whether it is on cannot be told.
    QTest::newRow("a run on another computer")
        << lockOf(QByteArray::number(endedPid()), thisProgram(), "autre-poste", "autre") << 0 << held;
    QTest::newRow("a run that has ended") << lockOf(QByteArray::number(endedPid()), thisProgram()) << 0 << taken;
    QTest::newRow("its pid now another program's") << lockOf(live, "autre-programme") << 0 << taken;
    QTest::newRow("a pid too large, cut to a live one")
        << lockOf(QByteArray::number((qint64(1) << 32) + self), thisProgram()) << 0 << taken;
    QTest::newRow("this run's own pid, not held here (a lock without a boot)")
        << lockOf(QByteArray::number(self), thisProgram(), QSysInfo::machineHostName(), QSysInfo::machineUniqueId(), "")
        << 0 << taken;
    QTest::newRow("a run that is on, written before the machine started")
        << lockOf(live, thisProgram(), QSysInfo::machineHostName(), QSysInfo::machineUniqueId(), "autre-demarrage") << 0
        << taken;
    QTest::newRow("unwritten, just made") << QByteArray() << 0 << held;
    QTest::newRow("unwritten, an hour old") << QByteArray() << 3600 << taken;
    QTest::newRow("unwritten, an hour ahead") << QByteArray() << -3600 << taken;
    QTest::newRow("not a lock, an hour old") << QByteArray("pas un verrou\n") << 3600 << taken;
  }
  void foundLockFile() {
    if (!locksRefused()) QSKIP("a lock file is taken only where the folder's own lock is refused");
    QFETCH(QByteArray, content);
    QFETCH(int, age);
    QFETCH(storage::FolderLock::State, expected);
    LiveRun run;
    content.replace("LIVE", QByteArray::number(run.pid()));
    QTemporaryDir dir;
    const QString path = dir.filePath(LockName);
    QVERIFY(writeAged(path, content, age));
    {
      const storage::FolderLock lock(dir.path());
      QCOMPARE(lock.state(), expected);
      QCOMPARE(entries(dir.path()), QStringList{LockName});
      if (expected == storage::FolderLock::Taken) {
        QVERIFY(contentOf(path) != content);
        QVERIFY(contentOf(path).startsWith(QByteArray::number(QCoreApplication::applicationPid()) + '\n'));
        QCOMPARE(storage::FolderLock(dir.path()).state(), storage::FolderLock::HeldElsewhere);
      } else {
        QCOMPARE(contentOf(path), content);
      }
    }
    QCOMPARE(entries(dir.path()), expected == storage::FolderLock::Taken ? QStringList() : QStringList{LockName});
  }

  // A folder at the lock file's name is not ours to remove: no lock then,
  // and the folder left as it was.
  void folderAtTheLockFileName() {
    if (!locksRefused()) QSKIP("a lock file is taken only where the folder's own lock is refused");
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkpath(LockName + "/dedans"));
    QCOMPARE(storage::FolderLock(dir.path()).state(), storage::FolderLock::Unavailable);
    QCOMPARE(entries(dir.filePath(LockName)), QStringList{"dedans"});
  }
};

QTEST_GUILESS_MAIN(TestFolderLock)
#include "tst_folderlock.moc"
