#include "ui/history_keys.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QShortcut>

#include "files/recovery.h"
#include "ui/error_report.h"
#include "workbench/history.h"

namespace tal {
namespace {

const QKeySequence kUndo(Qt::CTRL | Qt::Key_Z);
const QKeySequence kRedo(Qt::CTRL | Qt::Key_Y);
const QKeySequence kRedoShift(Qt::CTRL | Qt::SHIFT | Qt::Key_Z);

// Well inside the two seconds in which a change is to reach the copy.
constexpr int kRecoveryIntervalMs = 1000;
// While a modal dialog of a command is open the command is not over yet.
constexpr int kModalRetryMs = 100;

}  // namespace

HistoryKeys::HistoryKeys(History& history, Recovery& recovery, const QList<QWidget*>& windows)
    : m_history(history), m_recovery(recovery) {
    for (QWidget* window : windows) {
        auto bind = [this, window](const QKeySequence& keys, bool undo) {
            auto* shortcut = new QShortcut(keys, window);
            shortcut->setContext(Qt::WindowShortcut);
            connect(shortcut, &QShortcut::activated, this, [this, undo] {
                runGuarded([this, undo] {
                    if (undo)
                        m_history.undo();
                    else
                        m_history.redo();
                });
            });
        };
        bind(kUndo, true);
        bind(kRedo, false);
        bind(kRedoShift, false);
        for (QLineEdit* edit : window->findChildren<QLineEdit*>())
            edit->installEventFilter(this);
    }
    m_history.setChangeHandler([this] { scheduleCheckpoint(); });
    connect(&m_recoveryTimer, &QTimer::timeout, this,
            [this] { runGuarded([this] { m_recovery.refresh(); }); });
    m_recoveryTimer.start(kRecoveryIntervalMs);
}

HistoryKeys::~HistoryKeys() {
    m_history.setChangeHandler(nullptr);
}

// One step per command: the checkpoint runs when the event loop is back from the handler.
void HistoryKeys::scheduleCheckpoint() {
    if (m_checkpointQueued)
        return;
    m_checkpointQueued = true;
    const int delay = QApplication::activeModalWidget() ? kModalRetryMs : 0;
    QTimer::singleShot(delay, this, [this] {
        m_checkpointQueued = false;
        if (QApplication::activeModalWidget()) {
            scheduleCheckpoint();
            return;
        }
        runGuarded([this] { m_history.checkpoint(); });
    });
}

// A text field would take the undo and redo keys for its own text.
bool HistoryKeys::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride) {
        const QKeySequence keys(static_cast<QKeyEvent*>(event)->keyCombination());
        if (keys == kUndo || keys == kRedo || keys == kRedoShift)
            return true;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace tal
