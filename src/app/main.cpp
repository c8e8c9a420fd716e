// taleditor: the winding-program editor.

#include <QCommandLineParser>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QTimer>
#include <QToolButton>
#include <cstdio>

#include "ui/edit_window.h"
#include "ui/editor.h"
#include "ui/editor_application.h"
#include "ui/file_names.h"
#include "ui/main_window.h"
#include "ui/programmer_window.h"
#include "ui/settings_window.h"
#include "ui/tool_bar.h"

namespace {

// Ends the event loop once the watched window has painted itself for the first time.
class QuitAfterFirstPaint : public QObject {
public:
    static void install(QWidget* window) {
        window->installEventFilter(new QuitAfterFirstPaint(window));
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    using QObject::QObject;
    bool m_seen = false;
};

}  // namespace

int main(int argc, char** argv) {
    tal::EditorApplication app(argc, argv);

    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromUtf8("Редактор программ намотки"));
    parser.addHelpOption();
    const QCommandLineOption open(QStringLiteral("open"),
                                  QString::fromUtf8("Открыть рабочий файл при запуске."),
                                  QStringLiteral("FILE"));
    const QCommandLineOption screenshot(
        QStringLiteral("screenshot"),
        QString::fromUtf8("Сохранить снимок главного окна в PNG и завершить работу."),
        QStringLiteral("PNG"));
    const QCommandLineOption window(
        QStringLiteral("window"),
        QString::fromUtf8("Окно для снимка: main (главное), edit (окно редактирования), "
                          "settings (окно настроек) или programmer (окно программатора после "
                          "экспорта)."),
        QStringLiteral("WINDOW"), QStringLiteral("main"));
    const QCommandLineOption quitAfterPaint(
        QStringLiteral("quit-after-paint"),
        QString::fromUtf8("Завершить работу, как только главное окно нарисовано (для замера "
                          "времени запуска)."));
    parser.addOption(open);
    parser.addOption(screenshot);
    parser.addOption(window);
    parser.addOption(quitAfterPaint);
    parser.process(app);

    const QString folder = QDir::toNativeSeparators(QCoreApplication::applicationDirPath() + '/');
    tal::Editor editor(tal::systemFileName(folder));
    if (!editor.started()) {
        app.exec();  // quits at once, after the start-up messages
        return 1;
    }
    editor.show();

    if (parser.isSet(open)) {
        editor.desktop().answerNextOpenDialog(
            tal::systemFileName(QFileInfo(parser.value(open)).absoluteFilePath()));
        editor.Form1()->Panel1()->SpeedButton(3)->click();
    }
    if (parser.isSet(quitAfterPaint))
        QuitAfterFirstPaint::install(editor.Form1());
    int result = 0;
    if (parser.isSet(screenshot)) {
        const QString png = parser.value(screenshot);
        const QString which = parser.value(window);
        if (which != QLatin1String("main") && which != QLatin1String("edit") &&
            which != QLatin1String("settings") && which != QLatin1String("programmer")) {
            std::fprintf(stderr, "Неизвестное окно: %s\n", qPrintable(which));
            return 2;
        }
        QWidget* target = editor.Form1();
        int delayMs = 300;
        if (which == QLatin1String("edit")) {
            editor.Form1()->Panel1()->SpeedButton(10)->click();
            target = editor.Form2();
        } else if (which == QLatin1String("settings")) {
            editor.Form1()->Panel1()->SpeedButton(15)->click();
            target = editor.Form8();
        } else if (which == QLatin1String("programmer")) {
            // The export: the tool writes the memory, then reads it back for the comparison.
            editor.Form1()->Panel1()->SpeedButton(12)->click();
            target = editor.programmerWindow();
            delayMs = 4000;
        }
        QTimer::singleShot(delayMs, &app, [&, target] {
            QCoreApplication::processEvents();
            if (!target->grab().save(png, "PNG")) {
                std::fprintf(stderr, "Не удалось записать %s\n", qPrintable(png));
                result = 1;
            }
            QCoreApplication::quit();
        });
    }
    const int code = app.exec();
    return result != 0 ? result : code;
}
