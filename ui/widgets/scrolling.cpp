#include "ui/widgets/scrolling.h"

#include <QScrollArea>

namespace ardvane {

QScrollArea* Scrolling(QWidget* content, QWidget* parent) {
  auto* area = new QScrollArea(parent);
  area->setObjectName(content->objectName() + "Scroll");
  area->setWidget(content);
  area->setWidgetResizable(true);
  area->setFrameShape(QFrame::NoFrame);
  area->setFocusPolicy(Qt::NoFocus);
  return area;
}

}  // namespace ardvane
