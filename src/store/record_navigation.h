#pragma once

#include <array>

namespace tal {

class Desktop;
class Table;

// The ten buttons of a record navigator, in their fixed order.
enum class NavigatorButton {
    First,
    Prior,
    Next,
    Last,
    Insert,
    Delete,
    Edit,
    Post,
    Cancel,
    Refresh
};
inline constexpr int kNavigatorButtonCount = 10;

// Which buttons a navigator offers for the table as it stands: no moving before the first row
// or past the last, no delete in an empty table, Edit only without a pending change, Post and
// Cancel only with one.
std::array<bool, kNavigatorButtonCount> navigatorEnabling(const Table& table);

// What a navigator button does to its table. Delete asks first and deletes only on OK.
void navigatorAction(Table& table, NavigatorButton button, Desktop& desktop);

// The framework's confirmation before a navigator deletes a row.
inline constexpr const char* kDeleteRecordQuestion = "Delete record?";
inline constexpr const char* kDeleteRecordCaption = "Confirm";

}  // namespace tal
