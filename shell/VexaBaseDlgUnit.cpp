#include "VexaBaseDlgUnit.h"

#include <QAbstractButton>
#include <QBoxLayout>
#include <QComboBox>
#include <QFrame>
#include <QLineEdit>
#include <QPushButton>
#include <QKeyEvent>
#include <QSpinBox>

#include "ControlExchangeUnit.h"
#include "EngineDataStructUnit.h"
#include "HelpWindowUnit.h"
#include "UserDialogsUnit.h"

TVexaBaseDlg::TVexaBaseDlg(const QString& caption, QWidget* parent)
    : QDialog(parent), BaseCaption(caption), content_(new QWidget(this)) {
  setWindowTitle(caption);
  setWindowFlag(Qt::WindowContextHelpButtonHint, true);
  setSizeGripEnabled(false);

  auto* panel = new QFrame(this);
  panel->setFrameShape(QFrame::StyledPanel);
  panel->setFrameShadow(QFrame::Sunken);
  ButtonsPanel = panel;
  auto makeButton = [this](const QString& text) {
    auto* button = new QPushButton(text, ButtonsPanel);
    button->setAutoDefault(false);
    return button;
  };
  OKButton = makeButton("OK");
  ApplyButton = makeButton("Применить");
  CancelButton = makeButton("Отмена");
  ServButton1 = makeButton(QString());
  ServButton2 = makeButton(QString());
  ServButton3 = makeButton(QString());
  ServButton4 = makeButton(QString());
  for (QPushButton* b : {ServButton1, ServButton2, ServButton3, ServButton4}) b->hide();
  Selector = new QPushButton(this);
  Selector->setDefault(true);
  Selector->setFixedSize(0, 0);
  Selector->setFocusPolicy(Qt::NoFocus);
  Selector->setFlat(true);

  connect(OKButton, &QPushButton::clicked, this, [this] { OKButtonClick(); });
  connect(ApplyButton, &QPushButton::clicked, this, [this] { ApplyButtonClick(); });
  connect(CancelButton, &QPushButton::clicked, this, [this] { CancelButtonClick(); });
  connect(ServButton1, &QPushButton::clicked, this, [this] { ServButton1Click(); });
  connect(ServButton2, &QPushButton::clicked, this, [this] { ServButton2Click(); });
  connect(ServButton3, &QPushButton::clicked, this, [this] { ServButton3Click(); });
  connect(ServButton4, &QPushButton::clicked, this, [this] { ServButton4Click(); });
  connect(Selector, &QPushButton::clicked, this, [this] { selectorClick(); });


  layout_ = new QBoxLayout(QBoxLayout::LeftToRight, this);
  layout_->addWidget(content_, 1);
  layout_->addWidget(ButtonsPanel, 0);
  layout_->addWidget(Selector, 0);
  buttonsLayout_ = new QBoxLayout(QBoxLayout::TopToBottom, ButtonsPanel);
  for (QPushButton* b : {OKButton, ApplyButton, CancelButton, ServButton1, ServButton2, ServButton3, ServButton4})
    buttonsLayout_->addWidget(b);
  buttonsLayout_->addStretch(1);
  PlaceButtons(true);
}

void TVexaBaseDlg::PlaceButtons(bool atRight) {
  layout_->setDirection(atRight ? QBoxLayout::LeftToRight : QBoxLayout::TopToBottom);
  buttonsLayout_->setDirection(atRight ? QBoxLayout::TopToBottom : QBoxLayout::RightToLeft);
}

int TVexaBaseDlg::EditData(TEngineDataStruct& engine) {
  Data = &engine;
  InitDialog();
  return exec();
}

void TVexaBaseDlg::InitDialog() {
  Updating = false;
  ExchangeData(false);
  DoDataExchange(false);
  setWindowTitle(BaseCaption + ": " + QString::fromStdString(Data ? Data->ProjectName : std::string()));
}

void TVexaBaseDlg::DoDataExchange(bool /*FromControls*/) {
  Updating = true;
  Updating = false;
}

void TVexaBaseDlg::OnModify(QWidget* /*control*/) {
  if (!Updating && Data) Data->NotifyOwner(NotifyModified);
}

bool TVexaBaseDlg::ReadControls() {
  try {
    DoDataExchange(true);
  } catch (const EFieldConvertError& error) {
    Updating = false;
    if (auto* edit = qobject_cast<QLineEdit*>(error.Control)) edit->selectAll();
    if (error.Control) error.Control->setFocus();
    UserDialogs().ShowError(this, "Ошибка!",
                            QString("Поле \"%1\": \"%2\" не является числом. Введите числовое значение.")
                                .arg(FieldName(error.Control), error.Text));
    return false;
  }
  return true;
}

bool TVexaBaseDlg::ReadTypedControls() {
  try {
    DoDataExchange(true);
  } catch (const EFieldConvertError&) {
    Updating = false;
    return false;
  }
  return true;
}

bool TVexaBaseDlg::applyControls() {
  if (!ReadControls()) return false;
  ExchangeData(true);
  return true;
}

void TVexaBaseDlg::OKButtonClick() {
  if (applyControls()) accept();
}

void TVexaBaseDlg::ApplyButtonClick() { applyControls(); }

void TVexaBaseDlg::CancelButtonClick() { reject(); }

void TVexaBaseDlg::selectorClick() { focusNextChild(); }

void TVexaBaseDlg::WatchChanges(QWidget* control) {
  // A spin box changes through the line edit inside it.
  auto* edit = qobject_cast<QLineEdit*>(control);
  if (!edit && qobject_cast<QAbstractSpinBox*>(control)) edit = control->findChild<QLineEdit*>();
  if (edit)
    connect(edit, &QLineEdit::textChanged, this, [this, control] { OnModify(control); });
  else if (auto* combo = qobject_cast<QComboBox*>(control))
    connect(combo, &QComboBox::currentIndexChanged, this, [this, control] { OnModify(control); });
  else if (auto* button = qobject_cast<QAbstractButton*>(control))
    connect(button, &QAbstractButton::toggled, this, [this, control] { OnModify(control); });
}

void TVexaBaseDlg::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F1 && event->modifiers() == Qt::NoModifier) {
    HelpWindow().ShowPage(HelpPage);
    return;
  }
  QDialog::keyPressEvent(event);
}
