#include "ui/edit_window.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QScrollArea>
#include <QToolButton>

#include "store/edit_window_commands.h"
#include "store/editing_tables.h"
#include "store/field_catalogue.h"
#include "store/image_capacity.h"
#include "store/program_store.h"
#include "ui/binding/field_edit.h"
#include "ui/binding/field_label.h"
#include "ui/binding/field_radio_group.h"
#include "ui/binding/focus_tracker.h"
#include "ui/binding/record_navigator.h"
#include "ui/error_report.h"
#include "ui/look.h"
#include "ui/window_frame.h"

namespace tal {
namespace {

// How a control sits in its panel.
enum class PlaceKind {
    Radio,       // a radio group, its caption on its frame
    Edit,        // an edit right of its caption, inside a frame of its own
    FramedEdit,  // an edit under the caption of its frame
    EditPair,    // two edits, each right of its label, under the caption of their frame
};

struct Place {
    PlaceKind kind;
    Control control;
    Control second;     // the right edit of a pair
    const char* frame;  // the frame's name in the form
    QRect rect;         // in the panel
};

constexpr Place radio(Control control, QRect rect) {
    return {PlaceKind::Radio, control, control, "", rect};
}
constexpr Place edit(Control control, const char* frame, QRect rect) {
    return {PlaceKind::Edit, control, control, frame, rect};
}

// The header panel's controls, then the line panel's, each in focus order.
constexpr Place kPlaces[] = {
    radio(Control::DBRadioGroup01, {8, 0, 145, 37}),
    radio(Control::DBRadioGroup03, {152, 0, 233, 39}),
    edit(Control::DBEdit02, "GroupBox02", {8, 32, 281, 33}),
    edit(Control::DBEdit04, "GroupBox04", {8, 60, 257, 33}),
    edit(Control::DBEdit05, "GroupBox05", {8, 88, 281, 33}),
    {PlaceKind::FramedEdit, Control::DBEdit06, Control::DBEdit06, "GroupBox06", {8, 116, 393, 41}},
    // line panel
    {PlaceKind::EditPair, Control::DBEdit1, Control::DBEdit2, "GroupBox1", {8, 0, 249, 49}},
    radio(Control::DBRadioGroup3, {8, 44, 385, 37}),
    edit(Control::DBEdit4, "GroupBox4", {8, 80, 273, 33}),
    radio(Control::DBRadioGroup5, {8, 108, 177, 37}),
    edit(Control::DBEdit8, "GroupBox8", {184, 110, 201, 35}),
    {PlaceKind::EditPair, Control::DBEdit6, Control::DBEdit7, "GroupBox6", {8, 144, 337, 41}},
    radio(Control::DBRadioGroup9, {8, 180, 105, 36}),
    edit(Control::DBEdit10, "GroupBox10", {112, 180, 233, 36}),
    edit(Control::DBEdit11, "GroupBox11", {8, 212, 241, 33}),
    radio(Control::DBRadioGroup12, {8, 242, 241, 37}),
    radio(Control::DBRadioGroup13, {8, 276, 385, 37}),
    edit(Control::DBEdit14, "GroupBox14", {8, 308, 233, 33}),
    edit(Control::DBEdit15, "GroupBox15", {8, 338, 313, 33}),
    edit(Control::DBEdit16, "GroupBox16", {8, 368, 217, 33}),
    edit(Control::DBEdit17, "GroupBox17", {8, 396, 249, 33}),
    edit(Control::DBEdit18, "GroupBox18", {8, 420, 169, 36}),
    radio(Control::DBRadioGroup19, {8, 452, 353, 37}),
};
constexpr int kHeaderPlaces = 6;
constexpr int kPlaceCount = static_cast<int>(std::size(kPlaces));

constexpr int kLineBarTop = 184;
constexpr int kLinePanelTop = 208;

const RecordNavigator::Hints kHeaderHints = {
    "Первая программа",     "Предыдущая программа",       "Следующая программа",
    "Последняя программа",  "Вставить программу",         "Удалить программу",
    "Редактировать строку", "Сохранить изменения строки", "Отменить изменения строки",
    "Обновить данные"};
const RecordNavigator::Hints kLineHints = {"Первая строка",
                                           "Предыдущая строка",
                                           "Следующая строка",
                                           "Последняя строка",
                                           "Вставить строку",
                                           "Удалить строку",
                                           "Редактировать строку",
                                           "Сохранить изменение строки",
                                           "Отменить изменение строки",
                                           "Обновить данные"};

QString text(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

Table& tableOf(ProgramStore& store, const FieldEntry& entry) {
    return entry.table == FieldTable::Headers ? store.headers() : store.lines();
}

const FieldEntry& entryOf(Control control) {
    const FieldEntry* entry = findField(control);
    if (!entry)
        throw std::logic_error(std::string("no field for ") + controlName(control));
    return *entry;
}

QLabel* caption(std::string_view words, QWidget* parent) {
    auto* label = new QLabel(text(words), parent);
    label->setFont(windowFont(13));
    label->adjustSize();
    return label;
}

// "Добавить строку": a dotted frame around a dark bar.
QIcon addLineIcon() {
    QIcon icon;
    for (QIcon::Mode mode : {QIcon::Normal, QIcon::Disabled}) {
        QPixmap pixmap(16, 16);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        const QColor ink = mode == QIcon::Normal ? QColor(0, 0, 0) : QColor(160, 160, 160);
        p.setPen(QPen(ink, 1, Qt::DotLine));
        p.drawRect(1, 3, 13, 9);
        p.fillRect(QRect(3, 6, 10, 4), mode == QIcon::Normal ? QColor(0, 0, 128) : ink);
        p.end();
        icon.addPixmap(pixmap, mode);
    }
    return icon;
}

}  // namespace

TForm2::TForm2(ProgramStore& store, EditWindowCommands& commands, Desktop& desktop, QWidget* parent)
    : QWidget(parent, Qt::Window), m_commands(commands) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QString::fromUtf8("Окно редактирования"));
    setFont(windowFont(11));

    QWidget* headerBar = makeHeaderBar(store, desktop);
    headerBar->setGeometry(0, 0, 409, 25);
    m_scrollBox0 = makePanel("ScrollBox0", {0, 24, 409, 161});
    fillPanel(m_scrollBox0->widget(), 0, kHeaderPlaces, store, desktop);
    QWidget* lineBar = makeLineBar(store, desktop);
    lineBar->setGeometry(0, kLineBarTop, 409, 25);
    m_scrollBox1 = makePanel("ScrollBox1", {0, kLinePanelTop, 409, 496});
    fillPanel(m_scrollBox1->widget(), kHeaderPlaces, kPlaceCount, store, desktop);

    m_controls.add(Control::ScrollBox0, m_scrollBox0);
    m_controls.add(Control::ScrollBox1, m_scrollBox1);
    m_controls.add(Control::DBNavigator0, m_navigator0);
    m_controls.add(Control::DBNavigator1, m_navigator1);
    m_controls.add(Control::EditAddLine, m_addLine);

    m_focusTracker = new FocusTracker(this);
    m_focusTracker->onPanelLeft(m_scrollBox0, [this] { m_commands.ScrollBox0Exit(); });
    m_focusTracker->onPanelLeft(m_scrollBox1, [this] { m_commands.ScrollBox1Exit(); });
    m_enterAsTab = new EnterAsTab(this);

    placeWindow(this, QRect(302, -1, 432, 738), Sizing::FixedWidth);
}

// A bar's caption and, right of it, the number of the current row.
void TForm2::addRowNumber(QWidget* bar, const char* labelName, const char* words, Table& table,
                          int field, Control control) {
    QLabel* label = caption(words, bar);
    label->setObjectName(QString::fromLatin1(labelName));
    label->move(8, 5);
    auto* number = new FieldLabel(table, field, bar);
    number->setObjectName(QString::fromLatin1(controlName(control)));
    number->setFont(windowFont(13));
    number->setGeometry(label->geometry().right() + 8, 5, 40, label->height());
    m_controls.add(control, number);
}

QWidget* TForm2::makeHeaderBar(ProgramStore& store, Desktop& desktop) {
    auto* bar = new QWidget(this);
    bar->setObjectName(QStringLiteral("Panel0"));
    addRowNumber(bar, "ProgLabel", "Программа", store.headers(), hdr::ProgNum, Control::ProgDBText);
    m_navigator0 =
        new RecordNavigator(store.headers(), desktop, kHeaderHints,
                            {true, true, true, true, false, false, true, true, true, true}, bar);
    m_navigator0->setObjectName(QStringLiteral("DBNavigator0"));
    m_navigator0->setGeometry(128, 0, 272, 25);
    return bar;
}

QWidget* TForm2::makeLineBar(ProgramStore& store, Desktop& desktop) {
    auto* bar = new QWidget(this);
    bar->setObjectName(QStringLiteral("Panel1"));
    addRowNumber(bar, "StringLabel", "Строка", store.lines(), ln::StrNum, Control::StringDBText);

    m_addLine = new QToolButton(bar);
    m_addLine->setObjectName(QStringLiteral("SpeedButton1"));
    m_addLine->setGeometry(112, 0, 25, 25);
    m_addLine->setIcon(addLineIcon());
    m_addLine->setFocusPolicy(Qt::NoFocus);
    m_addLine->setToolTip(QString::fromUtf8("Добавить строку"));
    m_addLine->setAccessibleName(QString::fromUtf8("Добавить строку"));
    connect(m_addLine, &QToolButton::clicked, this,
            [this] { runGuarded([this] { m_commands.SpeedButton1Click(); }); });

    m_navigator1 =
        new RecordNavigator(store.lines(), desktop, kLineHints,
                            {true, true, true, true, true, true, true, true, true, true}, bar);
    m_navigator1->setObjectName(QStringLiteral("DBNavigator1"));
    m_navigator1->setGeometry(136, 0, 270, 25);
    return bar;
}

QScrollArea* TForm2::makePanel(const char* name, QRect rect) {
    auto* area = new QScrollArea(this);
    area->setObjectName(QString::fromLatin1(name));
    area->setFrameShape(QFrame::NoFrame);
    area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    area->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    area->setFocusPolicy(Qt::NoFocus);
    area->setGeometry(rect);
    auto* content = new QWidget;
    content->setFixedSize(rect.size());
    area->setWidget(content);
    return area;
}

void TForm2::fillPanel(QWidget* panel, int firstPlace, int endPlace, ProgramStore& store,
                       Desktop& desktop) {
    auto makeEdit = [&](Control control, QWidget* parent) {
        const FieldEntry& entry = entryOf(control);
        FieldEdit::Options options;
        options.maxLength = entry.edit.maxLength;
        options.significantDigits = entry.grid.significantDigits;
        options.windows1251Only = entry.type == FieldType::String;
        options.range = imageRange(entry);
        auto* edit = new FieldEdit(tableOf(store, entry), entry.index, options, desktop, parent);
        edit->setObjectName(QString::fromLatin1(controlName(control)));
        const int characters = std::min(entry.edit.maxLength, 40);
        edit->resize(edit->fontMetrics().horizontalAdvance(QLatin1Char('0')) * characters + 14, 21);
        m_controls.add(control, edit);
        return edit;
    };
    for (int i = firstPlace; i < endPlace; ++i) {
        const Place& place = kPlaces[i];
        const FieldEntry& entry = entryOf(place.control);
        if (place.kind == PlaceKind::Radio) {
            std::vector<FieldRadioGroup::Item> items;
            for (int k = 0; k < entry.slot.choice->count; ++k) {
                const std::string_view shown = entry.edit.choiceCaptions[k].empty()
                                                   ? entry.slot.choice->texts[k]
                                                   : entry.edit.choiceCaptions[k];
                items.push_back({text(shown), std::string(entry.slot.choice->texts[k])});
            }
            auto* group =
                new FieldRadioGroup(tableOf(store, entry), entry.index, text(entry.edit.caption),
                                    std::move(items), entry.edit.columns, panel);
            group->setObjectName(QString::fromLatin1(controlName(place.control)));
            group->setAccessibleName(text(entry.edit.caption));
            group->setGeometry(place.rect);
            m_controls.add(place.control, group);
            continue;
        }
        auto* frame = new QGroupBox(panel);
        frame->setObjectName(QString::fromLatin1(place.frame));
        frame->setGeometry(place.rect);
        const int h = place.rect.height();
        if (place.kind == PlaceKind::Edit) {
            QLabel* label = caption(entry.edit.caption, frame);
            FieldEdit* edit = makeEdit(place.control, frame);
            label->move(8, (h - label->height()) / 2 + 2);
            edit->move(place.rect.width() - edit->width() - 8, (h - edit->height()) / 2 + 2);
            edit->setAccessibleName(text(entry.edit.caption));
            label->setBuddy(edit);
            continue;
        }
        frame->setTitle(text(entry.edit.caption));
        frame->setFont(windowFont(13));
        if (place.kind == PlaceKind::FramedEdit) {
            FieldEdit* edit = makeEdit(place.control, frame);
            edit->setFont(windowFont(11));
            edit->setGeometry(8, h - 21 - 4, place.rect.width() - 16, 21);
            edit->setAccessibleName(text(entry.edit.caption));
            continue;
        }
        int x = 8;
        for (Control control : {place.control, place.second}) {
            QLabel* label = caption(entryOf(control).edit.label, frame);
            FieldEdit* edit = makeEdit(control, frame);
            edit->setFont(windowFont(11));
            label->move(x, h - 21 - 4 + (21 - label->height()) / 2);
            x += label->width() + 4;
            edit->move(x, h - 21 - 4);
            x += edit->width() + 12;
            edit->setAccessibleName(text(entryOf(control).edit.label));
            label->setBuddy(edit);
        }
    }
}

TForm2::~TForm2() {
    // The focus moving off controls that are going away is no leaving of them.
    delete m_focusTracker;
    delete m_enterAsTab;
}

FieldEdit* TForm2::edit(Control control) const {
    return qobject_cast<FieldEdit*>(m_controls.find(control));
}

FieldRadioGroup* TForm2::radioGroup(Control control) const {
    return qobject_cast<FieldRadioGroup*>(m_controls.find(control));
}

void TForm2::showAndRaise() {
    show();
    raise();
    activateWindow();
}

void TForm2::closeEvent(QCloseEvent* event) {
    bool mayClose = false;
    runGuarded([&] { mayClose = m_commands.FormClose(); });
    event->setAccepted(mayClose);
}

void TForm2::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // The line panel takes the height the window is given.
    if (m_scrollBox1)
        m_scrollBox1->resize(m_scrollBox1->width(), std::max(0, height() - kLinePanelTop));
}

}  // namespace tal
