#include "reports/utilities.h"

#include <algorithm>

#include "core/module1.h"
#include "core/salesfiles.h"
#include "core/sellerformat.h"
#include "register/editwin.h"
#include "reports/generalresults.h"
#include "reports/sellercards.h"
#include "rtf/rtfdocument.h"
#include "toolkit/dialogs.h"
#include "toolkit/text.h"
#include "ui/printing.h"

using tk::Alignment;

const tk::WindowSpec& utilities::Design() const {
  static const tk::WindowSpec design{QStringLiteral("Fonctions utilitaires"), 317, 337, tk::Placement::Default,
                                     QColor(), true};
  return design;
}

const std::vector<tk::ControlSpec>& utilities::ControlDesign() const {
  // The hidden controls lie in the bottom band and never take the focus.
  static const std::vector<tk::ControlSpec> controls{
      tk::BevelButtonSpec("BevelButton1", 45, 118, 206, 30, "Imprimer les fiches vendeurs")
          .tab(1).onAction(tk::On(&utilities::BevelButton1_Action)),
      tk::BevelButtonSpec("BevelButton2", 46, 214, 205, 29, "Imprimer les résultats")
          .tab(2).onAction(tk::On(&utilities::BevelButton2_Action)),
      tk::ListboxSpec("Controlle", 31, 277, 205, 37).columns(9).hidden(),
      tk::TextFieldSpec("TA1", 39, 277, 76, 27).hidden().noFocus(),
      tk::LabelSpec("StaticText4", 46, 168, 198, 34, "Feuille générale de résultats des vendeurs (résultats finaux)")
          .multiline().align(Alignment::Centre),
      tk::LabelSpec("StaticText9", 11, 89, 292, 17, "Fiches à suspendre au dessus des vendeurs"),
      tk::TextFieldSpec("TextField1", 215, 277, 79, 27).hidden().noFocus(),
      tk::TextFieldSpec("Kommision", 210, 295, 84, 22)
          .makeReadOnly().withFormat(tk::AmountFormat).align(Alignment::Right).hidden().noFocus(),
      tk::ListboxSpec("CoupinsVendeur", 23, 303, 191, 14).columns(2).withGrid().hidden(),
      tk::TextFieldSpec("locbac", 189, 277, 84, 22).align(Alignment::Centre).hidden().noFocus(),
      tk::TextFieldSpec("TotalNet", 103, 295, 84, 22)
          .makeReadOnly().withFormat(tk::AmountFormat).align(Alignment::Right).hidden().noFocus(),
      tk::TextFieldSpec("fraise", 130, 295, 84, 22)
          .withFormat(tk::AmountFormat).align(Alignment::Right).hidden().noFocus(),
      tk::TextFieldSpec("TA2", 56, 290, 93, 27).hidden().noFocus(),
      tk::TextFieldSpec("fromat", 41, 277, 73, 29).withFormat(tk::AmountFormat).hidden().noFocus(),
      tk::TextFieldSpec("TotalBrut", 170, 282, 84, 22)
          .makeReadOnly().withFormat(tk::AmountFormat).align(Alignment::Right).hidden().noFocus(),
      tk::TextFieldSpec("locramp", 170, 277, 84, 22).align(Alignment::Centre).hidden().noFocus(),
      tk::TextFieldSpec("EcceHomo", 49, 277, 156, 30).makeReadOnly().hidden().noFocus(),
      tk::BevelButtonSpec("BevelButton3", 117, 269, 81, 30, "Fermer").tab(0)
          .onAction(tk::On(&utilities::BevelButton3_Action)),
      tk::BevelButtonSpec("BevelButton4", 45, 43, 206, 30, "Editer le fichier des vendeurs")
          .tab(3).onAction(tk::On(&utilities::BevelButton4_Action)),
      tk::LabelSpec("StaticText10", 22, 14, 270, 17, "Ajouter un vendeur, ajouter des coupons"),
  };
  return controls;
}

// "Imprimer les fiches vendeurs": a card per seller of the list as it is
// on disk now, then the word processor. The window stays open.
void utilities::BevelButton1_Action() {
  if (StillPrinting(*this, DataFile(SellerCardsFile))) return;
  const auto sellers = ReadSellerList();
  if (!sellers) {
    tk::MsgBox(QStringLiteral("Fichier introuvable! Créez d'abord le fichier des coupons et des vendeurs!"));
    tk::Ref<utilities>().Close();
    return;
  }
  // The hidden list keeps the sellers of the last run, as many fields as
  // it has columns; the cards do not read it.
  tk::Listbox& table = *Controlle();
  const int columns = std::min(table.ColumnCount(), SellerRecord::FieldCount);
  table.DeleteAllRows();
  for (const SellerRecord& seller : *sellers)
    table.AddRow(QStringList(seller.fields.begin(), seller.fields.begin() + columns));

  const auto file = WriteSellerCards(*sellers);
  if (!file) {
    tk::MsgBox(CannotCreatePrintout);
    return;
  }
  PrintLauncher(*this, *file, SellerCardsPrintCommand(), [](PrintOutcome) {});
}

// "Imprimer les résultats": the final statement of every seller number,
// confirmed, then the word processor. The window closes once the report is
// opened, or when there is nothing it can do.
void utilities::BevelButton2_Action() {
  if (StillPrinting(*this, DataFile(GeneralResultsFile))) return;
  const ResultsRun run = WriteGeneralResults(Module1::ovktaux, Module1::myday);
  switch (run.ending) {
    case ResultsRun::NoSellerList:
      tk::MsgBox(QStringLiteral("Le fichier des vendeurs a disparu!!!"));
      tk::Ref<utilities>().Close();
      return;
    case ResultsRun::CodeTooLarge:
      tk::MsgBox(QStringLiteral("Le code vendeur ") + run.code +
                 QStringLiteral(" est trop grand (") + tk::Str(HighestSellerCode) +
                 QStringLiteral(" au plus): corrigez-le avec « Editer le fichier des vendeurs »."));
      return;
    case ResultsRun::CannotWrite:
      tk::MsgBox(CannotCreatePrintout);
      tk::Ref<utilities>().Close();
      return;
    case ResultsRun::SalesUnreadable:
      tk::MsgBox(QStringLiteral("Aucun fichier disponible pour ce vendeur!"));
      tk::MsgBox(QStringLiteral("Je ferme le fichier par sécurité!"));
      return;
    case ResultsRun::Written:
      break;
  }
  if (kBuildPlatform != Platform::Windows)
    tk::MsgBox(QStringLiteral("Fichier créé (") + GeneralResultsFile + QStringLiteral(")."));
  PrintLauncher(*this, DataFile(GeneralResultsFile), GeneralResultsPrintCommand(), [this](PrintOutcome outcome) {
    if (outcome != PrintOutcome::Failed) Close();
  });
}

// "Fermer".
void utilities::BevelButton3_Action() { tk::Ref<utilities>().Close(); }

// "Editer le fichier des vendeurs": the seller editor, beside this window.
void utilities::BevelButton4_Action() { tk::Ref<editwin>().Show(); }
