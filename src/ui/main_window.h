#pragma once

#include <QWidget>

#include "editor/desktop.h"
#include "ui/binding/control_registry.h"

class QGroupBox;
class QLabel;
class QStatusBar;

namespace tal {

class ProgramGrid;
class ProgramStore;
class TableModel;
class ToolBar;

// The main window: toolbar with the clipboard indicator, the header grid DBGrid0, the line
// grid DBGrid1 and the status bar naming the working file.
class TForm1 : public QWidget {
    Q_OBJECT
public:
    explicit TForm1(ProgramStore& store, QWidget* parent = nullptr);

    ToolBar* Panel1() const { return m_panel1; }
    ProgramGrid* DBGrid0() const { return m_grid0; }
    ProgramGrid* DBGrid1() const { return m_grid1; }
    QGroupBox* GroupBox0() const { return m_groupBox0; }
    QGroupBox* GroupBox1() const { return m_groupBox1; }
    QStatusBar* StatusBar1() const { return m_statusBar; }
    // Status bar panel 0 ("Рабочий файл:") and panel 1 (the working file name).
    QLabel* statusPanel(int index) const;

    // The grid holding this window's keyboard focus, also while a dialog is in front.
    Grid focusedGrid() const;
    void focusGrid(Grid grid);
    ProgramGrid* grid(Grid grid) const;
    const ControlRegistry& controls() const { return m_controls; }

signals:
    void formShown();    // FormShow: the window is shown for the first time
    void formClosing();  // FormClose: the window is about to close

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    ToolBar* m_panel1;
    QGroupBox* m_groupBox0;
    QGroupBox* m_groupBox1;
    ProgramGrid* m_grid0;
    ProgramGrid* m_grid1;
    QStatusBar* m_statusBar;
    QLabel* m_status0;
    QLabel* m_status1;
    ControlRegistry m_controls;
    bool m_shown = false;
};

}  // namespace tal
