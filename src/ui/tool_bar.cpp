#include "ui/tool_bar.h"

#include <QLabel>
#include <QPainter>
#include <QSvgRenderer>
#include <QToolButton>

// The icons are compiled into this library; a static library must register them itself.
static void registerIcons() {
    Q_INIT_RESOURCE(icons);
}

namespace tal {
namespace {

struct ButtonLayout {
    int number;
    int left;
    const char* hint;
    const char* icon;
    bool enabledAtStart;
};

constexpr ButtonLayout kButtons[] = {
    {1, 8, "Выход", "exit", true},
    {2, 56, "Создать", "new", true},
    {3, 80, "Открыть", "open", true},
    {4, 104, "Сохранить", "save", false},
    {5, 128, "Сохранить как", "save_as", true},
    {6, 176, "Найти", "find", true},
    {60, 200, "Копировать", "copy", false},
    {7, 224, "Добавить", "add", true},
    {8, 248, "Вставить", "insert", true},
    {9, 272, "Удалить", "delete", false},
    {10, 296, "Окно редактирования", "edit", true},
    {11, 344, "Импорт", "import", true},
    {12, 368, "Экспорт", "export", true},
    {13, 392, "Печать", "print", true},
    {15, 440, "Настройки", "settings", true},
};

// The 16 × 16 picture of a button, also at twice the size for dense screens; the greyed look
// of a disabled button is derived from it by the style.
QIcon toolbarIcon(const char* name) {
    QSvgRenderer renderer(QStringLiteral(":/icons/%1.svg").arg(QLatin1String(name)));
    QIcon icon;
    for (int size : {16, 32}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        renderer.render(&painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

}  // namespace

ToolBar::ToolBar(QWidget* parent) : QFrame(parent) {
    registerIcons();
    setObjectName(QStringLiteral("Panel1"));
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(1);
    setFixedHeight(kHeight);

    for (const ButtonLayout& layout : kButtons) {
        auto* button = new QToolButton(this);
        button->setObjectName(QStringLiteral("SpeedButton%1").arg(layout.number));
        button->setAutoRaise(false);
        button->setFocusPolicy(Qt::NoFocus);
        button->setGeometry(layout.left, 8, 25, 25);
        button->setIconSize(QSize(16, 16));
        button->setIcon(toolbarIcon(layout.icon));
        button->setToolTip(QString::fromUtf8(layout.hint));
        button->setEnabled(layout.enabledAtStart);
        m_buttons[layout.number] = button;
    }

    m_label1 = new QLabel(QString::fromUtf8("Солержимое буфера обмена (программа/строка):"), this);
    m_label1->setObjectName(QStringLiteral("Label1"));
    QPalette caption = m_label1->palette();
    caption.setColor(QPalette::WindowText, palette().color(QPalette::Active, QPalette::Highlight));
    m_label1->setPalette(caption);
    m_label1->adjustSize();
    m_label1->move(488, (kHeight - m_label1->height()) / 2);

    m_label2 = new QLabel(this);
    m_label2->setObjectName(QStringLiteral("Label2"));
    QPalette purple = m_label2->palette();
    purple.setColor(QPalette::WindowText, QColor(0x80, 0x00, 0x80));
    m_label2->setPalette(purple);
    m_label2->setGeometry(750, m_label1->y(), 60, m_label1->height());
}

QToolButton* ToolBar::SpeedButton(int number) const {
    return m_buttons.at(number);
}

}  // namespace tal
