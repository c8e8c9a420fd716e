#pragma once

#include <QWidget>

class QComboBox;
class QLabel;
class QPushButton;

namespace tal {

class SettingsWindow;

// The settings window "Окно настроек": the machine model and the two folders of the settings
// file. It draws SettingsWindow, which changes the settings and writes the file. Shown without
// being modal; closing it only hides it.
class TForm8 : public QWidget {
    Q_OBJECT
public:
    explicit TForm8(SettingsWindow& logic, QWidget* parent = nullptr);

    // Fills the model list from the limits table and shows the folders; an error of the table
    // engine goes to the standard error report and the window keeps its design-time contents.
    void FormCreate();
    // As SpeedButton15Click: shown if hidden, and brought to the front.
    void showAndRaise();

    QComboBox* ComboBox1() const { return m_comboBox1; }
    QPushButton* Button1() const { return m_button1; }  // the programs folder's "Сменить"
    QPushButton* Button2() const { return m_button2; }  // the programmer folder's "Сменить"
    QLabel* StaticText1() const { return m_staticText1; }
    QLabel* StaticText2() const { return m_staticText2; }

private:
    // Shows what the logic holds; setting the list's selection runs no change of the model.
    void showSettings();

    SettingsWindow& m_logic;
    QComboBox* m_comboBox1;
    QPushButton* m_button1;
    QPushButton* m_button2;
    QLabel* m_staticText1;
    QLabel* m_staticText2;
};

}  // namespace tal
