#include "ui/main_window.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "store/field_catalogue.h"
#include "store/program_store.h"
#include "ui/look.h"
#include "ui/program_grid.h"
#include "ui/table_model.h"
#include "ui/tool_bar.h"
#include "ui/window_frame.h"

namespace tal {
namespace {

const QColor kNavy(0x00, 0x00, 0x80);
const QColor kBlue(0x00, 0x00, 0xFF);

QString text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

QGroupBox* frame(const char* caption, QWidget* parent) {
    auto* box = new QGroupBox(text(caption), parent);
    box->setFont(windowFont(13));
    QPalette blue = box->palette();
    blue.setColor(QPalette::WindowText, kBlue);
    box->setPalette(blue);
    return box;
}

void putInto(QGroupBox* box, QWidget* grid) {
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(grid);
}

}  // namespace

TForm1::TForm1(ProgramStore& store, QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(text("Редактор программ намотки"));
    setFont(windowFont(11));

    m_panel1 = new ToolBar(this);

    m_groupBox0 = frame("Заглавные строки программ намотки", this);
    m_groupBox0->setObjectName(QStringLiteral("GroupBox0"));
    m_groupBox0->setFixedHeight(208);
    auto* headerModel = new TableModel(store.headers(), gridColumnsOf(FieldTable::Headers), this);
    m_grid0 = new ProgramGrid(headerModel, windowFont(11), kNavy, m_groupBox0);
    m_grid0->setObjectName(QStringLiteral("DBGrid0"));
    putInto(m_groupBox0, m_grid0);

    m_groupBox1 = frame("Рабочие строки программы намотки", this);
    m_groupBox1->setObjectName(QStringLiteral("GroupBox1"));
    auto* lineModel = new TableModel(store.lines(), gridColumnsOf(FieldTable::Lines), this);
    m_grid1 = new ProgramGrid(lineModel, windowFont(11), Qt::black, m_groupBox1);
    m_grid1->setObjectName(QStringLiteral("DBGrid1"));
    putInto(m_groupBox1, m_grid1);

    m_statusBar = new QStatusBar(this);
    m_statusBar->setObjectName(QStringLiteral("StatusBar1"));
    m_statusBar->setFixedHeight(22);
    m_statusBar->setSizeGripEnabled(false);
    // The panels draw their own bevels.
    m_statusBar->setStyleSheet(QStringLiteral("QStatusBar::item { border: none; }"));
    m_status0 = new QLabel(text("Рабочий файл:"), m_statusBar);
    m_status0->setObjectName(QStringLiteral("StatusPanel0"));
    m_status0->setFixedWidth(80);
    m_status1 = new QLabel(m_statusBar);
    m_status1->setObjectName(QStringLiteral("StatusPanel1"));
    m_status1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_status1->setTextFormat(Qt::PlainText);
    m_statusBar->addWidget(m_status0);
    m_statusBar->addWidget(m_status1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_panel1);
    layout->addWidget(m_groupBox0);
    layout->addWidget(m_groupBox1, 1);
    layout->addWidget(m_statusBar);

    setTabOrder(m_grid0, m_grid1);
    m_controls.add(Control::DBGrid1, m_grid1);
    m_controls.add(Control::SpeedButton4, m_panel1->SpeedButton(4));
    m_controls.add(Control::SpeedButton9, m_panel1->SpeedButton(9));
    m_controls.add(Control::SpeedButton60, m_panel1->SpeedButton(60));
    placeWindow(this, QRect(201, 102, 800, 600), Sizing::Resizable);
}

QLabel* TForm1::statusPanel(int index) const {
    return index == 0 ? m_status0 : m_status1;
}

Grid TForm1::focusedGrid() const {
    const QWidget* focus = focusWidget();
    if (focus == m_grid0)
        return Grid::Headers;
    if (focus == m_grid1)
        return Grid::Lines;
    return Grid::None;
}

ProgramGrid* TForm1::grid(Grid which) const {
    switch (which) {
        case Grid::Headers:
            return m_grid0;
        case Grid::Lines:
            return m_grid1;
        case Grid::None:
            break;
    }
    return nullptr;
}

void TForm1::focusGrid(Grid which) {
    if (ProgramGrid* target = grid(which))
        target->setFocus(Qt::OtherFocusReason);
}

void TForm1::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    m_grid0->setFocus(Qt::OtherFocusReason);
    emit formShown();
}

void TForm1::closeEvent(QCloseEvent* event) {
    emit formClosing();
    event->accept();
}

}  // namespace tal
