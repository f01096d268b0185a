#pragma once

class QScrollArea;
class QWidget;

namespace ardvane {

// `content` in a frameless scroll area named after it ("...Scroll"), so that where the room is
// smaller than the content needs, it scrolls rather than squeezing its controls together. The
// area itself never takes the focus.
QScrollArea* Scrolling(QWidget* content, QWidget* parent);

}  // namespace ardvane
