// The list of recently used project files (`TRecentFiles`): six entries, the most recent
// first, kept per user in the settings store under the values "File#0" … "File#5".
#pragma once

#include <QString>
#include <QStringList>

class QSettings;

class TRecentFiles {
 public:
  TRecentFiles();

  static constexpr int MaxIndex = 5;
  QStringList Files;  // full paths, entry 0 first; empty where no file is recorded

  // A project file that was closed goes to the top (see the algorithm in Add).
  void Add(const QString& Path);
  QString GetPath(int i) const { return Files.value(i); }
  // The entry's file name without folder and extension.
  QString GetName(int i) const;

  // Read and write the store; a store that cannot be read or written raises error 4
  // (the list is then empty after Load, and nothing is written by Save).
  void Load(QSettings& settings);
  void Save(QSettings& settings) const;
};

// The settings group of the list.
inline const char* const RecentFilesGroup = "Recent files";
