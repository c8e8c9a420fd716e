#pragma once

#include <QPointer>
#include <QWidget>
#include <map>

#include "editor/desktop.h"

namespace tal {

// The controls one window holds, by the key the logic addresses them with. The desktop asks
// each window's registry in turn; a control no window registered reaches nothing.
class ControlRegistry {
public:
    void add(Control control, QWidget* widget) { m_widgets[control] = widget; }
    QWidget* find(Control control) const {
        auto it = m_widgets.find(control);
        return it == m_widgets.end() ? nullptr : it->second.data();
    }

private:
    std::map<Control, QPointer<QWidget>> m_widgets;
};

}  // namespace tal
