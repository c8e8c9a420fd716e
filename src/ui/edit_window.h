#pragma once

#include <QWidget>

#include "editor/desktop.h"
#include "ui/binding/control_registry.h"

class QScrollArea;
class QToolButton;

namespace tal {

class EditWindowCommands;
class EnterAsTab;
class FocusTracker;
class FieldEdit;
class FieldRadioGroup;
class ProgramStore;
class RecordNavigator;
class Table;

// The edit window: the current program header and the current line, every control bound to a
// field of the header table or the line table. The window holds no rules; its events go to
// EditWindowCommands.
class TForm2 : public QWidget {
    Q_OBJECT
public:
    TForm2(ProgramStore& store, EditWindowCommands& commands, Desktop& desktop,
           QWidget* parent = nullptr);
    ~TForm2() override;

    // As SpeedButton10Click: shown if hidden, and brought to the front.
    void showAndRaise();

    const ControlRegistry& controls() const { return m_controls; }
    FieldEdit* edit(Control control) const;
    FieldRadioGroup* radioGroup(Control control) const;
    RecordNavigator* DBNavigator0() const { return m_navigator0; }
    RecordNavigator* DBNavigator1() const { return m_navigator1; }
    QToolButton* SpeedButton1() const { return m_addLine; }
    QScrollArea* ScrollBox0() const { return m_scrollBox0; }
    QScrollArea* ScrollBox1() const { return m_scrollBox1; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void addRowNumber(QWidget* bar, const char* labelName, const char* words, Table& table,
                      int field, Control control);
    QWidget* makeHeaderBar(ProgramStore& store, Desktop& desktop);
    QWidget* makeLineBar(ProgramStore& store, Desktop& desktop);
    QScrollArea* makePanel(const char* name, QRect rect);
    void fillPanel(QWidget* panel, int firstPlace, int endPlace, ProgramStore& store,
                   Desktop& desktop);

    EditWindowCommands& m_commands;
    FocusTracker* m_focusTracker = nullptr;
    EnterAsTab* m_enterAsTab = nullptr;
    ControlRegistry m_controls;
    RecordNavigator* m_navigator0 = nullptr;
    RecordNavigator* m_navigator1 = nullptr;
    QToolButton* m_addLine = nullptr;
    QScrollArea* m_scrollBox0 = nullptr;
    QScrollArea* m_scrollBox1 = nullptr;
};

}  // namespace tal
