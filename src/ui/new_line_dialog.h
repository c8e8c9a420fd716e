#pragma once

#include <QDialog>

#include "editor/desktop.h"
#include "editor/new_program_dialog.h"

class QLabel;
class QPushButton;

namespace tal {

// The new-line dialog: a new empty line or the copied one.
class TForm6 : public QDialog {
    Q_OBJECT
public:
    explicit TForm6(QWidget* parent = nullptr);

    // Shows the dialog modally and hands back the answer.
    DialogAnswer ask(unsigned programNumber, bool clipboardHoldsLine);

    QLabel* Label2() const { return m_label2; }
    QPushButton* Button1() const { return m_button1; }  // "Создать"
    QPushButton* Button2() const { return m_button2; }  // "Вставить"
    QPushButton* Button3() const { return m_button3; }  // "Отменить"

public slots:
    void reject() override;

private:
    void finish(DialogAnswer answer);

    NewLineDialog m_logic;
    DialogAnswer m_answer = DialogAnswer::Cancel;
    QLabel* m_label1;
    QLabel* m_label2;
    QPushButton* m_button1;
    QPushButton* m_button2;
    QPushButton* m_button3;
};

}  // namespace tal
