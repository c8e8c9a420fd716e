#include "ui/program_grid.h"

#include <QFocusEvent>
#include <QHeaderView>
#include <QPainter>

#include "ui/error_report.h"
#include "ui/table_model.h"

namespace tal {
namespace {

// The row indicator column: a small black triangle at the current row.
class IndicatorHeader : public QHeaderView {
public:
    explicit IndicatorHeader(QTableView* view) : QHeaderView(Qt::Vertical, view), m_view(view) {}

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override {
        QHeaderView::paintSection(painter, rect, logicalIndex);
        if (logicalIndex != m_view->currentIndex().row())
            return;
        painter->save();
        painter->setClipRect(rect);  // the style leaves the clip emptied
        painter->setRenderHint(QPainter::Antialiasing, false);
        painter->setPen(Qt::NoPen);
        painter->setBrush(Qt::black);
        const QPoint c = rect.center();
        const QPoint points[] = {
            {c.x() - 2, c.y() - 4}, {c.x() + 2, c.y()}, {c.x() - 2, c.y() + 4}};
        painter->drawPolygon(points, 3);
        painter->restore();
    }

private:
    QTableView* m_view;
};

}  // namespace

ProgramGrid::ProgramGrid(TableModel* model, const QFont& font, const QColor& textColor,
                         QWidget* parent)
    : QTableView(parent), m_model(model) {
    setFont(font);
    QPalette colours = palette();
    colours.setColor(QPalette::Text, textColor);
    setPalette(colours);

    auto* indicator = new IndicatorHeader(this);
    setVerticalHeader(indicator);
    setModel(model);

    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setTabKeyNavigation(true);
    setWordWrap(false);
    setTextElideMode(Qt::ElideNone);
    setShowGrid(true);
    setCornerButtonEnabled(false);

    const int rowHeight = fontMetrics().height() + 4;
    indicator->setSectionResizeMode(QHeaderView::Fixed);
    indicator->setDefaultSectionSize(rowHeight);
    indicator->setMinimumSectionSize(rowHeight);
    indicator->setFixedWidth(12);

    QHeaderView* titles = horizontalHeader();
    QPalette titleColours = titles->palette();
    titleColours.setColor(QPalette::ButtonText, QColor(0x00, 0x00, 0x80));
    titleColours.setColor(QPalette::WindowText, QColor(0x00, 0x00, 0x80));
    titles->setPalette(titleColours);
    titles->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    titles->setHighlightSections(false);
    titles->setSectionsMovable(false);
    titles->setStretchLastSection(false);
    titles->setDefaultSectionSize(64);
    titles->setMinimumSectionSize(8);
    titles->setFixedHeight(rowHeight + 2);
    const auto& columns = model->columns();
    for (int i = 0; i < static_cast<int>(columns.size()); ++i)
        if (columns[i].width > 0)
            setColumnWidth(i, columns[i].width);

    connect(model, &TableModel::currentRowChanged, this, &ProgramGrid::followCursor);
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current, const QModelIndex&) { rowChosen(current); });
    connect(selectionModel(), &QItemSelectionModel::currentChanged, verticalHeader()->viewport(),
            [this] { verticalHeader()->viewport()->update(); });
}

void ProgramGrid::followCursor(int row) {
    m_following = true;
    if (row >= 0 && row < model()->rowCount()) {
        const int column = currentIndex().isValid() ? currentIndex().column() : 0;
        const QModelIndex index = model()->index(row, column);
        selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
        scrollTo(index, QAbstractItemView::EnsureVisible);
    } else {
        selectionModel()->clear();
    }
    verticalHeader()->viewport()->update();
    m_following = false;
}

void ProgramGrid::rowChosen(const QModelIndex& current) {
    if (m_following || !current.isValid())
        return;
    Table& table = m_model->table();
    if (!table.isOpen())
        return;
    const int from = table.recNo();
    if (from < 0 || from == current.row())
        return;
    runGuarded([&] { table.moveBy(current.row() - from); });
    // Moving may have been refused: show where the cursor really is, once this click is done.
    if (table.recNo() != current.row())
        QMetaObject::invokeMethod(m_model, &TableModel::flush, Qt::QueuedConnection);
}

void ProgramGrid::focusOutEvent(QFocusEvent* event) {
    QTableView::focusOutEvent(event);
    // Another window becoming active is not leaving the grid.
    switch (event->reason()) {
        case Qt::ActiveWindowFocusReason:
        case Qt::PopupFocusReason:
        case Qt::MenuBarFocusReason:
            return;
        default:
            emit exited();
    }
}

void ProgramGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    QTableView::mouseDoubleClickEvent(event);
    emit gridDoubleClicked();
}

}  // namespace tal
