// The spreadsheet-like number grid: typing replaces a cell, Enter moves down, tab-separated
// blocks are copied and pasted, empty cells read as 0 and a text that is not a number names
// its cell.
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QtTest>

#include "GuiTestSupport.h"
#include "NumberGridUnit.h"

class NumberGridTest : public QObject {
  Q_OBJECT

 private slots:
  void pasteOfATabSeparatedBlockFillsFromTheCurrentCell() {
    TNumberGrid grid;
    grid.Model()->Resize(3, 3);
    grid.setCurrentIndex(grid.Model()->index(1, 1));
    int edits = 0;
    connect(grid.Model(), &TNumberGridModel::CellEdited, this, [&] { ++edits; });
    // A spreadsheet's block: lines end with CR LF, the last one too; what falls outside is dropped.
    grid.PasteText("1.5\t2\t9\r\n3\t4e3\t9\r\n9\t9\t9\r\n");
    QCOMPARE(grid.Model()->Text(1, 1), QString("1.5"));
    QCOMPARE(grid.Model()->Text(1, 2), QString("2"));
    QCOMPARE(grid.Model()->Text(2, 1), QString("3"));
    QCOMPARE(grid.Model()->Number(2, 2), 4000.0);
    QCOMPARE(grid.Model()->Text(0, 0), QString());
    QCOMPARE(edits, 4);
  }
  void pasteSkipsBlockedCells() {
    TNumberGrid grid;
    grid.Model()->Resize(2, 2);
    grid.Model()->SetBlocked([](int row, int column) { return row >= column; });
    grid.setCurrentIndex(grid.Model()->index(0, 0));
    grid.PasteText("7\t8\n5\t6");
    QCOMPARE(grid.Model()->Text(0, 1), QString("8"));
    QCOMPARE(grid.Model()->Text(0, 0), QString());
    QCOMPARE(grid.Model()->Text(1, 1), QString());
  }
  void copyGivesTheSelectedBlockAsTabSeparatedLines() {
    TNumberGrid grid;
    grid.Model()->Resize(2, 3);
    for (int r = 0; r < 2; ++r)
      for (int c = 0; c < 3; ++c) grid.Model()->SetNumber(r, c, 10 * r + c + 0.123456);
    grid.selectionModel()->select(QItemSelection(grid.Model()->index(0, 1), grid.Model()->index(1, 2)),
                                  QItemSelectionModel::ClearAndSelect);
    QCOMPARE(grid.CopyText(), QString("1.1235\t2.1235\n11.123\t12.123"));
    // The round trip through the clipboard keys.
    grid.setFocus();
    QTest::keyClick(&grid, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), grid.CopyText());
  }
  void typingReplacesTheCellAndEnterMovesDown() {
    TNumberGrid grid;
    grid.Model()->Resize(3, 2);
    grid.Model()->SetText(0, 0, "123");
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    grid.setCurrentIndex(grid.Model()->index(0, 0));
    grid.activateWindow();
    grid.setFocus();
    QTest::keyClick(&grid, Qt::Key_5);
    QVERIFY2(qobject_cast<QLineEdit*>(QApplication::focusWidget()),
             QApplication::focusWidget() ? QApplication::focusWidget()->metaObject()->className() : "none");
    QCOMPARE(qobject_cast<QLineEdit*>(QApplication::focusWidget())->text(), QString("5"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    // The delegate commits the cell after the key event has been handled.
    QTRY_COMPARE(grid.Model()->Text(0, 0), QString("5"));
    QCOMPARE(grid.currentIndex().row(), 1);
    QTest::keyClick(&grid, Qt::Key_Return);
    QCOMPARE(grid.currentIndex().row(), 2);
  }
  void emptyCellsReadAsZeroAndTextNamesItsCell() {
    TNumberGridModel model;
    model.Resize(2, 2);
    QCOMPARE(model.Number(0, 1), 0.0);
    QCOMPARE(model.Text(0, 1), QString("0"));
    model.SetText(1, 0, "1,5");
    try {
      model.Number(1, 0);
      QFAIL("a comma is not the decimal separator");
    } catch (const EGridCellError& error) {
      QCOMPARE(error.Row, 1);
      QCOMPARE(error.Column, 0);
      QCOMPARE(error.Text, QString("1,5"));
    }
  }
  void cellsShowFiveSignificantDigits() {
    TNumberGridModel model;
    model.Resize(1, 2);
    model.SetNumber(0, 0, 0.123456);
    model.SetNumber(0, 1, 123456);
    QCOMPARE(model.Text(0, 0), QString("0.12346"));
    QVERIFY(model.Text(0, 1).contains('e'));
  }
};

QTEST_MAIN(NumberGridTest)
#include "NumberGridUnitTest.moc"
