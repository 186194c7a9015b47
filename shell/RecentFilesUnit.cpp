#include "RecentFilesUnit.h"

#include <QFileInfo>
#include <QSettings>

#include "EVexaErrorUnit.h"

namespace {
QString valueName(int i) { return QString("File#%1").arg(i); }
}  // namespace

TRecentFiles::TRecentFiles() {
  for (int i = 0; i <= MaxIndex; ++i) Files << QString();
}

void TRecentFiles::Add(const QString& Path) {
  for (int k = 0; k <= MaxIndex && k < Files.size(); ++k) {
    if (Files[k].compare(Path, Qt::CaseInsensitive) == 0) {
      // The matched entry and the former top entry change places.
      Files.swapItemsAt(0, k);
      return;
    }
  }
  Files.insert(0, Path);
  for (int k = 0; k <= MaxIndex && k < Files.size(); ++k) {
    if (Files[k].isEmpty()) {
      Files.removeAt(k);
      break;
    }
  }
  while (Files.size() > MaxIndex + 1) Files.removeLast();
}

QString TRecentFiles::GetName(int i) const { return QFileInfo(GetPath(i)).completeBaseName(); }

void TRecentFiles::Load(QSettings& settings) {
  Files = TRecentFiles().Files;
  if (settings.status() != QSettings::NoError) throw TEVexaError(ErrRegistryRecent);
  settings.beginGroup(RecentFilesGroup);
  for (int i = 0; i <= MaxIndex; ++i) Files[i] = settings.value(valueName(i)).toString();
  settings.endGroup();
}

void TRecentFiles::Save(QSettings& settings) const {
  if (!settings.isWritable()) throw TEVexaError(ErrRegistryRecent);
  settings.beginGroup(RecentFilesGroup);
  for (int i = 0; i <= MaxIndex; ++i) settings.setValue(valueName(i), GetPath(i));
  settings.endGroup();
  settings.sync();
  if (settings.status() != QSettings::NoError) throw TEVexaError(ErrRegistryRecent);
}
