#include "AboutUnit.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
  setWindowTitle("О программе");
  auto* icon = new QLabel(this);
  const QIcon programIcon = QApplication::windowIcon().isNull()
                                ? QApplication::style()->standardIcon(QStyle::SP_ComputerIcon)
                                : QApplication::windowIcon();
  icon->setPixmap(programIcon.pixmap(48, 48));
  icon->setAlignment(Qt::AlignTop);
  auto* texts = new QVBoxLayout;
  auto* name = new QLabel("Программный комплекс \"VEXA\"", this);
  QFont bold = name->font();
  bold.setBold(true);
  bold.setPointSizeF(bold.pointSizeF() * 1.2);
  name->setFont(bold);
  texts->addWidget(name);
  texts->addWidget(new QLabel("Версия 4.2", this));
  texts->addSpacing(8);
  texts->addWidget(new QLabel("(Неразрезная схема, ", this));
  texts->addWidget(new QLabel("сосредоточенные податливые опоры)", this));
  auto* top = new QHBoxLayout;
  top->addWidget(icon);
  top->addSpacing(12);
  top->addLayout(texts, 1);
  auto* ok = new QPushButton("OK", this);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(ok);
  buttons->addStretch(1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addSpacing(12);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}
