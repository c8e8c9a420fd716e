#include "ui/new_line_dialog.h"

#include <QLabel>
#include <QPushButton>

#include "ui/look.h"
#include "ui/window_frame.h"

namespace tal {
namespace {

QPushButton* button(const char* name, const char* caption, const char* hint, int left,
                    QWidget* parent) {
    auto* b = new QPushButton(QString::fromUtf8(caption), parent);
    b->setObjectName(QLatin1String(name));
    b->setToolTip(QString::fromUtf8(hint));
    b->setGeometry(left, 40, 73, 25);
    b->setAutoDefault(false);
    return b;
}

}  // namespace

TForm6::TForm6(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName(QStringLiteral("Form6"));
    setWindowTitle(QString::fromUtf8("Новая строка"));
    setFont(windowFont(13));
    setModal(true);

    m_label1 = new QLabel(QString::fromUtf8("Программа намотки:"), this);
    m_label1->move(8, 8);
    m_label2 = new QLabel(this);
    m_label2->setObjectName(QStringLiteral("Label2"));
    m_label2->setGeometry(152, 8, 80, m_label1->sizeHint().height());
    m_button1 = button("Button1", "Создать", "Создать новую строку", 8, this);
    m_button2 = button("Button2", "Вставить", "Вставить строку из буфера обмена", 80, this);
    m_button3 = button("Button3", "Отменить", "Отменить операцию", 152, this);
    setTabOrder(m_button1, m_button3);
    setTabOrder(m_button3, m_button2);

    connect(m_button1, &QPushButton::clicked, this, [this] { finish(DialogAnswer::Create); });
    connect(m_button2, &QPushButton::clicked, this, [this] { finish(DialogAnswer::Paste); });
    connect(m_button3, &QPushButton::clicked, this, &TForm6::reject);

    placeWindow(this, QRect(192, 114, 242, 112), Sizing::Fixed);
}

DialogAnswer TForm6::ask(unsigned programNumber, bool clipboardHoldsLine) {
    m_logic.FormShow(programNumber, clipboardHoldsLine);
    m_label2->setText(QString::fromStdString(m_logic.programText()));
    m_button2->setEnabled(m_logic.pasteEnabled());
    m_answer = DialogAnswer::Cancel;
    m_button1->setFocus(Qt::OtherFocusReason);
    exec();
    return m_answer;
}

void TForm6::finish(DialogAnswer answer) {
    m_answer = answer;
    accept();
}

void TForm6::reject() {
    m_answer = DialogAnswer::Cancel;
    QDialog::reject();
}

}  // namespace tal
