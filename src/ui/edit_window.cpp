#include "ui/edit_window.h"

#include "ui/look.h"
#include "ui/window_frame.h"

namespace tal {

TForm2::TForm2(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QString::fromUtf8("Окно редактирования"));
    setFont(windowFont(11));
    placeWindow(this, QRect(302, -1, 432, 738), false);
}

void TForm2::showAndRaise() {
    show();
    raise();
    activateWindow();
}

}  // namespace tal
