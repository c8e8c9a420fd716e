#pragma once

#include <QLineEdit>
#include <functional>

namespace tal {

// The number field Edit1 of the small dialogs: every typed character goes through the dialog's
// key filter, which keeps it or discards it; keys that type nothing (Delete, arrows, Home, End)
// edit as usual.
class NumberEdit : public QLineEdit {
    Q_OBJECT
public:
    using KeyFilter = std::function<bool(char32_t key)>;
    NumberEdit(KeyFilter keyFilter, QWidget* parent);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    KeyFilter m_keyFilter;
};

}  // namespace tal
