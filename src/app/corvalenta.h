#pragma once
// The application object of the program.

#include "toolkit/application.h"

class Corvalenta : public tk::Application {
  Q_OBJECT
 public:
  Corvalenta() { Constructor(); }
  void Constructor() {}
};
