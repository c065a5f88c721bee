#include "ui/pictures.h"

#include "toolkit/pictures.h"

QImage ovkmoyen() { return tk::PictureFromResources(QStringLiteral("ovk-moyen.png")); }

QImage siglBourse() { return tk::PictureFromResources(QStringLiteral("siglBourse.png")); }
