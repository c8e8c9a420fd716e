#pragma once

#include <QWidget>
#include <array>

#include "store/record_navigation.h"
#include "store/table.h"

class QToolButton;

namespace tal {

class Desktop;

// A row of buttons that move through a table and edit its rows: First, Prior, Next, Last,
// Insert, Delete, Edit, Post, Cancel, Refresh, each with its hint. The buttons follow the
// table; none takes the keyboard focus.
class RecordNavigator : public QWidget {
    Q_OBJECT
public:
    using Hints = std::array<const char*, kNavigatorButtonCount>;

    // `shown` lists the buttons this navigator offers; the others are hidden.
    RecordNavigator(Table& table, Desktop& desktop, const Hints& hints,
                    std::array<bool, kNavigatorButtonCount> shown, QWidget* parent = nullptr);

    QToolButton* button(NavigatorButton which) const { return m_buttons[static_cast<int>(which)]; }
    void refresh();

private:
    Table& m_table;
    std::array<QToolButton*, kNavigatorButtonCount> m_buttons{};
    Table::Subscription m_changes;
};

}  // namespace tal
