#pragma once
// The commission-rate window: shows the rate in force as a percentage and
// lets the cashier replace it. The desk shows it modally.

#include "toolkit/controls.h"
#include "toolkit/window.h"

class ChgmentTaux : public tk::Window {
  Q_OBJECT
 public:
  const tk::WindowSpec& Design() const override;
  const std::vector<tk::ControlSpec>& ControlDesign() const override;

  tk::TextField* nveautaux() const { return control<tk::TextField>(QStringLiteral("nveautaux")); }
  tk::Label* StaticText1() const { return control<tk::Label>(QStringLiteral("StaticText1")); }
  tk::Label* StaticText2() const { return control<tk::Label>(QStringLiteral("StaticText2")); }
  tk::BevelButton* BevelButton1() const { return control<tk::BevelButton>(QStringLiteral("BevelButton1")); }
  tk::BevelButton* BevelButton2() const { return control<tk::BevelButton>(QStringLiteral("BevelButton2")); }

  void BevelButton1_Action();
  void BevelButton2_Action();
  void Event_Open() override;
};
