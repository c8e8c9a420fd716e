#include "ui/window_frame.h"

#include <QEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace tal {
namespace {

void setClientSize(QWidget* window, const QSize& size, bool fixedSize) {
    if (fixedSize)
        window->setFixedSize(size);
    else
        window->resize(size);
}

// Fits the client size to the frame once the window manager has put one around it.
class FrameFitter : public QObject {
public:
    FrameFitter(QWidget* window, QRect outer, bool fixedSize)
        : QObject(window), m_window(window), m_outer(outer), m_fixed(fixedSize) {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Show) {
            QTimer::singleShot(0, this, [this] { fit(); });
            QTimer::singleShot(100, this, [this] { fit(); });
        }
        return false;
    }

private:
    void fit() {
        if (!m_window)
            return;
        const QSize frame = m_window->frameGeometry().size() - m_window->geometry().size();
        if ((frame.width() <= 0 && frame.height() <= 0) || frame == m_applied)
            return;
        m_applied = frame;
        setClientSize(m_window, m_outer.size() - frame, m_fixed);
        m_window->move(m_outer.topLeft());
    }

    QPointer<QWidget> m_window;
    QRect m_outer;
    bool m_fixed;
    QSize m_applied;
};

}  // namespace

void placeWindow(QWidget* window, const QRect& outer, bool fixedSize) {
    setClientSize(window, outer.size(), fixedSize);
    window->move(outer.topLeft());
    new FrameFitter(window, outer, fixedSize);
}

}  // namespace tal
