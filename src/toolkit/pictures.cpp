#include "toolkit/pictures.h"

#include <QHash>

namespace tk {

QImage PictureFromResources(const QString& fileName) {
  static QHash<QString, QImage> cache;
  auto it = cache.constFind(fileName);
  if (it != cache.constEnd()) return *it;
  QImage p(QStringLiteral(":/pictures/") + fileName);
  if (!p.isNull()) cache.insert(fileName, p);
  return p;
}

}  // namespace tk
