#pragma once
// Pictures carried inside the program, fetched by their file name.

#include <QImage>
#include <QString>

namespace tk {

// The picture of that file name from the program's resources; a null image
// when there is none. A picture once fetched is kept for the run, so every
// later call gives the same picture without fetching it again.
QImage PictureFromResources(const QString& fileName);

}  // namespace tk
