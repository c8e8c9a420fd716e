#include "ui/new_program_dialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "ui/error_report.h"
#include "ui/look.h"
#include "ui/number_edit.h"
#include "ui/window_frame.h"

namespace tal {
namespace {

QPushButton* button(const char* caption, const char* hint, int left, QWidget* parent) {
    auto* b = new QPushButton(QString::fromUtf8(caption), parent);
    b->setToolTip(QString::fromUtf8(hint));
    b->setGeometry(left, 40, 73, 25);
    b->setAutoDefault(false);
    return b;
}

}  // namespace

TForm5::TForm5(Desktop& desktop, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      m_logic(desktop) {
    setObjectName(QStringLiteral("Form5"));
    setWindowTitle(QString::fromUtf8("Новая программа намотки"));
    setFont(windowFont(13));
    setModal(true);

    m_label1 = new QLabel(QString::fromUtf8("Номер программы намотки:"), this);
    m_label1->move(8, 8);
    m_edit1 = new NumberEdit([this](char32_t key) { return m_logic.Edit1KeyPress(key); }, this);
    m_edit1->setObjectName(QStringLiteral("Edit1"));
    m_edit1->setGeometry(192, 8, 33, 24);
    m_edit1->setAccessibleName(m_label1->text());
    m_label1->setBuddy(m_edit1);
    m_button1 = button("Создать", "Создать новую программу", 8, this);
    m_button1->setObjectName(QStringLiteral("Button1"));
    m_button2 = button("Вставить", "Вставить программу из буфера обмена", 80, this);
    m_button2->setObjectName(QStringLiteral("Button2"));
    m_button3 = button("Отменить", "Отменить операцию", 152, this);
    m_button3->setObjectName(QStringLiteral("Button3"));
    setTabOrder(m_edit1, m_button1);
    setTabOrder(m_button1, m_button3);
    setTabOrder(m_button3, m_button2);

    connect(m_edit1, &QLineEdit::textChanged, this,
            [this](const QString& text) { m_logic.setEntryText(text.toStdString()); });
    connect(m_button1, &QPushButton::clicked, this,
            [this] { runGuarded([this] { finish(m_logic.Button1Click()); }); });
    connect(m_button2, &QPushButton::clicked, this,
            [this] { runGuarded([this] { finish(m_logic.Button2Click()); }); });
    connect(m_button3, &QPushButton::clicked, this, &TForm5::reject);

    placeWindow(this, QRect(192, 114, 242, 112), Sizing::Fixed);
}

NewProgramResult TForm5::ask(unsigned programNumberEntry, bool clipboardHoldsProgram) {
    m_logic.FormShow(programNumberEntry, clipboardHoldsProgram);
    m_edit1->setText(QString::fromStdString(m_logic.entryText()));
    m_button2->setEnabled(m_logic.pasteEnabled());
    m_result = m_logic.Button3Click();
    m_edit1->setFocus(Qt::OtherFocusReason);
    m_edit1->selectAll();
    exec();
    return m_result;
}

void TForm5::finish(std::optional<NewProgramResult> result) {
    if (!result)
        return;
    m_result = *result;
    accept();
}

void TForm5::reject() {
    m_result = m_logic.Button3Click();
    QDialog::reject();
}

}  // namespace tal
