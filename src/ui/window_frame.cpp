#include "ui/window_frame.h"

#include <QEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace tal {
namespace {

void setClientSize(QWidget* window, const QSize& size, Sizing sizing) {
    switch (sizing) {
        case Sizing::Fixed:
            window->setFixedSize(size);
            return;
        case Sizing::FixedWidth:
            window->setFixedWidth(size.width());
            window->resize(size);
            return;
        case Sizing::Resizable:
            window->resize(size);
            return;
    }
}

// Fits the client size to the frame once the window manager has put one around it.
class FrameFitter : public QObject {
public:
    FrameFitter(QWidget* window, QRect outer, Sizing sizing)
        : QObject(window), m_window(window), m_outer(outer), m_sizing(sizing) {
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
        setClientSize(m_window, m_outer.size() - frame, m_sizing);
        m_window->move(m_outer.topLeft());
    }

    QPointer<QWidget> m_window;
    QRect m_outer;
    Sizing m_sizing;
    QSize m_applied;
};

}  // namespace

void placeWindow(QWidget* window, const QRect& outer, Sizing sizing) {
    setClientSize(window, outer.size(), sizing);
    window->move(outer.topLeft());
    new FrameFitter(window, outer, sizing);
}

}  // namespace tal
