#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "storage/folderlock.h"

class TestFolderLock : public QObject {
  Q_OBJECT
 private slots:
  // One holder at a time, however many opens of the folder there are; the
  // lock adds nothing to the folder and goes with its holder.
  void oneHolderAtATime() {
    QTemporaryDir dir;
    {
      const storage::FolderLock first(dir.path());
      QCOMPARE(first.state(), storage::FolderLock::Taken);
      QCOMPARE(storage::FolderLock(dir.path()).state(), storage::FolderLock::HeldElsewhere);
      QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
               QStringList());
    }
    QCOMPARE(storage::FolderLock(dir.path()).state(), storage::FolderLock::Taken);
  }

  // A folder nobody may write to is locked all the same; one that is not
  // there cannot be.
  void readOnlyAndMissingFolders() {
    QTemporaryDir dir;
    const QString readOnly = dir.filePath("lecture seule");
    QVERIFY(QDir().mkdir(readOnly));
    QVERIFY(QFile::setPermissions(readOnly, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther));
    QCOMPARE(storage::FolderLock(readOnly).state(), storage::FolderLock::Taken);
    QCOMPARE(storage::FolderLock(dir.filePath("absent")).state(), storage::FolderLock::Unavailable);
    QFile::setPermissions(readOnly, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  }
};

QTEST_GUILESS_MAIN(TestFolderLock)
#include "tst_folderlock.moc"
