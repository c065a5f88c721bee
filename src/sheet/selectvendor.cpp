#include "sheet/selectvendor.h"

#include "core/module1.h"
#include "core/rules.h"
#include "core/salesfiles.h"
#include "core/sellerformat.h"
#include "sheet/feuillevendeur.h"
#include "toolkit/dialogs.h"
#include "ui/lists.h"

using tk::SmallSystemFont;

const tk::WindowSpec& SelectVendor::Design() const {
  static const tk::WindowSpec design{QStringLiteral("Sélection du vendeur"), 320, 376, tk::Placement::Default,
                                     QColor(), true};
  return design;
}

const std::vector<tk::ControlSpec>& SelectVendor::ControlDesign() const {
  // Only the names show; the other nine fields ride along in hidden columns
  // (the tenth, given no width, gets what the nine leave: nothing).
  static const std::vector<tk::ControlSpec> controls{
      tk::ListboxSpec("ListVendeurs", 20, 14, 287, 286).columns(10, "100%,0%,0%,0%,0%,0%,0%,0%,0%")
          .rowsDraggable().tab(0),
      tk::BevelButtonSpec("BevelButton1", 20, 307, 283, 25, "Sélectionner et cliquer ici!")
          .font(SmallSystemFont).makeBold().makeItalic().tab(1).onAction(tk::On(&SelectVendor::BevelButton1_Action)),
      tk::BevelButtonSpec("BevelButton2", 234, 336, 66, 30, "Fermer")
          .font(SmallSystemFont).tab(2).onAction(tk::On(&SelectVendor::BevelButton2_Action)),
  };
  return controls;
}

void SelectVendor::Event_Open() {
  auto in = DataFile(SellerListFile).OpenAsTextFile();
  if (!in) {
    tk::MsgBox(QStringLiteral("Erreur de lecture du fichier vendeur!"));
    tk::Ref<SelectVendor>().Close();
    return;
  }
  CsvListLoader(*in, *ListVendeurs());
}

// "Sélectionner et cliquer ici!": the selected seller becomes the current
// seller, and that seller's sheet is shown (an open sheet stays as it is).
void SelectVendor::BevelButton1_Action() {
  // The previous choice is gone even when nothing is selected; the name stays.
  Module1::vc2.clear();
  Module1::adresse2.clear();
  Module1::zip2.clear();
  Module1::localite2.clear();
  Module1::bacs2.clear();
  Module1::rampes2.clear();
  Module1::FindVendor = 0;

  const tk::Listbox* list = ListVendeurs();
  const int row = list->ListIndex();
  if (row == -1) {
    tk::MsgBox(QStringLiteral("Aucun vendeur n'a été sélectionné!"));
    return;
  }
  Module1::SonNom = list->Cell(row, SellerRecord::Name);
  Module1::vc2 = list->Cell(row, SellerRecord::Code);
  Module1::adresse2 = list->Cell(row, SellerRecord::Address);
  Module1::zip2 = list->Cell(row, SellerRecord::PostalCode);
  Module1::localite2 = list->Cell(row, SellerRecord::Town);
  Module1::bacs2 = list->Cell(row, SellerRecord::Tanks);
  Module1::rampes2 = list->Cell(row, SellerRecord::LedRamps);
  Module1::FindVendor = SellerNumber(Module1::vc2);

  tk::Ref<FeuilleVendeur>().Show();
  tk::Ref<SelectVendor>().Close();
}

// "Fermer".
void SelectVendor::BevelButton2_Action() { tk::Ref<SelectVendor>().Close(); }
