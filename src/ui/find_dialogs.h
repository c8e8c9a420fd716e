#pragma once

#include <QDialog>
#include <optional>

#include "editor/find_dialog.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace tal {

// A find dialog: asks a number for the find command. Neither button is a default or cancel
// button, so Enter and Escape close nothing.
class FindDialogWindow : public QDialog {
    Q_OBJECT
public:
    // Shows the dialog modally with the entry; nothing when cancelled, otherwise the entered
    // number in full.
    std::optional<long long> ask(unsigned entry);

    QLabel* Label1() const { return m_label1; }
    QLineEdit* Edit1() const { return m_edit1; }
    QPushButton* Button1() const { return m_button1; }  // "Найти"
    QPushButton* Button2() const { return m_button2; }  // "Отменить"

public slots:
    void reject() override;

protected:
    FindDialogWindow(Desktop& desktop, const char* caption, const char* label, int labelWidth,
                     QWidget* parent);
    void keyPressEvent(QKeyEvent* event) override;

private:
    FindDialog m_logic;
    std::optional<long long> m_result;
    QLabel* m_label1;
    QLineEdit* m_edit1;
    QPushButton* m_button1;
    QPushButton* m_button2;
};

// "Поиск программы намотки": the program number, fixed border.
class TForm3 : public FindDialogWindow {
    Q_OBJECT
public:
    explicit TForm3(Desktop& desktop, QWidget* parent = nullptr);
};

// "Поиск строки программы": the line number of the current program, resizable border.
class TForm4 : public FindDialogWindow {
    Q_OBJECT
public:
    explicit TForm4(Desktop& desktop, QWidget* parent = nullptr);
};

}  // namespace tal
