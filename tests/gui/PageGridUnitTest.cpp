// The grid of the input pages: typing, Enter and Tab, copy and paste of tab-separated
// blocks, empty cells and a text that is not a number.
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QSignalSpy>
#include <QtTest>

#include "ControlExchangeUnit.h"
#include "PageGridUnit.h"

class PageGridTest : public QObject {
  Q_OBJECT
  std::unique_ptr<TPageGrid> grid;

 private slots:
  void init() {
    grid = std::make_unique<TPageGrid>("Углы вспышек в цилиндрах");
    grid->Grid()->Resize(3, 3);
    grid->Grid()->SetTitles({"№ ряда\\№ секции", "1", "2", "3"}, {"1", "2", "3"});
    grid->resize(400, 200);
    grid->show();
    grid->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(grid.get()));
  }

  void typingReplacesTheCellAndEnterMovesDown() {
    grid->Grid()->SetCell(0, 1, "90");
    grid->setFocus();
    grid->setCurrentIndex(grid->Grid()->index(0, 1));
    QSignalSpy edited(grid.get(), &TPageGrid::Edited);
    QTest::keyClick(grid.get(), '4');  // opens the cell's editor with the key typed
    auto* editor = qobject_cast<QLineEdit*>(grid->indexWidget(grid->currentIndex()));
    if (!editor) editor = grid->findChild<QLineEdit*>();
    QVERIFY(editor);
    QCOMPARE(editor->text(), QString("4"));
    QTest::keyClick(editor, '5');
    QTest::keyClick(editor, Qt::Key_Return);
    QApplication::processEvents();  // the editor commits through a queued call
    QCOMPARE(grid->Grid()->Cell(0, 1), QString("45"));
    QCOMPARE(grid->currentIndex().row(), 1);
    QCOMPARE(grid->currentIndex().column(), 1);
    QCOMPARE(edited.count(), 1);
    // Enter on a cell that is not being edited moves down as well; Tab moves right.
    QTest::keyClick(grid.get(), Qt::Key_Return);
    QCOMPARE(grid->currentIndex().row(), 2);
    QTest::keyClick(grid.get(), Qt::Key_Tab);
    QCOMPARE(grid->currentIndex().column(), 2);
  }

  void pastesATabSeparatedBlockAtTheCurrentCellAndDropsWhatFallsOutside() {
    grid->setCurrentIndex(grid->Grid()->index(1, 2));
    QSignalSpy edited(grid.get(), &TPageGrid::Edited);
    // As a spreadsheet puts it on the clipboard: CR LF line ends, a final line end.
    QApplication::clipboard()->setText("1.5\t2\t99\r\n3\t4\t99\r\n5\t6\t99\r\n");
    QTest::keyClick(grid.get(), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(grid->Grid()->Cell(1, 2), QString("1.5"));
    QCOMPARE(grid->Grid()->Cell(1, 3), QString("2"));
    QCOMPARE(grid->Grid()->Cell(2, 2), QString("3"));
    QCOMPARE(grid->Grid()->Cell(2, 3), QString("4"));
    QCOMPARE(grid->Grid()->Cell(0, 2), QString());
    QVERIFY(edited.count() >= 4);
  }

  void copiesTheSelectedBlockTabSeparated() {
    for (int r = 0; r < 3; ++r)
      for (int c = 1; c <= 3; ++c) grid->Grid()->SetCell(r, c, QString::number(10 * r + c));
    grid->selectionModel()->select(QItemSelection(grid->Grid()->index(0, 2), grid->Grid()->index(1, 3)),
                                   QItemSelectionModel::ClearAndSelect);
    QTest::keyClick(grid.get(), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), QString("2\t3\n12\t13"));
    // Pasting the copy back elsewhere gives the same block.
    grid->setCurrentIndex(grid->Grid()->index(1, 1));
    grid->Paste(QApplication::clipboard()->text());
    QCOMPARE(grid->Grid()->Cell(1, 1), QString("2"));
    QCOMPARE(grid->Grid()->Cell(2, 2), QString("13"));
  }

  void titleColumnIsNotEditable() {
    grid->setCurrentIndex(grid->Grid()->index(0, 0));
    grid->Paste("7");
    QCOMPARE(grid->Grid()->data(grid->Grid()->index(0, 0), Qt::DisplayRole).toString(), QString("1"));
  }

  void blockedCellsAreShownEmptyAndSkippedByTypingPasteAndDelete() {
    grid->Grid()->SetBlocked([](int row, int column) { return column <= row + 1; });
    grid->Grid()->SetCell(1, 1, "5");
    QCOMPARE(grid->Grid()->data(grid->Grid()->index(1, 1), Qt::DisplayRole).toString(), QString());
    QVERIFY(!(grid->Grid()->flags(grid->Grid()->index(1, 1)) & Qt::ItemIsEditable));
    grid->setCurrentIndex(grid->Grid()->index(0, 1));
    grid->Paste("7\t8\n5\t6");
    QCOMPARE(grid->Grid()->Cell(0, 2), QString("8"));
    QCOMPARE(grid->Grid()->Cell(0, 1), QString());
    QCOMPARE(grid->Grid()->Cell(1, 2), QString());
    grid->selectionModel()->select(QItemSelection(grid->Grid()->index(0, 1), grid->Grid()->index(1, 2)),
                                   QItemSelectionModel::ClearAndSelect);
    QTest::keyClick(grid.get(), Qt::Key_Delete);
    QCOMPARE(grid->Grid()->Cell(0, 2), QString());
    QCOMPARE(grid->Grid()->Cell(1, 1), QString("5"));
  }

  void emptyCellsReadAsZeroAndATextThatIsNotANumberNamesItsCell() {
    grid->Grid()->SetCell(1, 3, "1,5");
    grid->FillEmptyWithZero();
    QCOMPARE(grid->Grid()->Cell(0, 1), QString("0"));
    QCOMPARE(grid->Number(0, 1), 0.0);
    try {
      grid->Number(1, 3);
      QFAIL("a decimal comma was taken as a number");
    } catch (const EFieldConvertError& error) {
      QCOMPARE(error.Text, QString("1,5"));
      QCOMPARE(FieldName(error.Control), QString("Углы вспышек в цилиндрах, строка \"2\", столбец \"3\""));
    }
    QCOMPARE(grid->currentIndex(), grid->Grid()->index(1, 3));
    QVERIFY(grid->selectionModel()->isSelected(grid->Grid()->index(1, 3)));
  }

  void numbersAreShownWithFiveSignificantDigits() {
    grid->SetNumber(0, 1, 0.123456);
    QCOMPARE(grid->Grid()->Cell(0, 1), QString("0.12346"));
    grid->SetNumber(0, 2, 100000);
    QCOMPARE(grid->Grid()->Cell(0, 2), QString("1e+05"));
    grid->SetNumber(0, 3, 1e-12, true);
    QCOMPARE(grid->Grid()->Cell(0, 3), QString("1E-12"));
  }
};

QTEST_MAIN(PageGridTest)
#include "PageGridUnitTest.moc"
