#pragma once

#include <QRect>

class QWidget;

namespace tal {

// Places a top-level window so that its outer rectangle, frame included, is `outer`. The frame
// is known only once the window is shown, so the size is corrected on the first show.
void placeWindow(QWidget* window, const QRect& outer, bool fixedSize);

}  // namespace tal
