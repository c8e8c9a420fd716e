#pragma once

#include <QDialog>

#include "editor/new_program_dialog.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace tal {

// The new-program dialog: asks the number of a new program, offers to paste a copied one.
class TForm5 : public QDialog {
    Q_OBJECT
public:
    explicit TForm5(Desktop& desktop, QWidget* parent = nullptr);

    // Shows the dialog modally and hands back the answer with the entered number.
    NewProgramResult ask(unsigned programNumberEntry, bool clipboardHoldsProgram);

    QLineEdit* Edit1() const { return m_edit1; }
    QPushButton* Button1() const { return m_button1; }  // "Создать"
    QPushButton* Button2() const { return m_button2; }  // "Вставить"
    QPushButton* Button3() const { return m_button3; }  // "Отменить"

public slots:
    void reject() override;

private:
    void finish(std::optional<NewProgramResult> result);

    NewProgramDialog m_logic;
    NewProgramResult m_result;
    QLabel* m_label1;
    QLineEdit* m_edit1;
    QPushButton* m_button1;
    QPushButton* m_button2;
    QPushButton* m_button3;
};

}  // namespace tal
