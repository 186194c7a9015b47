// The material page and the material database editor: a material the database no longer
// holds, the two choices kept apart, the database's values carried into the project, and the
// editor's rows, Apply, Cancel after Apply and a failed write of the database file.
#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>

#include "EngineDataStructUnit.h"
#include "GuiTestSupport.h"
#include "MatPropDlgUnit.h"
#include "SteelDataBaseFormUnit.h"
#include "SteelElemFrameUnit.h"

namespace {

TSteelElem material(const std::string& name, double sgmV) {
  TSteelElem record;
  record.SteelName = name;
  record.SgmV = sgmV;
  record.SgmT = 0.6 * sgmV;
  record.Tau_1 = 0.25 * sgmV;
  record.Sgm_1 = 0.45 * sgmV;
  record.Ro = 7850;
  record.E = 2.1e5;
  record.Mu = 0.3;
  return record;
}

}  // namespace

class MatPropDlgTest : public QObject {
  Q_OBJECT
  TEngineDataStruct data;
  TSteelData database;
  int notifications = 0;
  TScriptedDialogs dialogs;

 private slots:
  void init() {
    database.Items = {material("Сталь 45", 600), material("40ХН2МА", 980), material("Сталь 45", 1)};
    data = TEngineDataStruct();
    data.ValSteel = database.Items[1];
    data.ProtSteel = database.Items[0];
    notifications = 0;
    data.OwnerNotify = [this](int n) {
      if (n == NotifyModified) ++notifications;
    };
    dialogs.Errors.clear();
  }

  void aMaterialMissingFromTheDatabaseKeepsItsStoredValues() {
    data.ValSteel = material("18ХНВА", 1150);
    TMatPropDlg page(database);
    RunPageWith(page, data, [&] {
      QCOMPARE(page.ValSteel->currentText(), TMatPropDlg::MissingEntry("18ХНВА"));
      QCOMPARE(page.ValSteelFrame->SgmV->text(), QString("1150"));
      QVERIFY(page.ValSteelMissing->isVisible());
      QVERIFY(page.ValSteelMissing->text().contains("18ХНВА"));
      QVERIFY(!page.ProtSteelMissing->isVisible());
      page.OKButton->click();
    });
    // Confirming the page does not replace the material by another one.
    QCOMPARE(data.ValSteel.SteelName, std::string("18ХНВА"));
    QCOMPARE(data.ValSteel.SgmV, 1150.0);
    QCOMPARE(notifications, 0);
    QVERIFY(dialogs.Errors.isEmpty());
  }
  void choosingAMaterialOfTheDatabaseReplacesTheMissingOne() {
    data.ValSteel = material("18ХНВА", 1150);
    TMatPropDlg page(database);
    RunPageWith(page, data, [&] {
      page.ValSteel->setCurrentIndex(1);
      emit page.ValSteel->activated(1);
      QVERIFY(!page.ValSteelMissing->isVisible());
      QCOMPARE(page.ValSteel->count(), 3);
      page.OKButton->click();
    });
    QCOMPARE(data.ValSteel, database.Items[1]);
    QVERIFY(notifications > 0);
  }
  void theFirstOfTwoEqualNamesIsChosenAndTheDatabaseValuesAreTaken() {
    data.ProtSteel = material("Сталь 45", 123);  // the project's stale copy
    TMatPropDlg page(database);
    RunPageWith(page, data, [&] {
      QCOMPARE(page.ProtSteel->currentIndex(), 0);
      page.OKButton->click();
    });
    QCOMPARE(data.ProtSteel.SgmV, 600.0);
  }
  void changingTheShaftMaterialLeavesTheCounterweight() {
    TMatPropDlg page(database);
    RunPageWith(page, data, [&] {
      page.ValSteel->setCurrentIndex(0);
      emit page.ValSteel->activated(0);
      page.OKButton->click();
    });
    QCOMPARE(data.ValSteel.SteelName, std::string("Сталь 45"));
    QCOMPARE(data.ProtSteel, database.Items[0]);
  }

  void editorCancelAfterApplyKeepsTheEditInMemoryAndTheFileUnchanged() {
    QTemporaryDir folder;
    const std::filesystem::path table = folder.filePath("Steel.table").toStdString();
    database.SaveToFile(table);
    const QByteArray before = [&] {
      QFile file(QString::fromStdString(table.string()));
      file.open(QIODevice::ReadOnly);
      return file.readAll();
    }();
    TSteelDataBaseForm form;
    form.TablePath = table;
    QTimer::singleShot(0, &form, [&] {
      form.SteelListView->setCurrentItem(form.SteelListView->topLevelItem(1));
      form.SteelElemFrame->SgmV->setText("1000");
      form.ApplyButton->click();
      QCOMPARE(form.SteelListView->topLevelItem(1)->text(1), QString("1000"));
      QCOMPARE(form.SelectedRow(), 1);
      form.CancelButton->click();
    });
    QCOMPARE(form.EditData(database), int(QDialog::Rejected));
    QCOMPARE(database.Items[1].SgmV, 1000.0);
    QFile file(QString::fromStdString(table.string()));
    file.open(QIODevice::ReadOnly);
    QCOMPARE(file.readAll(), before);
    // A later OK writes it.
    QTimer::singleShot(0, &form, [&] { form.OKButton->click(); });
    QCOMPARE(form.EditData(database), int(QDialog::Accepted));
    TSteelData reread;
    reread.LoadFromFile(table);
    QCOMPARE(reread.Items[1].SgmV, 1000.0);
  }
  void editorRowsAreInsertedAsCopiesAndTheLastCannotBeDeleted() {
    TSteelDataBaseForm form;
    form.InitDialog(database);
    form.SteelListView->setCurrentItem(form.SteelListView->topLevelItem(2));
    form.InsertRow();
    QCOMPARE(database.Items.size(), std::size_t(4));
    QCOMPARE(database.Items[3], database.Items[2]);
    for (int i = 0; i < 5; ++i) form.DeleteRow();
    QCOMPARE(database.Items.size(), std::size_t(1));
    // E with ten significant digits, the others with five.
    QCOMPARE(form.SteelListView->topLevelItem(0)->text(6), QString("210000"));
    QCOMPARE(SteelListCell(123456.7, true), QString("123456.7"));
    QCOMPARE(SteelListCell(7850.25, false), QString("7850.2"));
  }
  void editorRefusesTextThatIsNotANumber() {
    TSteelDataBaseForm form;
    form.InitDialog(database);
    form.SteelListView->setCurrentItem(form.SteelListView->topLevelItem(0));
    form.SteelElemFrame->SteelName->setText("Сталь 40");
    form.SteelElemFrame->E->setText("2,1e5");
    QVERIFY(!form.ApplyClick());
    QCOMPARE(dialogs.Errors.size(), 1);
    QVERIFY(dialogs.Errors[0].contains("Введите числовое значение"));
    // The fields before the refused one are taken over, that one and the later ones are not.
    QCOMPARE(database.Items[0].SteelName, std::string("Сталь 40"));
    QCOMPARE(database.Items[0].E, 2.1e5);
  }
  void aFailedWriteKeepsTheOldFileTheEditsAndTheWindow() {
    QTemporaryDir folder;
    TSteelDataBaseForm form;
    // A folder that does not exist cannot take the file.
    form.TablePath = folder.filePath("missing/Steel.table").toStdString();
    database.Items[0].SgmV = 777;
    QTimer::singleShot(0, &form, [&] {
      form.OKButton->click();
      QVERIFY(form.isVisible());
      form.CancelButton->click();
    });
    QCOMPARE(form.EditData(database), int(QDialog::Rejected));
    QCOMPARE(dialogs.Errors.size(), 1);
    QVERIFY(dialogs.Errors[0].contains("Не удалось записать"));
    QCOMPARE(database.Items[0].SgmV, 777.0);
  }
  void theMaterialsCommandOpensTheEditorOnTheProgramsDatabase() {
    TMainFixture fixture;
    SteelData().Items = database.Items;
    fixture.main->NewProject();
    bool shown = false;
    QTimer::singleShot(0, fixture.main->SteelDataBaseForm, [&] {
      shown = fixture.main->SteelDataBaseForm->isVisible();
      QCOMPARE(fixture.main->SteelDataBaseForm->SteelListView->topLevelItemCount(), 3);
      fixture.main->SteelDataBaseForm->CancelButton->click();
    });
    fixture.main->Materials->trigger();
    QVERIFY(shown);
    // The project windows' captions are set again from their files.
    for (TMDIChildWin* child : fixture.main->Children()) QCOMPARE(child->windowTitle(), child->Caption());
  }
};

QTEST_MAIN(MatPropDlgTest)
#include "MatPropDlgUnitTest.moc"
