#pragma once

#include <QWidget>
#include <map>
#include <string>

#include "editor/desktop.h"

namespace tal {

// The edit window. For now an empty window under its caption: it is shown, brought to the
// front, and keeps the enabling and the hints the logic gives its controls, so the bound
// controls can take them over.
class TForm2 : public QWidget {
    Q_OBJECT
public:
    explicit TForm2(QWidget* parent = nullptr);

    // As SpeedButton10Click: shown if hidden, and brought to the front.
    void showAndRaise();

    void setControlEnabled(Control control, bool enabled) { m_enabled[control] = enabled; }
    bool controlEnabled(Control control) const;
    void setHint(const std::string& control, const std::string& hint) { m_hints[control] = hint; }
    std::string hint(const std::string& control) const;

private:
    std::map<Control, bool> m_enabled;
    std::map<std::string, std::string> m_hints;
};

}  // namespace tal
