#pragma once

#include <QApplication>

namespace tal {

// The application object: Qt's own texts in Russian, and the standard error report for an
// error that escapes every handler.
class EditorApplication : public QApplication {
public:
    EditorApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    // Loads Qt's Russian translations ("Да", "Нет", "Отмена"); false when they are not installed.
    static bool loadRussianTranslations(QCoreApplication& application);
};

}  // namespace tal
