#pragma once

class QWidget;

namespace fenlark {

// Lets the left mouse button drag the window of `strip` by that strip: the title strip of a
// borderless window, which has no system title bar to be moved by. Other handlers of the
// strip's mouse events (a press signal, say) still get them.
void makeWindowDragHandle(QWidget *strip);

} // namespace fenlark
