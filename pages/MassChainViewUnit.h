// Draws the torsional mass chain of the torsional page (geometry from MassChainPicture).
#pragma once

#include <QWidget>

#include "MassChainUnit.h"

class TMassChainView : public QWidget {
  Q_OBJECT
 public:
  explicit TMassChainView(QWidget* parent = nullptr);
  void SetPicture(TMassChainPicture picture);
  const TMassChainPicture& Picture() const { return picture_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  TMassChainPicture picture_;
};
