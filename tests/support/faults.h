#pragma once
// Ways to make a file operation fail in a test. Tests run as root, which
// ignores permissions, so these use what root cannot ignore.

#include <QFile>
#include <csignal>
#include <sys/resource.h>

#include "support/harness.h"

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

// A name in the data folder that no file can be created under: a link to a
// folder that does not exist. Root ignores permissions, not this.
inline void MakeUncreatable(const Harness& h, const QString& name) {
  QFile::link(h.path(QStringLiteral("no-such-folder/") + name), h.path(name));
}

}  // namespace testing
