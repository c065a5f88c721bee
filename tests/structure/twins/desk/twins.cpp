// What tests/structure/vocabulary.sh must find: one Qt twin per line.
void twins(tk::TextField* field, tk::PushButton& button) {
  field->setText("a");
  field->text();
  field->setVisible(false);
  field->isVisible();
  field->isHidden();
  field->hide();
  button.show();
  field->setEnabled(true);
  button.setDisabled(true);
  field->isEnabled();
  field->setFocus();
  field->hasFocus();
  button.clearFocus();
  // The toolkit's words are left alone.
  field->SetText(field->Text());
  button.SetVisible(button.Visible());
  button.SetEnabled(!button.Enabled());
  field->SetFocus();
}
