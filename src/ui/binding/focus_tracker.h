#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <vector>

namespace tal {

// Watches the keyboard focus moving inside one window. An edit that is left assigns its typed
// text; on a refusal the edit takes the focus back with its whole text selected and the standard
// error report shows the message (the focus move then counts as not made). A panel that the
// focus leaves runs its handler. Focus going to another window leaves nothing: the typed text
// waits for the row to be saved.
class FocusTracker : public QObject {
    Q_OBJECT
public:
    explicit FocusTracker(QWidget* window);

    void onPanelLeft(QWidget* panel, std::function<void()> handler);

private:
    void focusChanged(QWidget* old, QWidget* now);
    bool inWindow(const QWidget* widget) const;

    QWidget* m_window;
    struct Panel {
        QPointer<QWidget> widget;
        std::function<void()> left;
    };
    std::vector<Panel> m_panels;
};

// Makes Enter act as Tab in one window, except on push buttons.
class EnterAsTab : public QObject {
    Q_OBJECT
public:
    explicit EnterAsTab(QWidget* window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* m_window;
};

}  // namespace tal
