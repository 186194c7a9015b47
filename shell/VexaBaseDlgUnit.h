// The base of every input page and result view (`TVexaBaseDlg`): a modal dialog that gets the
// project's engine data, keeps a private copy of the fields it shows (`ExchangeData`), moves
// it to and from its controls (`DoDataExchange`), tells the project window of every change a
// user makes (`OnModify`) and carries the button row OK / Применить / Отмена.
#pragma once

#include <QDialog>
#include <QString>

class QBoxLayout;
class QPushButton;
class QWidget;
class TEngineDataStruct;

class TVexaBaseDlg : public QDialog {
  Q_OBJECT
 public:
  // caption: the page's own title (`BaseCaption`).
  TVexaBaseDlg(const QString& caption, QWidget* parent = nullptr);

  // Stores the data, fills the page and shows it modally; returns QDialog::Accepted for OK.
  virtual int EditData(TEngineDataStruct& engine);

  TEngineDataStruct* Data = nullptr;
  bool Updating = false;
  QString BaseCaption;
  // The page of the user guide that F1 opens on this page ("page-general.html").
  QString HelpPage;

  QWidget* ButtonsPanel;
  QPushButton* OKButton;
  QPushButton* ApplyButton;
  QPushButton* CancelButton;
  QPushButton* ServButton1;
  QPushButton* ServButton2;
  QPushButton* ServButton3;
  QPushButton* ServButton4;
  // Invisible default button: Enter in a field moves to the next field.
  QPushButton* Selector;

  // The change handler of every editable control: tells the project window, unless the page
  // is filling its controls.
  virtual void OnModify(QWidget* control);
  virtual void OKButtonClick();
  virtual void ApplyButtonClick();
  virtual void CancelButtonClick();
  virtual void ServButton1Click() {}
  virtual void ServButton2Click() {}
  virtual void ServButton3Click() {}
  virtual void ServButton4Click() {}
  virtual void InitDialog();
  // Private copy ↔ controls. Derived pages call the base, set Updating, exchange every
  // control, clear Updating.
  virtual void DoDataExchange(bool FromControls);
  // Engine data ↔ private copy.
  virtual void ExchangeData(bool ToEngine) { (void)ToEngine; }

  // Connects the control's change signal to OnModify (line edits, spin boxes, lists, boxes).
  void WatchChanges(QWidget* control);

 protected:
  // F1 opens the page's own page of the user guide.
  void keyPressEvent(QKeyEvent* event) override;
  // Where a derived page puts its controls.
  QWidget* Content() const { return content_; }
  // The button row at the right (a column) or at the bottom (a row).
  void PlaceButtons(bool atRight);
  // Reads the controls into the private copy; on a text that is not a number selects the
  // field, tells the user and returns false.
  bool ReadControls();
  // Reads the controls into the private copy while the user types: returns false, silently,
  // when a field holds text that is not a number yet (OK and Apply name that field).
  bool ReadTypedControls();

 private:
  // Reads the controls and applies them; on a text that is not a number selects the field,
  // tells the user and returns false with the engine data untouched.
  bool applyControls();
  void selectorClick();

  QWidget* content_;
  QBoxLayout* layout_;
  QBoxLayout* buttonsLayout_;
};
