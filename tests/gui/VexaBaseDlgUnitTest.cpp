// The page protocol on a page with a number field and on the general page: what Cancel,
// Apply and OK do to the engine data and to the project's modified state, a field that is
// not a number, Enter in a field, the title and the general page's visibility rule.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>
#include <QtTest>
#include <functional>

#include "CommonInfoDlgUnit.h"
#include "ControlExchangeUnit.h"
#include "DataExchangeUnit.h"
#include "EngineDataStructUnit.h"
#include "GuiTestSupport.h"
#include "HelpWindowUnit.h"
#include "VexaBaseDlgUnit.h"

namespace {

// A page with two number fields bound to the crank radius and the throw length.
class TNumberPage : public TVexaBaseDlg {
 public:
  TNumberPage() : TVexaBaseDlg("Проверочная страница") {
    auto* layout = new QVBoxLayout(Content());
    R = new QLineEdit(Content());
    R->setAccessibleName("Радиус кривошипа, м (R)");
    L0 = new QLineEdit(Content());
    L0->setAccessibleName("Длина колена, м (L0)");
    layout->addWidget(R);
    layout->addWidget(L0);
    WatchChanges(R);
    WatchChanges(L0);
  }
  void DoDataExchange(bool FromControls) override {
    TVexaBaseDlg::DoDataExchange(FromControls);
    Updating = true;
    ExchangeEditFloat(R, copy.R, FromControls);
    ExchangeEditFloat(L0, copy.L0, FromControls);
    Updating = false;
  }
  void ExchangeData(bool ToEngine) override {
    ExchangeDouble(Data->R, copy.R, ToEngine);
    ExchangeDouble(Data->L0, copy.L0, ToEngine);
  }
  QLineEdit *R, *L0;
  struct {
    double R = 0, L0 = 0;
  } copy;
};

// Runs the page modally; the action works on it while it is open.
int runPage(TVexaBaseDlg& page, TEngineDataStruct& data, std::function<void()> action) {
  QTimer::singleShot(0, &page, [&page, action] {
    action();
    if (page.isVisible()) page.reject();
  });
  return page.EditData(data);
}

}  // namespace

class PageProtocolTest : public QObject {
  Q_OBJECT
  TEngineDataStruct data;
  int notifications = 0;
  TScriptedDialogs dialogs;

 private slots:
  void init() {
    data = TEngineDataStruct();
    data.R = 0.13;
    data.L0 = 0.38;
    notifications = 0;
    data.OwnerNotify = [this](int n) {
      if (n == NotifyModified) ++notifications;
    };
    dialogs.Errors.clear();
  }

  void fillingAndCancelWithoutTouchingMarkNothing() {
    TNumberPage page;
    runPage(page, data, [&] {
      QCOMPARE(page.R->text(), QString("0.13"));
      QCOMPARE(page.L0->text(), QString("0.38"));
      page.CancelButton->click();
    });
    QCOMPARE(notifications, 0);
  }
  void cancelAfterTypingKeepsTheDataButMarksTheProject() {
    TNumberPage page;
    const int result = runPage(page, data, [&] {
      QTest::keyClicks(page.R, "5");
      page.CancelButton->click();
    });
    QCOMPARE(result, int(QDialog::Rejected));
    QCOMPARE(data.R, 0.13);
    QVERIFY(notifications > 0);
  }
  void applyThenCancelKeepsTheAppliedValues() {
    TNumberPage page;
    runPage(page, data, [&] {
      page.R->setText("0.2");
      page.ApplyButton->click();
      QVERIFY(page.isVisible());
      page.L0->setText("0.5");
      page.CancelButton->click();
    });
    QCOMPARE(data.R, 0.2);
    QCOMPARE(data.L0, 0.38);
  }
  void okAppliesAndCloses() {
    TNumberPage page;
    const int result = runPage(page, data, [&] {
      page.L0->setText("4.5E-1");
      page.OKButton->click();
    });
    QCOMPARE(result, int(QDialog::Accepted));
    QCOMPARE(data.L0, 0.45);
  }
  void textThatIsNotANumberStopsOkWithTheDataUntouched() {
    TNumberPage page;
    bool stayedOpen = false;
    runPage(page, data, [&] {
      page.R->setText("0.25");
      page.L0->setText("0,5");  // a decimal comma is not a number here
      page.OKButton->click();
      stayedOpen = page.isVisible();
      QCOMPARE(page.L0->selectedText(), QString("0,5"));
      QCOMPARE(page.focusWidget(), page.L0);
    });
    QVERIFY(stayedOpen);
    QCOMPARE(data.R, 0.13);
    QCOMPARE(data.L0, 0.38);
    QCOMPARE(dialogs.Errors.size(), 1);
    QVERIFY(dialogs.Errors[0].contains("Длина колена, м (L0)"));
    QVERIFY(dialogs.Errors[0].contains("\"0,5\""));
  }
  void enterMovesToTheNextFieldAndKeepsThePageOpen() {
    TNumberPage page;
    bool open = false;
    QWidget* focused = nullptr;
    runPage(page, data, [&] {
      page.R->setFocus();
      QTest::keyClick(page.R, Qt::Key_Return);
      focused = page.focusWidget();
      open = page.isVisible();
    });
    QVERIFY(open);
    QCOMPARE(focused, page.L0);
  }
  void titleNamesThePageAndTheProject() {
    TNumberPage page;
    data.ProjectName = "Безымянный ";
    QString title;
    runPage(page, data, [&] { title = page.windowTitle(); });
    QCOMPARE(title, QString("Проверочная страница: Безымянный "));
  }
  void numbersKeepTheirPointUnderACommaLocale() {
    // The tests run under a decimal-comma locale.
    TNumberPage page;
    data.R = 1234.5;
    runPage(page, data, [&] {
      QCOMPARE(page.R->text(), QString("1234.5"));
      page.OKButton->click();
    });
    QCOMPARE(data.R, 1234.5);
  }

  void generalPageExchangesItsSixFields() {
    TCommonInfoDlg page;
    data.ProjectName = "Дизель 16ЧН";
    data.EngineType = 2;
    data.CalcDynamicFlag = data.CalcOscillFlag = data.CalcCombFlag = true;
    data.NRegs = 7;
    runPage(page, data, [&] {
      QCOMPARE(page.ProjectName->text(), QString("Дизель 16ЧН"));
      QCOMPARE(page.EngineType->currentText(), QString("Среднеоборотный форсированный дизель"));
      QVERIFY(page.NRegs->isVisible());
      QCOMPARE(page.NRegs->value(), 7);
      page.EngineType->setCurrentIndex(7);
      page.NRegs->setValue(20);
      page.OKButton->click();
    });
    QCOMPARE(data.EngineType, std::uint8_t(7));
    QCOMPARE(data.NRegs, std::int16_t(20));
    QCOMPARE(data.ProjectName, std::string("Дизель 16ЧН"));
    QVERIFY(notifications > 0);
  }
  void anArrowStepOfTheResonanceCountMarksTheProject() {
    TCommonInfoDlg page;
    data.NRegs = 7;
    runPage(page, data, [&] {
      // A step redraws the spin box's text with its signals blocked.
      page.NRegs->setFocus();
      QTest::keyClick(page.NRegs, Qt::Key_Up);
      QCOMPARE(page.NRegs->value(), 8);
      QCOMPARE(notifications, 1);
      page.CancelButton->click();
    });
    QCOMPARE(data.NRegs, std::int16_t(7));
  }
  void untickingTheTorsionalCalculationHidesAndClearsTheCombined() {
    TCommonInfoDlg page;
    data.CalcDynamicFlag = data.CalcOscillFlag = data.CalcCombFlag = true;
    runPage(page, data, [&] {
      QVERIFY(page.CalcCombFlag->isVisible());
      QTest::mouseClick(page.CalcOscillFlag, Qt::LeftButton);
      QVERIFY(!page.CalcCombFlag->isVisible());
      QVERIFY(!page.CalcCombFlag->isChecked());
      QVERIFY(!page.NRegsLabel->isVisible());
      page.OKButton->click();
    });
    QVERIFY(!data.CalcOscillFlag);
    QVERIFY(!data.CalcCombFlag);
  }
  void openingAPageWithAnInconsistentFlagDoesNotMarkTheProject() {
    // A stored combined flag without the torsional calculation is cleared on the page, but
    // only the user's OK stores it.
    TCommonInfoDlg page;
    data.CalcDynamicFlag = true;
    data.CalcOscillFlag = false;
    data.CalcCombFlag = true;
    runPage(page, data, [&] { QVERIFY(!page.CalcCombFlag->isVisible()); });
    QCOMPARE(notifications, 0);
    QVERIFY(data.CalcCombFlag);
  }
  void f1OnAPageOpensTheHelpWindow() {
    TCommonInfoDlg page;
    HelpWindow().hide();
    runPage(page, data, [&] { QTest::keyClick(page.ProjectName, Qt::Key_F1); });
    QVERIFY(HelpWindow().isVisible());
    HelpWindow().hide();
  }
  void fieldsCarryContextHelp() {
    TCommonInfoDlg page;
    for (QWidget* field : std::initializer_list<QWidget*>{page.ProjectName, page.EngineType, page.CalcDynamicFlag,
                                                         page.CalcOscillFlag, page.CalcCombFlag, page.NRegs})
      QVERIFY2(!field->whatsThis().isEmpty(), qPrintable(field->objectName()));
  }
};

QTEST_MAIN(PageProtocolTest)
#include "VexaBaseDlgUnitTest.moc"
