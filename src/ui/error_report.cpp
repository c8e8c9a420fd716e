#include "ui/error_report.h"

#include <QMessageBox>
#include <exception>

namespace tal {

QString standardErrorText(const QString& message) {
    if (message.isEmpty() || message.back().unicode() <= u'.')
        return message;
    return message + QLatin1Char('.');
}

void showStandardErrorReport(const QString& message) {
    QMessageBox box(QMessageBox::Critical, QString::fromUtf8(kApplicationTitle),
                    standardErrorText(message), QMessageBox::Ok);
    box.exec();
}

void runGuarded(const std::function<void()>& body) {
    try {
        body();
    } catch (const std::exception& e) {
        showStandardErrorReport(QString::fromUtf8(e.what()));
    }
}

}  // namespace tal
