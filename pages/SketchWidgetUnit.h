// Paints a page picture (TSketch) fitted into the widget with its proportions kept; the
// items of the highlighted field are drawn thick and in the highlight colour.
#pragma once

#include <QWidget>
#include <string>

#include "SketchUnit.h"

class TSketchWidget : public QWidget {
  Q_OBJECT
 public:
  explicit TSketchWidget(QWidget* parent = nullptr);
  void SetSketch(TSketch sketch);
  void SetHighlight(const std::string& field);
  const std::string& Highlight() const { return highlight_; }
  const TSketch& Sketch() const { return sketch_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  TSketch sketch_;
  std::string highlight_;
};
