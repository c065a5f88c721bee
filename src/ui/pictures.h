#pragma once
// The two pictures the program carries.

#include <QImage>

// The club's logo, shown by the about window.
QImage ovkmoyen();
// The fair's emblem, shown by the desk.
QImage siglBourse();
