#include <QClipboard>
#include <QCoreApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <stdexcept>

#include "support/describe.h"
#include "support/harness.h"
#include "toolkit/application.h"
#include "toolkit/controls.h"
#include "toolkit/dialogs.h"
#include "toolkit/window.h"

namespace {

// What the test windows saw while they were built.
struct Trace {
  QStringList steps;
  void* selfSeenInOpening = nullptr;
  bool controlsExistedInOpening = false;
} trace;

class Plain : public tk::Window {
  Q_OBJECT
 public:
  const tk::WindowSpec& Design() const override {
    static const tk::WindowSpec d{"Plain", 224, 96, tk::Placement::Default, QColor(), true};
    return d;
  }
  const std::vector<tk::ControlSpec>& ControlDesign() const override {
    static const std::vector<tk::ControlSpec> c{
        tk::TextFieldSpec("Field", 10, 10, 60, 24).tab(0).onTextChange(tk::On(&Plain::Field_TextChange)),
        tk::BevelButtonSpec("Go", 10, 50, 80, 25, "Go").tab(1).onAction(tk::On(&Plain::Go_Action)),
        tk::BevelButtonSpec("Boom", 100, 50, 80, 25, "Boom").onAction(tk::On(&Plain::Boom_Action)),
    };
    return c;
  }
  tk::TextField* Field() const { return control<tk::TextField>("Field"); }
  tk::BevelButton* Go() const { return control<tk::BevelButton>("Go"); }
  tk::BevelButton* Boom() const { return control<tk::BevelButton>("Boom"); }
  // Accessors with a programming error in them.
  tk::TextField* Misspelt() const { return control<tk::TextField>("Feild"); }
  tk::Label* WrongType() const { return control<tk::Label>("Field"); }
  void Go_Action() { trace.steps << "Go"; }
  void Field_TextChange() { trace.steps << "edit " + Field()->Text(); }
  void Boom_Action() { throw std::runtime_error("boom"); }
  void Event_Open() override {
    trace.steps << "open";
    trace.selfSeenInOpening = tk::Ref<Plain>().get();
    trace.controlsExistedInOpening = Control("Go") != nullptr;
  }
};

class ClosesItself : public tk::Window {
  Q_OBJECT
 public:
  const tk::WindowSpec& Design() const override {
    static const tk::WindowSpec d{"Closes", 100, 100, tk::Placement::Default, QColor(), true};
    return d;
  }
  const std::vector<tk::ControlSpec>& ControlDesign() const override {
    static const std::vector<tk::ControlSpec> c;
    return c;
  }
  void Event_Open() override {
    trace.steps << "closing";
    tk::Ref<ClosesItself>().Close();
  }
};

class Modal : public tk::Window {
  Q_OBJECT
 public:
  const tk::WindowSpec& Design() const override {
    static const tk::WindowSpec d{"Modal", 100, 100, tk::Placement::Default, QColor(), true};
    return d;
  }
  const std::vector<tk::ControlSpec>& ControlDesign() const override {
    static const std::vector<tk::ControlSpec> c{
        tk::BevelButtonSpec("Done", 10, 10, 80, 25, "Done").onAction(tk::On(&Modal::Done_Action))};
    return c;
  }
  void Done_Action() { tk::Ref<Modal>().Close(); }
};

// Column titles spaced with blanks, in a label drawn just wide enough for them.
class Titles : public tk::Window {
  Q_OBJECT
 public:
  const tk::WindowSpec& Design() const override {
    static const tk::WindowSpec d{"Titles", 300, 100, tk::Placement::Default, QColor(), true};
    return d;
  }
  const std::vector<tk::ControlSpec>& ControlDesign() const override {
    static const std::vector<tk::ControlSpec> c{
        tk::LabelSpec("Tight", 10, 10, 200, 20, "Vendeur          Adresse          LEDs").makeBold(),
        tk::LabelSpec("Roomy", 10, 40, 280, 20, "Vendeur   Adresse").makeBold(),
        tk::LabelSpec("Wrapped", 10, 60, 60, 40, "Vendeur Adresse LEDs").multiline(),
    };
    return c;
  }
};

// A window whose handler asks, in one of three ways, and then goes on with
// itself, as handlers do after a box.
class Asks : public tk::Window {
  Q_OBJECT
 public:
  enum Way { Box, Dialog, ModalWindow };
  static inline Way way = Box;
  static inline bool aliveAfterAsking = false;
  static inline int built = 0;

  const tk::WindowSpec& Design() const override {
    static const tk::WindowSpec d{"Asks", 200, 100, tk::Placement::Default, QColor(), true};
    return d;
  }
  const std::vector<tk::ControlSpec>& ControlDesign() const override {
    static const std::vector<tk::ControlSpec> c{
        tk::TextFieldSpec("Said", 10, 10, 150, 24),
        tk::BevelButtonSpec("Ask", 10, 50, 80, 25, "Ask").onAction(tk::On(&Asks::Ask_Action))};
    return c;
  }
  tk::TextField* Said() const { return control<tk::TextField>("Said"); }
  tk::BevelButton* Ask() const { return control<tk::BevelButton>("Ask"); }
  void Ask_Action() {
    const QPointer<Asks> self(this);
    if (way == Box) {
      tk::MsgBox("Sûr?");
    } else if (way == Dialog) {
      tk::MessageDialog d;
      d.Message = "Sûr?";
      d.ShowModal();
    } else {
      tk::Ref<Modal>().ShowModal();
    }
    aliveAfterAsking = !self.isNull();
    if (self) Said()->SetText("answered");
    // As handlers close their window after a box: the window closed under
    // the box, not a new one built for the purpose.
    tk::Ref<Asks>().Close();
  }

 protected:
  void Event_Open() override { ++built; }
};

}  // namespace

class TestWindow : public QObject {
  Q_OBJECT
 private slots:
  void init() { trace = Trace(); }

  void referenceBuildsOnceAndGivesTheSameWindow() {
    testing::Harness h;
    auto first = tk::Ref<Plain>();
    QVERIFY(first.IsOpen());
    QVERIFY(first->isVisible());
    QCOMPARE(trace.steps, QStringList({"open"}));
    auto second = tk::Ref<Plain>();
    QCOMPARE(second.get(), first.get());
    QCOMPARE(trace.steps, QStringList({"open"}));  // the opening does not run again
    QCOMPARE(first->objectName(), QString("Plain"));
    QCOMPARE(first->Go()->objectName(), QString("Go"));
  }

  void referenceDuringTheBuildGivesTheWindowBeingBuilt() {
    testing::Harness h;
    auto w = tk::Ref<Plain>();
    QCOMPARE(trace.selfSeenInOpening, static_cast<void*>(w.get()));
    QVERIFY(trace.controlsExistedInOpening);
  }

  void closeDuringTheOpeningLeavesNothing() {
    testing::Harness h;
    auto w = tk::Ref<ClosesItself>();
    QCOMPARE(trace.steps, QStringList({"closing"}));
    QVERIFY(!w.IsOpen());
    w.Show();  // does nothing
    QVERIFY(!w.get() || !w->isVisible());
    QVERIFY(tk::OpenWindows().empty());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!w.get());  // gone, and the handle knows it
    w.Show();
    // The next reference builds (and closes) anew.
    tk::Ref<ClosesItself>();
    QCOMPARE(trace.steps, QStringList({"closing", "closing"}));
  }

  void closeThenReferenceBuildsANewWindow() {
    testing::Harness h;
    auto first = tk::Ref<Plain>();
    testing::Type(first->Field(), "typed");
    first.Close();
    QVERIFY(!first.IsOpen());
    auto second = tk::Ref<Plain>();
    QVERIFY(second.IsOpen());
    QCOMPARE(trace.steps, QStringList({"open", "open"}));
    QCOMPARE(testing::Typed(second->Field()), QString());
  }

  void onlyTheSystemClosesAWindow() {
    testing::Harness h;
    auto w = tk::Ref<Plain>();
    QVERIFY(!w->close());  // the window manager's close request
    QVERIFY(w->isVisible());
    QTest::keyClick(w.get(), Qt::Key_Escape);
    QVERIFY(w->isVisible());
    QVERIFY(w.IsOpen());
    const Qt::WindowFlags f = w->windowFlags();
    QVERIFY(!(f & Qt::WindowCloseButtonHint));
    QVERIFY(!(f & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(f & Qt::WindowMaximizeButtonHint));
    QCOMPARE(w->minimumSize(), QSize(224, 96));
    QCOMPARE(w->maximumSize(), QSize(224, 96));
  }

  void clickRunsTheHandlerAndTabFollowsTheDesign() {
    testing::Harness h;
    auto w = tk::Ref<Plain>();
    w->Go()->click();
    QCOMPARE(trace.steps, QStringList({"open", "Go"}));
    QCOMPARE(w->Go()->focusPolicy(), Qt::StrongFocus);
    QCOMPARE(w->Boom()->focusPolicy(), Qt::ClickFocus);
    QVERIFY(!w->Go()->isDefault());
    QVERIFY(!w->Go()->autoDefault());
  }

  // The user's typing, deleting and pasting run the field's handler, once
  // the text has changed; the program's own SetText does not.
  void editsByTheUserRunTheTextChangeHandler() {
    testing::Harness h;
    auto w = tk::Ref<Plain>();
    w->Field()->SetText("12");
    QCOMPARE(trace.steps, QStringList({"open"}));
    w->Field()->setFocus();
    w->Field()->end(false);
    QTest::keyClick(w->Field(), Qt::Key_Backspace);
    QTest::keyClicks(w->Field(), "5");
    QGuiApplication::clipboard()->setText("0");
    w->Field()->paste();
    QCOMPARE(trace.steps, QStringList({"open", "edit 1", "edit 15", "edit 150"}));
    w->Field()->SetText("7");
    w->Field()->clear();
    QCOMPARE(trace.steps.size(), 4);
    QVERIFY(h.dialogs().shown().isEmpty());
  }

  void errorEscapingAHandlerIsReportedAndEndsTheRun() {
    testing::Harness h;
    auto w = tk::Ref<Plain>();
    w->Boom()->click();
    QCOMPARE(h.dialogs().shown().size(), 1);
    QVERIFY(h.dialogs().texts().first().contains("boom"));
    QCOMPARE(h.quits(), QList<int>({1}));
  }

  // A one-line label whose text the font at hand makes too wide is
  // condensed to fit, not cut; the others keep their font.
  void labelTextThatDoesNotFitIsCondensed() {
    testing::Harness h;
    auto w = tk::Ref<Titles>();
    auto* tight = static_cast<tk::Label*>(w->Control("Tight"));
    QFont natural = tight->font();
    natural.setStretch(QFont::AnyStretch);
    const int wide = QFontMetrics(natural).horizontalAdvance(tight->text());
    if (wide <= tight->width() || wide * 7 / 10 > tight->width()) QSKIP("this platform's font does not suit the case");
    QVERIFY(tight->font().stretch() < 100);
    QVERIFY(QFontMetrics(tight->font()).horizontalAdvance(tight->text()) <= tight->width());
    QVERIFY(tight->font().bold());
    for (const char* name : {"Roomy", "Wrapped"})
      QCOMPARE(w->Control(name)->font().stretch(), int(QFont::AnyStretch));
  }

  // A control that an accessor names wrongly stops the run at once, with a
  // message naming it, instead of handing out a null or a wrong pointer.
  // The run that stops is a second one of this program.
  void controlThatIsNotThereStopsTheRun_data() {
    QTest::addColumn<QString>("message");
    QTest::newRow("misspelt name") << "Plain has no control named Feild";
    QTest::newRow("wrong type") << "Plain: the control Field is a tk::TextField, not a tk::Label";
  }
  void controlThatIsNotThereStopsTheRun() {
    QFETCH(QString, message);
    const QString row = QString::fromUtf8(QTest::currentDataTag());
    if (qEnvironmentVariableIsSet("CORVALENTA_BAD_LOOKUP")) {
      testing::Harness h;
      auto w = tk::Ref<Plain>();
      if (row == "misspelt name") w->Misspelt();
      else w->WrongType();
      QFAIL("the lookup went on");
    }
    const testing::SecondRun run = testing::RunThisTestAgain("CORVALENTA_BAD_LOOKUP");
    QVERIFY(run.crashed);
    QVERIFY2(run.output.contains(message), qPrintable(run.output));
  }

  void showModalReturnsWhenTheWindowCloses() {
    testing::Harness h;
    auto w = tk::Ref<Modal>();
    bool wasModal = false;
    QTimer::singleShot(0, w.get(), [&] {
      wasModal = w->isModal();
      static_cast<tk::BevelButton*>(w->Control("Done"))->click();
    });
    // Should the click not close it, the test ends all the same.
    QTimer::singleShot(5000, w.get(), [&] { w.Close(); });
    w.ShowModal();
    QVERIFY(wasModal);
    QVERIFY(!w.IsOpen());
  }

  // A window closed while a box or a modal window it opened is still up is
  // hidden at once and deleted only once that has ended: the box stays
  // answerable, the handler that asked goes on with a window that exists,
  // and its own closing then closes that window, building no other.
  void closedUnderItsOwnBox_data() {
    QTest::addColumn<int>("way");
    QTest::newRow("message box") << int(Asks::Box);
    QTest::newRow("message dialog") << int(Asks::Dialog);
    QTest::newRow("modal window") << int(Asks::ModalWindow);
  }
  void closedUnderItsOwnBox() {
    QFETCH(int, way);
    testing::Harness h;
    Asks::way = static_cast<Asks::Way>(way);
    Asks::aliveAfterAsking = false;
    Asks::built = 0;
    auto w = tk::Ref<Asks>();
    QVERIFY(QTest::qWaitForWindowActive(w.get()));
    const QPointer<Asks> window(w.get());
    bool hiddenWhileAsking = false;
    bool eventsAfterClosing = false;  // every event posted by the closing has been delivered
    QObject context;
    const auto closeIt = [&] {
      tk::Ref<Asks>().Close();
      hiddenWhileAsking = window && !window->isVisible();
      QMetaObject::invokeMethod(&context, [&] { eventsAfterClosing = true; }, Qt::QueuedConnection);
    };
    if (way == Asks::ModalWindow) {
      QTimer::singleShot(0, &context, [&] {
        closeIt();
        QMetaObject::invokeMethod(&context, [] { tk::Ref<Modal>().Close(); }, Qt::QueuedConnection);
      });
    } else {
      if (way == Asks::Dialog) h.dialogs().answer(tk::DialogAnswer::Action);
      h.dialogs().runNext({closeIt, [&] { return eventsAfterClosing; }});
    }
    w->Ask()->click();
    QVERIFY(hiddenWhileAsking);
    QVERIFY(Asks::aliveAfterAsking);
    QVERIFY(window);
    QCOMPARE(window->Said()->Text(), QString("answered"));
    QVERIFY(!w.IsOpen());
    QCOMPARE(Asks::built, 1);
    QVERIFY(tk::OpenWindows().empty());
    QTRY_VERIFY(!window);
    if (way != Asks::ModalWindow) QCOMPARE(h.dialogs().texts(), QStringList{"Sûr?"});
  }
};

QTEST_MAIN(TestWindow)
#include "tst_window.moc"
