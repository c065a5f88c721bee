#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include "support/describe.h"
#include "support/harness.h"
#include "toolkit/controls.h"
#include "toolkit/dialogs.h"
#include "toolkit/text.h"

namespace {

// A caution with the two buttons "Continuer" and "Annuler".
tk::MessageDialog warning() {
  tk::MessageDialog d;
  d.Icon = tk::MessageDialog::Caution;
  d.Title = "Attention";
  d.Message = "Vous allez...";
  d.Explanation = "Pressez \"Annuler\".";
  d.ActionButton.Caption = "Continuer";
  d.CancelButton.Caption = "Annuler";
  d.CancelButton.Visible = true;
  d.CancelButton.Cancel = true;
  return d;
}

}  // namespace

class TestControls : public QObject {
  Q_OBJECT
 private slots:
  void formattedFieldReadsWhatItShows_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("read");
    QTest::newRow("decimal comma") << "12,5" << "12.50";
    QTest::newRow("whole") << "7" << "7.00";
    QTest::newRow("empty") << "" << "";
    QTest::newRow("word") << "abc" << "0.00";
  }
  void formattedFieldReadsWhatItShows() {
    QFETCH(QString, typed);
    QFETCH(QString, read);
    QWidget window;
    auto* field = new tk::TextField(&window);
    auto* other = new tk::TextField(&window);
    field->SetFormat(tk::AmountFormat);
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    field->setFocus();
    QTest::keyClicks(field, typed);
    QCOMPARE(field->Text(), read);  // still focused: the formatted text all the same
    other->setFocus();
    QCOMPARE(testing::Typed(field), read);  // shown formatted once left
    QCOMPARE(field->Text(), read);
    field->SetText("3");
    QCOMPARE(testing::Typed(field), QString("3.00"));
  }

  void plainFieldKeepsItsText() {
    tk::TextField field;
    field.SetText(" 07 ");
    QCOMPARE(field.Text(), QString(" 07 "));
  }

  void lineBreaksNeverGetIn() {
    tk::TextField field;
    QGuiApplication::clipboard()->setText("Aqua\nflore\r\n");
    field.paste();
    QCOMPARE(field.Text(), QString("Aquaflore"));
    field.SetText("a\nb");
    QCOMPARE(field.Text(), QString("ab"));
  }

  // A label's text is drawn whole: smaller when its box is too small for it.
  void labelTextIsNeverCut_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("wraps");
    QTest::addColumn<bool>("shrinks");
    QTest::newRow("fits") << "Nouveau taux:" << false << false;
    QTest::newRow("one line too long") << "Réalisé pour le club OVK par ses bénévoles" << false << true;
    QTest::newRow("too many lines")
        << "Programme pour la gestion de la Bourse aux poissons et aux plantes de l'OVK" << true << true;
    QTest::newRow("empty") << "" << false << false;
  }
  void labelTextIsNeverCut() {
    QFETCH(QString, text);
    QFETCH(bool, wraps);
    QFETCH(bool, shrinks);
    tk::Label label;
    QFont f = label.font();
    f.setPointSize(wraps ? 15 : 10);
    label.setFont(f);
    label.setWordWrap(wraps);
    label.setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label.setText(text);
    label.setGeometry(0, 0, wraps ? 334 : 200, wraps ? 59 : 26);
    const QFont drawn = label.DrawnFont();
    QCOMPARE(drawn.pointSizeF() < f.pointSizeF(), shrinks);
    QCOMPARE(label.font(), f);  // the design's font is kept
    const int flags = int(label.alignment()) | (wraps ? Qt::TextWordWrap : 0);
    const QRect need = QFontMetrics(drawn).boundingRect(label.contentsRect(), flags, text);
    QVERIFY(need.width() <= label.width() && need.height() <= label.height());
    QVERIFY(!label.grab().isNull());  // the fitted text paints
  }

  void messageDialogAnswers_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("pressed");
    QTest::newRow("action") << int(tk::DialogAnswer::Action) << "Continuer";
    QTest::newRow("cancel") << int(tk::DialogAnswer::Cancel) << "Annuler";
    QTest::newRow("closed some other way") << int(tk::DialogAnswer::Other) << "Annuler";
  }
  void messageDialogAnswers() {
    QFETCH(int, answer);
    QFETCH(QString, pressed);
    testing::Harness h;
    h.dialogs().answer(static_cast<tk::DialogAnswer>(answer));
    tk::MessageDialog d = warning();
    const tk::MessageDialogButton* b = d.ShowModal();
    QCOMPARE(b->Caption, pressed);
    QVERIFY(b == &d.ActionButton || b == &d.CancelButton);
    QCOMPARE(h.dialogs().shown().size(), 1);
    QCOMPARE(h.dialogs().shown().first().dialog.Title, QString("Attention"));
  }

  void msgBoxTextsAreRecordedInOrder() {
    testing::Harness h;
    tk::MsgBox("un");
    tk::MsgBox("deux");
    QCOMPARE(h.dialogs().texts(), QStringList({"un", "deux"}));
  }

  // The harness itself: a message dialog the test did not script, and a box
  // whose text the test never looked at, each fail the test.
  void harnessFailsAnUnscriptedDialog() {
    testing::Harness h;
    tk::MessageDialog d = warning();
    QEXPECT_FAIL("", "a dialog nobody scripted fails the test", Continue);
    QCOMPARE(d.ShowModal(), &d.CancelButton);
    QVERIFY(!QTest::currentTestFailed());
  }
  void harnessFailsABoxNobodyLookedAt_data() {
    QTest::addColumn<bool>("cleared");  // else: left until the harness ends
    QTest::newRow("dropped by clear") << true;
    QTest::newRow("left at the end") << false;
  }
  void harnessFailsABoxNobodyLookedAt() {
    QFETCH(bool, cleared);
    {
      testing::Harness h;
      tk::MsgBox("vu de personne");
      QEXPECT_FAIL("", "a box whose text the test never looked at fails the test", Continue);
      if (cleared) h.dialogs().clear();
    }
    QVERIFY(!QTest::currentTestFailed());
  }

  // The real boxes behind the seam, run once: each is found once it is up,
  // what it shows is noted, and it is answered from the keyboard or with a
  // click.
  void realMessageBoxes_data() {
    QTest::addColumn<bool>("dialog");        // a message dialog; else a message box
    QTest::addColumn<QString>("how");        // a key, or the caption of the button clicked
    QTest::addColumn<QString>("answer");     // the caption of the dialog's button given back
    QTest::newRow("box: OK") << false << "OK" << "";
    QTest::newRow("box: Return") << false << "Return" << "";
    QTest::newRow("box: Escape") << false << "Escape" << "";
    QTest::newRow("dialog: Return presses Continuer") << true << "Return" << "Continuer";
    QTest::newRow("dialog: Escape presses Annuler") << true << "Escape" << "Annuler";
    QTest::newRow("dialog: Annuler clicked") << true << "Annuler" << "Annuler";
  }
  void realMessageBoxes() {
    QFETCH(bool, dialog);
    QFETCH(QString, how);
    QFETCH(QString, answer);
    tk::SetDialogSeam(nullptr);
    QApplication::setApplicationName("Corvalenta");
    struct {
      bool found = false;
      bool leftUp = false;  // the answer did not close it
      QString title, text, explanation, defaultButton, escapeButton;
      QStringList buttons;
      QMessageBox::Icon icon = QMessageBox::NoIcon;
      Qt::TextFormat format = Qt::AutoText;
    } seen;
    QObject context;
    QTimer::singleShot(0, &context, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!box) return;
      seen.found = true;
      seen.title = box->windowTitle();
      seen.text = box->text();
      seen.explanation = box->informativeText();
      seen.icon = box->icon();
      seen.format = box->textFormat();
      const auto caption = [](const QAbstractButton* b) { return b ? b->text().remove('&') : QString(); };
      for (const QAbstractButton* b : box->buttons()) seen.buttons << caption(b);
      seen.defaultButton = caption(box->defaultButton());
      seen.escapeButton = caption(box->escapeButton());
      if (how == "Escape") QTest::keyClick(box, Qt::Key_Escape);
      else if (how == "Return") QTest::keyClick(box, Qt::Key_Return);
      for (QAbstractButton* b : box->buttons())
        if (caption(b) == how) b->click();
    });
    // Should the box stay up, the test fails instead of hanging.
    QTimer::singleShot(5000, &context, [&] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        seen.leftUp = true;
        box->done(0);
      }
    });

    if (dialog) {
      tk::MessageDialog d = warning();
      QCOMPARE(d.ShowModal()->Caption, answer);
    } else {
      tk::MsgBox(QString::fromUtf8("Aucun coupon n'a été sélectionné!"));
    }
    QVERIFY2(seen.found, "no message box came up");
    QVERIFY2(!seen.leftUp, "the answer did not close the box");
    QCOMPARE(seen.title, dialog ? QString("Attention") : QString("Corvalenta"));
    QCOMPARE(seen.text, dialog ? QString("Vous allez...") : QString::fromUtf8("Aucun coupon n'a été sélectionné!"));
    QCOMPARE(seen.explanation, dialog ? QString("Pressez \"Annuler\".") : QString());
    QCOMPARE(seen.icon, dialog ? QMessageBox::Warning : QMessageBox::NoIcon);
    QCOMPARE(seen.buttons, dialog ? QStringList({"Continuer", "Annuler"}) : QStringList({"OK"}));
    QCOMPARE(seen.defaultButton, dialog ? QString("Continuer") : QString("OK"));
    if (dialog) QCOMPARE(seen.escapeButton, QString("Annuler"));
    // A box may show a text from the files (a seller code): never as markup.
    if (!dialog) QCOMPARE(seen.format, Qt::PlainText);
  }
};

QTEST_MAIN(TestControls)
#include "tst_controls.moc"
