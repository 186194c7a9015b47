#include "TaskIconsUnit.h"

#include <QApplication>
#include <QStyle>
#include <map>

namespace {

struct TIconSource {
  int Index;
  const char* ThemeName;
  QStyle::StandardPixmap Fallback;
};

const TIconSource Sources[] = {
    {0, "x-office-document", QStyle::SP_FileDialogDetailedView},   // result views
    {3, "folder-open", QStyle::SP_DirOpenIcon},                     // input data
    {5, "folder", QStyle::SP_DirClosedIcon},                        // results
    {12, "x-office-spreadsheet", QStyle::SP_FileDialogListView},    // tables
    {14, "view-grid", QStyle::SP_FileDialogContentsView},           // layout
    {15, "draw-rectangle", QStyle::SP_FileDialogInfoView},        // throw geometry
    {41, "dialog-information", QStyle::SP_MessageBoxInformation},   // general information
    {60, "accessories-calculator", QStyle::SP_ComputerIcon},        // concentration coefficients
    {61, "media-playlist-repeat", QStyle::SP_BrowserReload},        // torsional oscillations
    {63, "x-office-presentation", QStyle::SP_DesktopIcon},          // graphs
    {64, "weather-clear", QStyle::SP_DriveCDIcon},                  // masses
    {65, "applications-science", QStyle::SP_DriveHDIcon},           // materials
    {66, "emblem-important", QStyle::SP_DialogApplyButton},         // strength results
    {67, "document-print", QStyle::SP_DialogSaveButton},            // export
    {68, "system-run", QStyle::SP_MediaPlay},                       // working process
    {69, "process-stop", QStyle::SP_DialogCancelButton},            // cylinder cut-out
    {70, "go-bottom", QStyle::SP_ArrowDown},                        // support compliance
};

}  // namespace

QIcon TaskIcon(int index) {
  // One icon per index, made once, so that items with the same index show the same icon.
  static std::map<int, QIcon> icons;
  if (auto known = icons.find(index); known != icons.end()) return known->second;
  QIcon icon = QApplication::style()->standardIcon(QStyle::SP_FileIcon);
  for (const TIconSource& source : Sources)
    if (source.Index == index)
      icon = QIcon::fromTheme(source.ThemeName, QApplication::style()->standardIcon(source.Fallback));
  return icons[index] = icon;
}
