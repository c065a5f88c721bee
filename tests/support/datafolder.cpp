#include "support/datafolder.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <clocale>

#include "core/module1.h"

namespace testing {

DataFolder::DataFolder(tk::Date today)
    : previousDir_(QDir::currentPath()), today_(std::make_shared<tk::Date>(today)) {
  QDir::setCurrent(dir_.path());
  auto t = today_;
  tk::SetClock([t] { return *t; });
  Module1::Initialise();
}

DataFolder::~DataFolder() {
  tk::SetClock({});
  QDir::setCurrent(previousDir_);
}

void DataFolder::setToday(tk::Date d) { *today_ = d; }

void DataFolder::write(const QString& name, const QByteArray& content) const {
  QFile f(path(name));
  if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) qFatal("cannot write the fixture %s", qPrintable(name));
  f.write(content);
}

QByteArray DataFolder::read(const QString& name) const {
  QFile f(path(name));
  if (!f.open(QIODevice::ReadOnly)) return {};
  return f.readAll();
}

bool DataFolder::exists(const QString& name) const { return QFile::exists(path(name)); }

bool frenchRunExpected() { return qEnvironmentVariableIsSet("CORVALENTA_EXPECT_FRENCH"); }

bool frenchLocaleActive() {
  const char* c = std::setlocale(LC_NUMERIC, nullptr);
  const std::lconv* conv = std::localeconv();
  return QLocale::system().decimalPoint() == QStringLiteral(",") && c && QByteArray(c).startsWith("fr") &&
         conv && conv->decimal_point && conv->decimal_point[0] == ',';
}

}  // namespace testing
