#include "ui/editor_application.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <exception>

#include "ui/error_report.h"

namespace tal {

EditorApplication::EditorApplication(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("taleditor"));
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    loadRussianTranslations(*this);
}

bool EditorApplication::notify(QObject* receiver, QEvent* event) {
    // Handlers guard their own bodies; this catches what slipped past them.
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        showStandardErrorReport(QString::fromUtf8(e.what()));
    }
    return false;
}

bool EditorApplication::loadRussianTranslations(QCoreApplication& application) {
    auto* translator = new QTranslator(&application);
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (!translator->load(QStringLiteral("qtbase_ru"), folder)) {
        delete translator;
        return false;
    }
    application.installTranslator(translator);
    return true;
}

}  // namespace tal
