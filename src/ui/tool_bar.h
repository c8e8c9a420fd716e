#pragma once

#include <QFrame>
#include <map>

class QLabel;
class QToolButton;

namespace tal {

// The main window's toolbar panel Panel1: the fifteen buttons and the clipboard indicator.
class ToolBar : public QFrame {
    Q_OBJECT
public:
    static constexpr int kHeight = 40;

    explicit ToolBar(QWidget* parent = nullptr);

    // SpeedButton1 .. SpeedButton15 and SpeedButton60 by their number.
    QToolButton* SpeedButton(int number) const;
    QLabel* Label1() const { return m_label1; }
    QLabel* Label2() const { return m_label2; }

private:
    std::map<int, QToolButton*> m_buttons;
    QLabel* m_label1;
    QLabel* m_label2;
};

}  // namespace tal
