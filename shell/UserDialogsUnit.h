// Every question, message and file dialog of the desktop program goes through one small
// interface, so that the tests answer them instead of a user and never block.
#pragma once

#include <QString>
#include <QStringList>

class QWidget;
class TEVexaError;

enum class TAnswer { Yes, No, Cancel };

class TUserDialogs {
 public:
  virtual ~TUserDialogs() = default;
  // A question with Yes and No (and Cancel when withCancel); a warning icon when warning.
  virtual TAnswer Ask(QWidget* parent, const QString& caption, const QString& text, bool withCancel,
                      bool warning) = 0;
  virtual void Inform(QWidget* parent, const QString& caption, const QString& text) = 0;
  virtual void ShowError(QWidget* parent, const QString& caption, const QString& text) = 0;
  // The file chosen in the open or save dialog, or an empty string for Cancel.
  virtual QString OpenFileName(QWidget* parent, const QString& filters) = 0;
  virtual QString SaveFileName(QWidget* parent, const QString& filters) = 0;
  // The run chosen in the run selector among the titles (its 0-based index), or -1 for
  // Cancel; current is the entry selected when it opens.
  virtual int SelectRun(QWidget* parent, const QStringList& titles, int current) = 0;
};

// The dialogs in use: the real ones unless a test has put its own in place.
TUserDialogs& UserDialogs();
// Puts dialogs in place (not owned); nullptr returns to the real ones.
void SetUserDialogs(TUserDialogs* dialogs);

// Shows a TEVexaError with its caption and text.
void ShowVexaError(QWidget* parent, const TEVexaError& error);

// The filter of the open and save dialogs; the second entry is selected.
inline const char* const ProjectFileFilters = "Все файлы (*.*);;Файлы Vexa (*.vxa)";
