#pragma once
// The utilities window: the jobs of the fair that are not done at the desk.
// It opens the seller editor, writes the seller cards and the general
// results. The reports work without its hidden controls: they are part of
// the design, and hold nothing but the seller list's rows that `Controlle`
// keeps from the last cards run.

#include "toolkit/controls.h"
#include "toolkit/listbox.h"
#include "toolkit/window.h"

class utilities : public tk::Window {
  Q_OBJECT
 public:
  const tk::WindowSpec& Design() const override;
  const std::vector<tk::ControlSpec>& ControlDesign() const override;

  tk::BevelButton* BevelButton1() const { return control<tk::BevelButton>(QStringLiteral("BevelButton1")); }
  tk::BevelButton* BevelButton2() const { return control<tk::BevelButton>(QStringLiteral("BevelButton2")); }
  tk::Listbox* Controlle() const { return control<tk::Listbox>(QStringLiteral("Controlle")); }
  tk::TextField* TA1() const { return control<tk::TextField>(QStringLiteral("TA1")); }
  tk::Label* StaticText4() const { return control<tk::Label>(QStringLiteral("StaticText4")); }
  tk::Label* StaticText9() const { return control<tk::Label>(QStringLiteral("StaticText9")); }
  tk::TextField* TextField1() const { return control<tk::TextField>(QStringLiteral("TextField1")); }
  tk::TextField* Kommision() const { return control<tk::TextField>(QStringLiteral("Kommision")); }
  tk::Listbox* CoupinsVendeur() const { return control<tk::Listbox>(QStringLiteral("CoupinsVendeur")); }
  tk::TextField* locbac() const { return control<tk::TextField>(QStringLiteral("locbac")); }
  tk::TextField* TotalNet() const { return control<tk::TextField>(QStringLiteral("TotalNet")); }
  tk::TextField* fraise() const { return control<tk::TextField>(QStringLiteral("fraise")); }
  tk::TextField* TA2() const { return control<tk::TextField>(QStringLiteral("TA2")); }
  tk::TextField* fromat() const { return control<tk::TextField>(QStringLiteral("fromat")); }
  tk::TextField* TotalBrut() const { return control<tk::TextField>(QStringLiteral("TotalBrut")); }
  tk::TextField* locramp() const { return control<tk::TextField>(QStringLiteral("locramp")); }
  tk::TextField* EcceHomo() const { return control<tk::TextField>(QStringLiteral("EcceHomo")); }
  tk::BevelButton* BevelButton3() const { return control<tk::BevelButton>(QStringLiteral("BevelButton3")); }
  tk::BevelButton* BevelButton4() const { return control<tk::BevelButton>(QStringLiteral("BevelButton4")); }
  tk::Label* StaticText10() const { return control<tk::Label>(QStringLiteral("StaticText10")); }

  void BevelButton1_Action();
  void BevelButton2_Action();
  void BevelButton3_Action();
  void BevelButton4_Action();
};
