#include "ui/editor.h"

#include <QToolButton>

#include "editor/desktop.h"
#include "ui/edit_window.h"
#include "ui/error_report.h"
#include "ui/find_dialogs.h"
#include "ui/history_keys.h"
#include "ui/main_window.h"
#include "ui/new_line_dialog.h"
#include "ui/new_program_dialog.h"
#include "ui/program_grid.h"
#include "ui/programmer_window.h"
#include "ui/settings_window.h"
#include "ui/tool_bar.h"

namespace tal {

Editor::Editor(std::string executableFolder)
    : m_executableFolder(std::move(executableFolder)), m_bench(m_desktop) {
    m_form1 = std::make_unique<TForm1>(m_bench.store());
    m_desktop.attach(m_form1.get(), nullptr, nullptr, nullptr);
    runGuarded([this] { m_started = FormCreate(); });
    m_form2 = std::make_unique<TForm2>(m_bench.store(), m_bench.editWindow(), m_desktop);
    m_desktop.attach(m_form1.get(), m_form2.get(), nullptr, nullptr);
    // The edit window takes the hints of the machine model the settings named.
    if (m_started) {
        runGuarded([this] {
            m_bench.ApplyLimitHints();
            m_bench.warnUnknownModel();
        });
    }
    runGuarded([this] { m_bench.editWindow().FormCreate(); });
    m_form3 = std::make_unique<TForm3>(m_desktop);
    m_form4 = std::make_unique<TForm4>(m_desktop);
    m_desktop.attachFindDialogs(m_form3.get(), m_form4.get());
    m_form5 = std::make_unique<TForm5>(m_desktop);
    m_form6 = std::make_unique<TForm6>();
    m_desktop.attach(m_form1.get(), m_form2.get(), m_form5.get(), m_form6.get());
    m_programmer = std::make_unique<ProgrammerWindow>();
    m_desktop.attachProgrammerWindow(m_programmer.get());
    m_form8 = std::make_unique<TForm8>(m_bench.settingsWindow());
    if (m_started)
        m_form8->FormCreate();
    m_desktop.attachSettingsWindow(m_form8.get());
    m_printer.setWindow(m_form1.get());

    wireToolbar();
    wireGrids();
    m_historyKeys = std::make_unique<HistoryKeys>(m_bench.history(), m_bench.recovery(),
                                                  QList<QWidget*>{m_form1.get(), m_form2.get()});
    connect(m_form1.get(), &TForm1::formShown, this,
            [this] { runGuarded([this] { FormShow(); }); });
    connect(m_form1.get(), &TForm1::formClosing, this, &Editor::FormClose);
    if (!m_started)
        m_desktop.quitApplication();
}

Editor::~Editor() {
    m_historyKeys.reset();
    m_desktop.attach(nullptr, nullptr, nullptr, nullptr);
    m_desktop.attachProgrammerWindow(nullptr);
    m_programmer.reset();
    m_desktop.attachFindDialogs(nullptr, nullptr);
    m_desktop.attachSettingsWindow(nullptr);
    // The windows go first: text typed into them is not assigned while the tables close.
    m_form8.reset();
    m_form4.reset();
    m_form3.reset();
    m_form6.reset();
    m_form5.reset();
    m_form2.reset();
    m_form1.reset();
    try {
        m_bench.startup().FormDestroy();
    } catch (const std::exception&) {
        // Closing the tables of an editor that is going away has nobody left to tell.
    }
}

void Editor::show() {
    m_form1->show();
}

// ---- start-up and shutdown ------------------------------------------------------------------

bool Editor::FormCreate() {
    m_bench.useTableFiles();
    return m_bench.startup().FormCreate(m_executableFolder);
}

void Editor::FormShow() {
    m_bench.startup().FormShow();
    m_bench.recovery().FormShow();
}

// The window closes whatever the answer; closing it ends the application.
void Editor::FormClose() {
    runGuarded([this] { m_bench.workingFiles().FormClose(); });
    runGuarded([this] { m_bench.recovery().FormClose(); });
    m_form2->close();
    m_programmer->close();
    m_desktop.quitApplication();
}

// ---- wiring ---------------------------------------------------------------------------------

void Editor::wireToolbar() {
    ToolBar* toolbar = m_form1->Panel1();
    GridCommands& grid = m_bench.gridCommands();
    auto on = [this, toolbar](int number, std::function<void()> handler) {
        connect(toolbar->SpeedButton(number), &QToolButton::clicked, this,
                [handler = std::move(handler)] { runGuarded(handler); });
    };
    WorkingFiles& files = m_bench.workingFiles();
    on(1, [&files] { files.SpeedButton1Click(); });
    on(2, [&files] { files.SpeedButton2Click(); });
    on(3, [&files] { files.SpeedButton3Click(); });
    on(4, [&files] { files.SpeedButton4Click(); });
    on(5, [&files] { files.SpeedButton5Click(); });
    on(6, [&grid] { grid.SpeedButton6Click(); });
    on(60, [&grid] { grid.SpeedButton60Click(); });
    on(7, [&grid] { grid.SpeedButton7Click(); });
    on(8, [&grid] { grid.SpeedButton8Click(); });
    on(9, [&grid] { grid.SpeedButton9Click(); });
    on(10, [this] { m_desktop.showEditWindow(); });
    DeviceTransfer& device = m_bench.deviceTransfer();
    on(11, [&device] { device.SpeedButton11Click(); });
    on(12, [&device] { device.SpeedButton12Click(); });
    on(13, [this] { m_print.SpeedButton13Click(); });
    on(15, [this] { m_desktop.showSettingsWindow(); });
}

void Editor::wireGrids() {
    ProgramStore& store = m_bench.store();
    GridCommands& grid = m_bench.gridCommands();
    connect(m_form1->DBGrid0(), &ProgramGrid::exited, this, [this, &store, &grid] {
        runGuarded([this, &store, &grid] {
            gridExited(store.headers());
            grid.DBGrid0Exit();
        });
    });
    connect(m_form1->DBGrid1(), &ProgramGrid::exited, this, [this, &store, &grid] {
        runGuarded([this, &store, &grid] {
            gridExited(store.lines());
            grid.DBGrid1Exit();
        });
    });
    for (ProgramGrid* grid : {m_form1->DBGrid0(), m_form1->DBGrid1()})
        connect(grid, &ProgramGrid::gridDoubleClicked, this,
                [this] { runGuarded([this] { m_desktop.showEditWindow(); }); });
}

// A new row of the grid's table into which nothing was entered does not outlive the grid's focus.
void Editor::gridExited(Table& table) {
    if (table.state() == TableState::Insert && !table.rowModified())
        table.cancel();
}

}  // namespace tal
