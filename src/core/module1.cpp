#include "core/module1.h"

namespace Module1 {

void Initialise() {
  thename.clear();
  grandtotal = 0;
  FindVendor = 0;
  vc2.clear();
  SonNom.clear();
  ovktaux = 0;
  myday.clear();
  bacs2.clear();
  adresse2.clear();
  zip2.clear();
  localite2.clear();
  rampes2.clear();
  generalfailure = 0;
}

}  // namespace Module1
