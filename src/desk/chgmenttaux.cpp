#include "desk/chgmenttaux.h"

#include "core/module1.h"
#include "core/texts.h"
#include "desk/deskfiles.h"
#include "toolkit/dialogs.h"
#include "toolkit/files.h"
#include "toolkit/text.h"

using tk::Alignment;
using tk::SystemFont;

const tk::WindowSpec& ChgmentTaux::Design() const {
  static const tk::WindowSpec design{QStringLiteral("Taux de commission"), 224, 96, tk::Placement::Default,
                                     QColor(), true};
  return design;
}

const std::vector<tk::ControlSpec>& ChgmentTaux::ControlDesign() const {
  static const std::vector<tk::ControlSpec> controls{
      tk::TextFieldSpec("nveautaux", 117, 13, 66, 28).font(SystemFont).tab(0),
      tk::LabelSpec("StaticText1", 20, 13, 93, 24, "Nouveau taux:").align(Alignment::Left).font(SystemFont).noTabStop(2),
      tk::LabelSpec("StaticText2", 189, 13, 25, 24, "%").align(Alignment::Left).font(SystemFont).noTabStop(3),
      tk::BevelButtonSpec("BevelButton1", 25, 52, 82, 25, "Enregistrer")
          .font(SystemFont).tab(1).onAction(tk::On(&ChgmentTaux::BevelButton1_Action)),
      tk::BevelButtonSpec("BevelButton2", 117, 52, 87, 24, "Abandonner")
          .font(SystemFont).tab(4).onAction(tk::On(&ChgmentTaux::BevelButton2_Action)),
  };
  return controls;
}

// "Enregistrer": the typed percentage becomes the rate, in the rate file
// first. A rate that could not be stored is not put in force, so the file
// and the running desk never disagree; the window stays for another try.
void ChgmentTaux::BevelButton1_Action() {
  QString typed = nveautaux()->Text();
  typed.replace(QLatin1Char(','), QLatin1Char('.'));  // a French cashier types a decimal comma
  const double rate = tk::Val(typed) / 100.0;
  const tk::FolderItem file = DataFile(RateFile);
  if (!file.ReplaceWithLines({tk::Str(rate)})) {
    tk::MsgBox(CannotWriteChangedFile);
    return;
  }
  Module1::ovktaux = rate;
  tk::Ref<ChgmentTaux>().Close();
}

// "Abandonner": nothing typed is kept.
void ChgmentTaux::BevelButton2_Action() { tk::Ref<ChgmentTaux>().Close(); }

void ChgmentTaux::Event_Open() { nveautaux()->SetText(tk::Str(100.0 * Module1::ovktaux)); }
