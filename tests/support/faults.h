#pragma once
// Ways to make a file operation fail in a test. Tests run as root, which
// ignores permissions, so these use what root cannot ignore.

#include <QFile>
#include <csignal>
#include <sys/resource.h>

#include "storage/filechange.h"
#include "support/datafolder.h"

namespace testing {

// Makes every write past `bytes` of a file fail (as a full disk would),
// for as long as it lives. Root ignores permissions but not this limit.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &old_);
    previous_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit l = old_;
    l.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &l);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &old_);
    std::signal(SIGXFSZ, previous_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit old_{};
  void (*previous_)(int) = SIG_DFL;
};

// A name in the data folder that no file can be created under, nor read: a
// link to a folder that does not exist, which the program never follows.
// Root ignores permissions, not this.
inline void MakeUncreatable(const DataFolder& h, const QString& name) {
  QFile::link(h.path(QStringLiteral("no-such-folder/") + name), h.path(name));
}

// Answers every step of the several-file changes made while it lives: a
// crash (Stop) or a failure (Fail) at a chosen step.
class ChangeSteps {
 public:
  explicit ChangeSteps(storage::ChangeStepHook hook) { storage::SetChangeStepHook(std::move(hook)); }
  // Stop or Fail at that one step, Go elsewhere.
  ChangeSteps(storage::ChangeStep step, int index, storage::StepAnswer answer)
      : ChangeSteps([=](storage::ChangeStep s, int i) { return s == step && i == index ? answer : storage::StepAnswer::Go; }) {}
  ~ChangeSteps() { storage::SetChangeStepHook({}); }
  ChangeSteps(const ChangeSteps&) = delete;
  ChangeSteps& operator=(const ChangeSteps&) = delete;
};

}  // namespace testing
