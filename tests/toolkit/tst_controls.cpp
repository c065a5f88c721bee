#include <QtTest>
#include <QClipboard>

#include "support/describe.h"
#include "support/harness.h"
#include "toolkit/controls.h"
#include "toolkit/dialogs.h"
#include "toolkit/text.h"

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
    tk::MessageDialog d;
    d.Icon = tk::MessageDialog::Caution;
    d.Title = "Attention";
    d.Message = "Vous allez...";
    d.ActionButton.Caption = "Continuer";
    d.CancelButton.Caption = "Annuler";
    d.CancelButton.Visible = true;
    d.CancelButton.Cancel = true;
    const tk::MessageDialogButton* b = d.ShowModal();
    QCOMPARE(b->Caption, pressed);
    QVERIFY(b == &d.ActionButton || b == &d.CancelButton);
    QCOMPARE(h.dialogs().shown.size(), 1);
    QCOMPARE(h.dialogs().shown.first().dialog.Title, QString("Attention"));
  }

  void msgBoxTextsAreRecordedInOrder() {
    testing::Harness h;
    tk::MsgBox("un");
    tk::MsgBox("deux");
    QCOMPARE(h.dialogs().texts(), QStringList({"un", "deux"}));
    QCOMPARE(h.dialogs().unscripted, 0);
  }
};

QTEST_MAIN(TestControls)
#include "tst_controls.moc"
