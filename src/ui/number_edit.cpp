#include "ui/number_edit.h"

#include <QKeyEvent>

namespace tal {

NumberEdit::NumberEdit(KeyFilter keyFilter, QWidget* parent)
    : QLineEdit(parent), m_keyFilter(std::move(keyFilter)) {}

void NumberEdit::keyPressEvent(QKeyEvent* event) {
    const QString typed = event->text();
    if (event->key() == Qt::Key_Delete || typed.isEmpty()) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    for (char32_t key : typed.toUcs4()) {
        if (!m_keyFilter(key)) {
            // Discarded: neither the field nor the dialog sees the key (Enter and Escape close
            // nothing).
            event->accept();
            return;
        }
    }
    QLineEdit::keyPressEvent(event);
}

}  // namespace tal
