#include "UserDialogsUnit.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

#include "CalcSelectFormUnit.h"
#include "EVexaErrorUnit.h"

namespace {

QString selectedFilter(const QString& filters) { return filters.split(";;").value(1); }

class TQtDialogs : public TUserDialogs {
 public:
  TAnswer Ask(QWidget* parent, const QString& caption, const QString& text, bool withCancel, bool warning) override {
    QMessageBox box(warning ? QMessageBox::Warning : QMessageBox::Question, caption, text, QMessageBox::NoButton,
                    parent);
    QAbstractButton* yes = box.addButton("Да", QMessageBox::YesRole);
    QAbstractButton* no = box.addButton("Нет", QMessageBox::NoRole);
    if (withCancel) box.setEscapeButton(box.addButton("Отмена", QMessageBox::RejectRole));
    else box.setEscapeButton(no);
    box.setDefaultButton(qobject_cast<QPushButton*>(yes));
    box.exec();
    if (box.clickedButton() == yes) return TAnswer::Yes;
    if (box.clickedButton() == no) return TAnswer::No;
    return TAnswer::Cancel;
  }
  void Inform(QWidget* parent, const QString& caption, const QString& text) override {
    QMessageBox::information(parent, caption, text);
  }
  void ShowError(QWidget* parent, const QString& caption, const QString& text) override {
    QMessageBox::critical(parent, caption, text);
  }
  QString OpenFileName(QWidget* parent, const QString& filters) override {
    QString filter = selectedFilter(filters);
    return QFileDialog::getOpenFileName(parent, "Открыть", QString(), filters, &filter);
  }
  QString SaveFileName(QWidget* parent, const QString& filters) override {
    QString filter = selectedFilter(filters);
    // The overwrite question is the project window's own, asked after ".vxa" is appended.
    return QFileDialog::getSaveFileName(parent, "Сохранить как", QString(), filters, &filter,
                                        QFileDialog::DontConfirmOverwrite);
  }
  int SelectRun(QWidget* parent, const QStringList& titles, int current) override {
    TCalcSelectForm form(parent);
    form.SetTitles(titles, current);
    return form.exec() == QDialog::Accepted ? form.CalcComboBox->currentIndex() : -1;
  }
};

TQtDialogs qtDialogs;
TUserDialogs* current = nullptr;

}  // namespace

TUserDialogs& UserDialogs() { return current ? *current : qtDialogs; }

void SetUserDialogs(TUserDialogs* dialogs) { current = dialogs; }

void ShowVexaError(QWidget* parent, const TEVexaError& error) {
  UserDialogs().ShowError(parent, QString::fromStdString(error.Caption), QString::fromStdString(error.Text));
}
