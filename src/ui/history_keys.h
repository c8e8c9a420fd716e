#pragma once

#include <QObject>
#include <QTimer>

namespace tal {

class History;
class Recovery;

// Binds undo (Ctrl+Z) and redo (Ctrl+Y, Ctrl+Shift+Z) in the given windows, takes the history's
// checkpoint once the event that changed the rows is over, and refreshes the recovery copy every
// second. The text fields of the windows leave these keys to the history.
class HistoryKeys : public QObject {
public:
    HistoryKeys(History& history, Recovery& recovery, const QList<QWidget*>& windows);
    ~HistoryKeys() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void scheduleCheckpoint();

    History& m_history;
    Recovery& m_recovery;
    QTimer m_recoveryTimer;
    bool m_checkpointQueued = false;
};

}  // namespace tal
