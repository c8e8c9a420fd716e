#pragma once

#include <QTableView>

namespace tal {

class TableModel;

// A read-only grid over one table (DBGrid0, DBGrid1): a title row, a row indicator column,
// Tab between columns; its current row and the table's cursor follow each other.
class ProgramGrid : public QTableView {
    Q_OBJECT
public:
    ProgramGrid(TableModel* model, const QFont& font, const QColor& textColor,
                QWidget* parent = nullptr);

    TableModel* tableModel() const { return m_model; }

signals:
    // The keyboard focus moved from this grid to another control of its window.
    void exited();
    void gridDoubleClicked();

protected:
    void focusOutEvent(QFocusEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void followCursor(int row);
    void rowChosen(const QModelIndex& current);

    TableModel* m_model;
    bool m_following = false;  // the view is being moved to the table's cursor
};

}  // namespace tal
