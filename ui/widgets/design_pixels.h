#pragma once

#include <QFontMetrics>
#include <QWidget>
#include <algorithm>

namespace ardvane {

// The windows' sizes were drawn for a font whose average character is 5 pixels wide; this
// scales such a design size to the font of the widget it is made for (never below 1:1).
class DesignPixels {
 public:
  DesignPixels() = default;
  explicit DesignPixels(const QWidget& widget)
      : scale_(std::max(1.0, widget.fontMetrics().averageCharWidth() / 5.0)) {}

  int operator()(int designPixels) const { return static_cast<int>(designPixels * scale_ + 0.5); }

 private:
  double scale_ = 1;
};

}  // namespace ardvane
