#include "ui/settings_window.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>

#include "files/settings_window.h"
#include "ui/error_report.h"
#include "ui/look.h"
#include "ui/window_frame.h"

namespace tal {
namespace {

const QColor kCream(0xFF, 0xFB, 0xF0);

QString text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

QFont boldSerif(int pixelSize) {
    QFont font;
    font.setFamilies(QStringList()
                     << QStringLiteral("Times New Roman") << QStringLiteral("Liberation Serif")
                     << QStringLiteral("DejaVu Serif"));
    font.setStyleHint(QFont::Serif);
    font.setPixelSize(pixelSize);
    font.setBold(true);
    return font;
}

void paintCream(QWidget* widget) {
    QPalette palette = widget->palette();
    for (QPalette::ColorRole role : {QPalette::Base, QPalette::Button, QPalette::Window})
        palette.setColor(role, kCream);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

QLabel* caption(const char* words, int left, int top, QWidget* parent) {
    auto* label = new QLabel(text(words), parent);
    label->move(left, top);
    label->adjustSize();
    return label;
}

QPushButton* changeButton(const char* name, int top, const QString& row, QWidget* parent) {
    auto* button = new QPushButton(text("Сменить"), parent);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(312, top, 73, 17);
    button->setAutoDefault(false);
    // Two buttons read "Сменить": the row they change tells them apart.
    button->setAccessibleDescription(row);
    return button;
}

// A folder: a fixed field that can be selected and read, not edited.
QLabel* folderText(const char* name, int top, const QString& row, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(8, top, 377, 17);
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    // In the window's tab order, so that the keyboard reaches the folder too.
    label->setFocusPolicy(Qt::StrongFocus);
    label->setAccessibleName(row);
    paintCream(label);
    return label;
}

}  // namespace

TForm8::TForm8(SettingsWindow& logic, QWidget* parent)
    : QWidget(parent, Qt::Window), m_logic(logic) {
    setObjectName(QStringLiteral("Form8"));
    setWindowTitle(text("Окно настроек"));
    setFont(windowFont(11));

    QLabel* label1 = caption("Модель станка", 8, 16, this);
    label1->setObjectName(QStringLiteral("Label1"));
    m_comboBox1 = new QComboBox(this);
    m_comboBox1->setObjectName(QStringLiteral("ComboBox1"));
    m_comboBox1->setEditable(false);
    m_comboBox1->setFont(boldSerif(13));
    paintCream(m_comboBox1);
    m_comboBox1->setToolTip(text("Модель станка"));
    m_comboBox1->setAccessibleName(label1->text());
    m_comboBox1->move(119, 10);
    m_comboBox1->resize(105, m_comboBox1->sizeHint().height());
    label1->setBuddy(m_comboBox1);

    QLabel* label2 = caption("Путь к программам намоти:", 8, 48, this);
    label2->setObjectName(QStringLiteral("Label2"));
    m_button1 = changeButton("Button1", 48, label2->text(), this);
    m_staticText1 = folderText("StaticText1", 72, label2->text(), this);

    QLabel* label3 = caption("Путь к программатору:", 8, 104, this);
    label3->setObjectName(QStringLiteral("Label3"));
    m_button2 = changeButton("Button2", 104, label3->text(), this);
    m_staticText2 = folderText("StaticText2", 128, label3->text(), this);

    setTabOrder(m_comboBox1, m_button1);
    setTabOrder(m_button1, m_staticText1);
    setTabOrder(m_staticText1, m_button2);
    setTabOrder(m_button2, m_staticText2);

    // Picking an entry is the operator's; the list changed from here announces nothing.
    connect(m_comboBox1, &QComboBox::activated, this, [this](int index) {
        runGuarded([this, index] { m_logic.ComboBox1Change(index); });
        showSettings();
    });
    connect(m_button1, &QPushButton::clicked, this, [this] {
        runGuarded([this] { m_logic.Button1Click(); });
        showSettings();
    });
    connect(m_button2, &QPushButton::clicked, this, [this] {
        runGuarded([this] { m_logic.Button2Click(); });
        showSettings();
    });

    showSettings();
    placeWindow(this, QRect(312, 259, 400, 200), Sizing::Fixed);
}

void TForm8::FormCreate() {
    runGuarded([this] { m_logic.FormCreate(); });
    showSettings();
}

void TForm8::showSettings() {
    const QSignalBlocker quiet(m_comboBox1);
    m_comboBox1->clear();
    for (const std::string& model : m_logic.models())
        m_comboBox1->addItem(QString::fromStdString(model));
    m_comboBox1->setCurrentIndex(m_logic.selectedModel());
    for (auto [label, folder] : {std::pair{m_staticText1, &m_logic.staticText1()},
                                 std::pair{m_staticText2, &m_logic.staticText2()}}) {
        label->setText(QString::fromStdString(*folder));
        // A long folder shows its beginning; the whole path is on the tooltip.
        label->setToolTip(label->text());
    }
}

void TForm8::showAndRaise() {
    show();
    raise();
    activateWindow();
}

}  // namespace tal
