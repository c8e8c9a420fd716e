#include "ui/binding/record_navigator.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QPainterPath>
#include <QToolButton>

#include "ui/error_report.h"

namespace tal {
namespace {

// The 16 × 16 glyph of a navigator button, drawn in the button's text colour.
QIcon navigatorIcon(NavigatorButton which) {
    QIcon icon;
    for (QIcon::Mode mode : {QIcon::Normal, QIcon::Disabled}) {
        QPixmap pixmap(16, 16);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        const QColor ink = mode == QIcon::Normal ? QColor(0, 0, 0) : QColor(160, 160, 160);
        p.setPen(Qt::NoPen);
        p.setBrush(ink);
        auto triangle = [&](double tipX, double baseX) {
            QPainterPath path;
            path.moveTo(tipX, 8);
            path.lineTo(baseX, 3);
            path.lineTo(baseX, 13);
            path.closeSubpath();
            p.drawPath(path);
        };
        switch (which) {
            case NavigatorButton::First:
                p.drawRect(QRectF(3, 3, 2, 10));
                triangle(5, 12);
                break;
            case NavigatorButton::Prior:
                triangle(4, 11);
                break;
            case NavigatorButton::Next:
                triangle(12, 5);
                break;
            case NavigatorButton::Last:
                triangle(11, 4);
                p.drawRect(QRectF(11, 3, 2, 10));
                break;
            case NavigatorButton::Insert:
                p.drawRect(QRectF(7, 3, 2, 10));
                p.drawRect(QRectF(3, 7, 10, 2));
                break;
            case NavigatorButton::Delete:
                p.drawRect(QRectF(3, 7, 10, 2));
                break;
            case NavigatorButton::Edit: {
                QPainterPath path;
                path.moveTo(8, 3);
                path.lineTo(13, 12);
                path.lineTo(3, 12);
                path.closeSubpath();
                p.drawPath(path);
                break;
            }
            case NavigatorButton::Post:
                p.setPen(QPen(mode == QIcon::Normal ? QColor(0, 128, 0) : ink, 2));
                p.setBrush(Qt::NoBrush);
                p.drawPolyline(QPolygonF({QPointF(3, 8), QPointF(7, 12), QPointF(13, 4)}));
                break;
            case NavigatorButton::Cancel:
                p.setPen(QPen(mode == QIcon::Normal ? QColor(160, 0, 0) : ink, 2));
                p.drawLine(QPointF(4, 4), QPointF(12, 12));
                p.drawLine(QPointF(12, 4), QPointF(4, 12));
                break;
            case NavigatorButton::Refresh:
                p.setPen(QPen(ink, 2));
                p.setBrush(Qt::NoBrush);
                p.drawArc(QRectF(3, 3, 10, 10), 60 * 16, 270 * 16);
                p.setPen(Qt::NoPen);
                p.setBrush(ink);
                p.drawPolygon(QPolygonF({QPointF(9, 1), QPointF(13, 4), QPointF(9, 7)}));
                break;
        }
        p.end();
        icon.addPixmap(pixmap, mode);
    }
    return icon;
}

}  // namespace

RecordNavigator::RecordNavigator(Table& table, Desktop& desktop, const Hints& hints,
                                 std::array<bool, kNavigatorButtonCount> shown, QWidget* parent)
    : QWidget(parent), m_table(table) {
    setFocusPolicy(Qt::NoFocus);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (int i = 0; i < kNavigatorButtonCount; ++i) {
        const auto which = static_cast<NavigatorButton>(i);
        auto* button = new QToolButton(this);
        button->setFocusPolicy(Qt::NoFocus);
        button->setIcon(navigatorIcon(which));
        button->setToolTip(QString::fromUtf8(hints[i]));
        button->setAccessibleName(QString::fromUtf8(hints[i]));
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        button->setVisible(shown[i]);
        connect(button, &QToolButton::clicked, this, [this, &desktop, which] {
            runGuarded([&] { navigatorAction(m_table, which, desktop); });
            refresh();
        });
        layout->addWidget(button);
        m_buttons[i] = button;
    }
    m_changes = table.subscribe([this](const Table&, const TableChange& change) {
        if (change.kind != ChangeKind::ValuesChanged)
            refresh();
    });
    refresh();
}

void RecordNavigator::refresh() {
    const auto enabled = navigatorEnabling(m_table);
    for (int i = 0; i < kNavigatorButtonCount; ++i)
        m_buttons[i]->setEnabled(enabled[i]);
}

}  // namespace tal
