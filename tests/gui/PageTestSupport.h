// What the tests of the input pages share: engine data that counts the modified
// notifications, and a page shown without a modal loop, as EditData fills it.
#pragma once

#include <QApplication>
#include <QPushButton>

#include "EngineDataStructUnit.h"
#include "GuiTestSupport.h"
#include "PageGridUnit.h"
#include "VexaBaseDlgUnit.h"

struct TPageData {
  TEngineDataStruct data;
  int modified = 0;
  TPageData() { watch(); }
  void watch() {
    data.OwnerNotify = [this](int n) {
      if (n == NotifyModified) ++modified;
    };
  }
};

// Fills the page from the data and shows it, as EditData does before its modal loop.
inline void OpenPage(TVexaBaseDlg& page, TEngineDataStruct& data) {
  page.Data = &data;
  page.InitDialog();
  page.show();
  QApplication::processEvents();
}

// Types a text into a grid cell as a user does: select the cell, type, Enter.
inline void TypeIntoCell(TPageGrid* grid, int row, int column, const QString& text) {
  grid->setFocus();
  grid->setCurrentIndex(grid->Grid()->index(row, column));
  grid->Grid()->setData(grid->Grid()->index(row, column), text, Qt::EditRole);
}
