#include "ui/find_dialogs.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include "ui/error_report.h"
#include "ui/look.h"
#include "ui/number_edit.h"
#include "ui/window_frame.h"

namespace tal {
namespace {

QPushButton* button(const char* name, const char* caption, int left, QWidget* parent) {
    auto* b = new QPushButton(QString::fromUtf8(caption), parent);
    b->setObjectName(QLatin1String(name));
    b->setGeometry(left, 40, 73, 25);
    b->setAutoDefault(false);
    return b;
}

}  // namespace

FindDialogWindow::FindDialogWindow(Desktop& desktop, const char* caption, const char* label,
                                   int labelWidth, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      m_logic(desktop) {
    setWindowTitle(QString::fromUtf8(caption));
    setFont(windowFont(13));
    setModal(true);

    m_label1 = new QLabel(QString::fromUtf8(label), this);
    m_label1->setObjectName(QStringLiteral("Label1"));
    m_label1->setGeometry(8, 8, labelWidth, 16);
    m_edit1 = new NumberEdit([this](char32_t key) { return m_logic.Edit1KeyPress(key); }, this);
    m_edit1->setObjectName(QStringLiteral("Edit1"));
    m_edit1->setGeometry(192, 8, 33, 24);
    m_edit1->setAccessibleName(m_label1->text());
    m_label1->setBuddy(m_edit1);
    m_button1 = button("Button1", "Найти", 80, this);
    m_button2 = button("Button2", "Отменить", 152, this);

    connect(m_edit1, &QLineEdit::textChanged, this,
            [this](const QString& text) { m_logic.setEntryText(text.toStdString()); });
    // A text that is no number goes to the standard error report; the dialog stays open.
    connect(m_button1, &QPushButton::clicked, this, [this] {
        runGuarded([this] {
            if (const auto number = m_logic.Button1Click()) {
                m_result = number;
                accept();
            }
        });
    });
    connect(m_button2, &QPushButton::clicked, this, &FindDialogWindow::reject);
}

std::optional<long long> FindDialogWindow::ask(unsigned entry) {
    m_logic.FormShow(entry);
    m_edit1->setText(QString::fromStdString(m_logic.entryText()));
    m_result.reset();
    m_edit1->setFocus(Qt::OtherFocusReason);
    m_edit1->selectAll();
    exec();
    return m_result;
}

void FindDialogWindow::reject() {
    m_result.reset();
    QDialog::reject();
}

void FindDialogWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

TForm3::TForm3(Desktop& desktop, QWidget* parent)
    : FindDialogWindow(desktop, "Поиск программы намотки", "Номер программы намотки:", 180,
                       parent) {
    setObjectName(QStringLiteral("Form3"));
    setFixedSize(231, 80);
    move(241, 163);
}

TForm4::TForm4(Desktop& desktop, QWidget* parent)
    : FindDialogWindow(desktop, "Поиск строки программы", "Номер строки программы", 167, parent) {
    setObjectName(QStringLiteral("Form4"));
    placeWindow(this, QRect(206, 130, 241, 111), Sizing::Resizable);
}

}  // namespace tal
