#include "GuiTestSupport.h"

#include <QDir>
#include <QFile>
#include <QTimer>
#include <QTreeWidget>

#include "EngineDataStructUnit.h"
#include "ProjectFileUnit.h"
#include "SteelDataBaseUnit.h"
#include "VexaBaseDlgUnit.h"

TAnswer TScriptedDialogs::Ask(QWidget*, const QString&, const QString& text, bool, bool) {
  Questions << text;
  return next(Answers, TAnswer::Cancel);
}

QTreeWidgetItem* itemOf(TMDIChildWin& window, const QString& caption) {
  for (QTreeWidgetItemIterator it(window.TaskTreeView); *it; ++it)
    if ((*it)->text(0) == caption) return *it;
  return nullptr;
}

QString ExampleProject() { return QString(VEXA_SOURCE_DIR) + "/examples/V16-26-26.vxa"; }

QString CopyExample(const QTemporaryDir& folder, const QString& name) {
  const QString examples = QString(VEXA_SOURCE_DIR) + "/examples/";
  QFile::copy(examples + "V16-26-26.dia", folder.filePath("V16-26-26.dia"));
  const QString target = folder.filePath(name);
  QFile::copy(examples + "V16-26-26.vxa", target);
  QFile(target).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
  return target;
}

int RunPageWith(TVexaBaseDlg& page, TEngineDataStruct& data, const std::function<void()>& action) {
  QTimer::singleShot(0, &page, [&page, action] {
    action();
    if (page.isVisible()) page.reject();
  });
  return page.EditData(data);
}

void LoadExample(TEngineDataStruct& data) {
  LoadProgramSteelData(VEXA_BIN_DIR);
  LoadProjectFile(data, ExampleProject().toStdString());
}
