#include "store/record_navigation.h"

#include "editor/desktop.h"
#include "store/table.h"

namespace tal {

std::array<bool, kNavigatorButtonCount> navigatorEnabling(const Table& table) {
    std::array<bool, kNavigatorButtonCount> on{};
    if (!table.isOpen())
        return on;
    const bool pending = table.state() == TableState::Edit || table.state() == TableState::Insert;
    const int count = table.recordCount();
    // A new row stands between the others: moving either way saves it.
    const bool inserting = table.state() == TableState::Insert;
    const bool canGoBack = inserting || (count > 0 && table.recNo() > 0);
    const bool canGoOn = inserting || (count > 0 && table.recNo() < count - 1);
    auto set = [&](NavigatorButton button, bool enabled) {
        on[static_cast<int>(button)] = enabled;
    };
    set(NavigatorButton::First, canGoBack);
    set(NavigatorButton::Prior, canGoBack);
    set(NavigatorButton::Next, canGoOn);
    set(NavigatorButton::Last, canGoOn);
    set(NavigatorButton::Insert, true);
    set(NavigatorButton::Delete, count > 0 || inserting);
    set(NavigatorButton::Edit, !pending && count > 0);
    set(NavigatorButton::Post, pending);
    set(NavigatorButton::Cancel, pending);
    set(NavigatorButton::Refresh, true);
    return on;
}

void navigatorAction(Table& table, NavigatorButton button, Desktop& desktop) {
    switch (button) {
        case NavigatorButton::First:
            table.first();
            return;
        case NavigatorButton::Prior:
            table.prior();
            return;
        case NavigatorButton::Next:
            table.next();
            return;
        case NavigatorButton::Last:
            table.last();
            return;
        case NavigatorButton::Insert:
            table.insert();
            return;
        case NavigatorButton::Delete:
            if (desktop.showMessage(kDeleteRecordQuestion, kDeleteRecordCaption, MessageIcon::None,
                                    MessageButtons::OkCancel) == MessageAnswer::Ok)
                table.remove();
            return;
        case NavigatorButton::Edit:
            table.edit();
            return;
        case NavigatorButton::Post:
            table.post();
            return;
        case NavigatorButton::Cancel:
            table.cancel();
            return;
        case NavigatorButton::Refresh:
            table.refresh();
            return;
    }
}

}  // namespace tal
