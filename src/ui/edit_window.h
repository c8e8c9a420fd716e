#pragma once

#include <QWidget>
#include <map>
#include <string>

#include "editor/desktop.h"
#include "ui/binding/control_registry.h"

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

    const ControlRegistry& controls() const { return m_controls; }

private:
    ControlRegistry m_controls;
};

}  // namespace tal
