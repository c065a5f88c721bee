#pragma once
// The application object of the program, and the pictures it carries.

#include <QImage>

#include "toolkit/application.h"

class Corvalenta : public tk::Application {
  Q_OBJECT
 public:
  Corvalenta() { Constructor(); }
  void Constructor() {}
};

// The club's logo, shown by the about window.
QImage ovkmoyen();
// The fair's emblem, shown by the desk.
QImage siglBourse();
