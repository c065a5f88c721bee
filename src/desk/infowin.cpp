#include "desk/infowin.h"

#include "ui/pictures.h"

using tk::Alignment;
using tk::SmallSystemFont;

const tk::WindowSpec& InfoWin::Design() const {
  static const tk::WindowSpec design{QStringLiteral("Corvalenta Info"), 469, 434, tk::Placement::Default,
                                     QColor(245, 243, 243), true};
  return design;
}

const std::vector<tk::ControlSpec>& InfoWin::ControlDesign() const {
  static const std::vector<tk::ControlSpec> controls{
      tk::LabelSpec("StaticText1", 82, 46, 304, 52, "Corvalenta")
          .font("Arial Black", 30).align(Alignment::Centre).color(0x241818).noTabStop(0),
      tk::CanvasSpec("Canvas1", 178, 126, 99, 92).picture(&ovkmoyen).noTabStop(1),
      tk::LabelSpec("StaticText2", 72, 230, 334, 59,
                    "Programme pour la gestion de la Bourse aux poissons et aux plantes de l'OVK")
          .multiline().align(Alignment::Centre).makeBold().makeItalic().font(SmallSystemFont, 15).noTabStop(2),
      tk::LabelSpec("StaticText3", 101, 313, 266, 26, "Réalisé pour le club OVK par ses bénévoles")
          .makeSelectable().align(Alignment::Centre).makeItalic().font(SmallSystemFont, 10).makeOpaque()
          .noTabStop(3).onKeyDown(tk::OnKey(&InfoWin::StaticText3_KeyDown)),
      tk::LabelSpec("StaticText4", 151, 362, 63, 26, "Version ")
          .align(Alignment::Left).makeBold().font(SmallSystemFont).noTabStop(4),
      tk::TextFieldSpec("vversion", 218, 362, 162, 28)
          .makeReadOnly().noBorder().makeBold().font(SmallSystemFont, 15).noTabStop(5),
      tk::BevelButtonSpec("BevelButton1", 392, 384, 66, 30, "Fermer")
          .font(SmallSystemFont).tab(7).onAction(tk::On(&InfoWin::BevelButton1_Action)),
      tk::LabelSpec("StaticText5", 101, 330, 266, 26, "Logiciel libre, licence MIT")
          .align(Alignment::Centre).makeItalic().font(SmallSystemFont, 10).noTabStop(8),
  };
  return controls;
}

// Keys typed on the attribution line are left to the label (selection, copy).
bool InfoWin::StaticText3_KeyDown(const QString&) { return false; }

void InfoWin::BevelButton1_Action() { tk::Ref<InfoWin>().Close(); }

// The version shown is this fixed text, not the application's version data.
void InfoWin::Event_Open() { vversion()->SetText(QStringLiteral("0.9.12 (Linux)")); }
