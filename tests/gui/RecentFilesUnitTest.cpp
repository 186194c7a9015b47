// The recent-files list: the Add algorithm on full, partial and matching lists, and the
// settings store (values "File#0" … "File#5", an unwritable store is error 4).
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include "EVexaErrorUnit.h"
#include "RecentFilesUnit.h"

class RecentFilesTest : public QObject {
  Q_OBJECT

  static TRecentFiles listOf(const QStringList& files) {
    TRecentFiles recent;
    for (int i = 0; i < files.size(); ++i) recent.Files[i] = files[i];
    return recent;
  }

 private slots:
  void addingToAnEmptyListFillsFromTheTop() {
    TRecentFiles recent;
    recent.Add("/p/a.vxa");
    recent.Add("/p/b.vxa");
    QCOMPARE(recent.Files, (QStringList{"/p/b.vxa", "/p/a.vxa", "", "", "", ""}));
  }
  void knownFileChangesPlacesWithTheTopEntry() {
    TRecentFiles recent = listOf({"/a", "/b", "/c", "/d", "/e", "/f"});
    recent.Add("/d");
    QCOMPARE(recent.Files, (QStringList{"/d", "/b", "/c", "/a", "/e", "/f"}));
  }
  void matchIgnoresLetterCaseAndKeepsTheStoredSpelling() {
    TRecentFiles recent = listOf({"/a", "/Proj/Engine.VXA", "", "", "", ""});
    recent.Add("/proj/engine.vxa");
    QCOMPARE(recent.Files, (QStringList{"/Proj/Engine.VXA", "/a", "", "", "", ""}));
  }
  void seventhFileDropsTheOldest() {
    TRecentFiles recent = listOf({"/1", "/2", "/3", "/4", "/5", "/6"});
    recent.Add("/7");
    QCOMPARE(recent.Files, (QStringList{"/7", "/1", "/2", "/3", "/4", "/5"}));
  }
  void newFileTakesTheFirstGapNotTheEnd() {
    TRecentFiles recent = listOf({"/1", "", "/3", "/4", "/5", "/6"});
    recent.Add("/7");
    QCOMPARE(recent.Files, (QStringList{"/7", "/1", "/3", "/4", "/5", "/6"}));
  }
  void namesDropFolderAndExtension() {
    TRecentFiles recent = listOf({"/data/V16-26.26.vxa"});
    QCOMPARE(recent.GetName(0), QString("V16-26.26"));
    QCOMPARE(recent.GetPath(0), QString("/data/V16-26.26.vxa"));
  }
  void storeKeepsTheSixValues() {
    QTemporaryDir folder;
    {
      QSettings settings(folder.filePath("vexa.ini"), QSettings::IniFormat);
      listOf({"/a", "/b", "", "/d"}).Save(settings);
    }
    QSettings settings(folder.filePath("vexa.ini"), QSettings::IniFormat);
    QCOMPARE(settings.value("Recent files/File#3").toString(), QString("/d"));
    QVERIFY(settings.contains("Recent files/File#5"));
    TRecentFiles loaded;
    loaded.Load(settings);
    QCOMPARE(loaded.Files, (QStringList{"/a", "/b", "", "/d", "", ""}));
  }
  void unwritableStoreIsErrorFourAndTheListStays() {
    // A folder where the store's file should be: it cannot be written, whatever the user's rights.
    QTemporaryDir folder;
    QSettings settings(folder.path(), QSettings::IniFormat);
    const TRecentFiles recent = listOf({"/a"});
    try {
      recent.Save(settings);
      QFAIL("no error");
    } catch (const TEVexaError& error) {
      QCOMPARE(error.Code, std::uint8_t(ErrRegistryRecent));
      QVERIFY(QString::fromStdString(error.Text).endsWith("Recent files"));
    }
    QCOMPARE(recent.GetPath(0), QString("/a"));
  }
};

QTEST_MAIN(RecentFilesTest)
#include "RecentFilesUnitTest.moc"
