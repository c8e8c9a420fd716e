#pragma once

#include <QRect>

class QWidget;

namespace tal {

// Places a top-level window so that its outer rectangle, frame included, is `outer`. The frame
// is known only once the window is shown, so the size is corrected on the first show.
enum class Sizing { Resizable, Fixed, FixedWidth };
void placeWindow(QWidget* window, const QRect& outer, Sizing sizing);

}  // namespace tal
