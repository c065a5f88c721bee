#pragma once
// The about window: the program's name, the club's logo, what the program
// is for, who made it, its licence and its version.

#include "toolkit/controls.h"
#include "toolkit/window.h"

class InfoWin : public tk::Window {
  Q_OBJECT
 public:
  const tk::WindowSpec& Design() const override;
  const std::vector<tk::ControlSpec>& ControlDesign() const override;

  tk::Label* StaticText1() const { return control<tk::Label>(QStringLiteral("StaticText1")); }
  tk::Canvas* Canvas1() const { return control<tk::Canvas>(QStringLiteral("Canvas1")); }
  tk::Label* StaticText2() const { return control<tk::Label>(QStringLiteral("StaticText2")); }
  tk::Label* StaticText3() const { return control<tk::Label>(QStringLiteral("StaticText3")); }
  tk::Label* StaticText4() const { return control<tk::Label>(QStringLiteral("StaticText4")); }
  tk::TextField* vversion() const { return control<tk::TextField>(QStringLiteral("vversion")); }
  tk::BevelButton* BevelButton1() const { return control<tk::BevelButton>(QStringLiteral("BevelButton1")); }
  tk::Label* StaticText5() const { return control<tk::Label>(QStringLiteral("StaticText5")); }

  bool StaticText3_KeyDown(const QString& key);
  void BevelButton1_Action();
  void Event_Open() override;
};
