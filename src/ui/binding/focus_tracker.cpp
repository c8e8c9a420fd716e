#include "ui/binding/focus_tracker.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QTimer>
#include <exception>

#include "ui/binding/field_edit.h"
#include "ui/error_report.h"

namespace tal {

FocusTracker::FocusTracker(QWidget* window) : QObject(window), m_window(window) {
    connect(qApp, &QApplication::focusChanged, this, &FocusTracker::focusChanged);
}

void FocusTracker::onPanelLeft(QWidget* panel, std::function<void()> handler) {
    m_panels.push_back({panel, std::move(handler)});
}

bool FocusTracker::inWindow(const QWidget* widget) const {
    return widget && widget->window() == m_window;
}

void FocusTracker::focusChanged(QWidget* old, QWidget* now) {
    if (!inWindow(old) || !inWindow(now))
        return;
    if (auto* edit = qobject_cast<FieldEdit*>(old); edit && edit->hasTypedText()) {
        try {
            edit->commit();
        } catch (const std::exception& e) {
            const QString message = QString::fromUtf8(e.what());
            QPointer<FieldEdit> refused = edit;
            // After this focus move is over: back into the edit, then the report.
            QTimer::singleShot(0, this, [refused, message] {
                auto takeFocus = [refused] {
                    if (!refused)
                        return;
                    refused->window()->activateWindow();
                    refused->setFocus(Qt::OtherFocusReason);
                    refused->selectAll();
                };
                takeFocus();  // the box gives the focus back to the edit when it closes
                showStandardErrorReport(message);
                takeFocus();  // where the window system does not
            });
            return;
        }
    }
    for (const Panel& panel : m_panels) {
        if (panel.widget && panel.widget->isAncestorOf(old) && !panel.widget->isAncestorOf(now))
            runGuarded(panel.left);
    }
}

EnterAsTab::EnterAsTab(QWidget* window) : QObject(window), m_window(window) {
    qApp->installEventFilter(this);
}

bool EnterAsTab::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
        return false;
    QWidget* focus = QApplication::focusWidget();
    if (watched != focus || !focus || focus->window() != m_window ||
        qobject_cast<QPushButton*>(focus))
        return false;
    QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
    QCoreApplication::sendEvent(focus, &tab);
    return true;
}

}  // namespace tal
