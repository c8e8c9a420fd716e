#include "ui/editor.h"

#include <QToolButton>

#include "editor/desktop.h"
#include "store/file_system.h"
#include "store/image_file.h"
#include "store/table_files.h"
#include "ui/edit_window.h"
#include "ui/error_report.h"
#include "ui/main_window.h"
#include "ui/new_line_dialog.h"
#include "ui/new_program_dialog.h"
#include "ui/program_grid.h"
#include "ui/tool_bar.h"

namespace tal {

Editor::Editor(std::string executableFolder)
    : m_executableFolder(std::move(executableFolder)), m_bench(m_desktop) {
    m_form1 = std::make_unique<TForm1>(m_bench.store());
    m_desktop.attach(m_form1.get(), nullptr, nullptr, nullptr);
    runGuarded([this] { m_started = FormCreate(); });
    m_form2 = std::make_unique<TForm2>();
    m_form5 = std::make_unique<TForm5>(m_desktop);
    m_form6 = std::make_unique<TForm6>();
    m_desktop.attach(m_form1.get(), m_form2.get(), m_form5.get(), m_form6.get());

    wireToolbar();
    wireGrids();
    connect(m_form1.get(), &TForm1::formShown, this,
            [this] { runGuarded([this] { FormShow(); }); });
    connect(m_form1.get(), &TForm1::formClosing, this,
            [this] { runGuarded([this] { FormClose(); }); });

    if (!m_started)
        m_desktop.quitApplication();
}

Editor::~Editor() {
    m_desktop.attach(nullptr, nullptr, nullptr, nullptr);
}

void Editor::show() {
    m_form1->show();
}

// ---- start-up and shutdown ------------------------------------------------------------------

bool Editor::FormCreate() {
    EditorState& state = m_bench.state();
    state.settingsFilePath = m_executableFolder + "TAL.cfg";
    state.blankImagePath = m_executableFolder + "TAL.ini";
    m_bench.useTableFiles();
    m_bench.store().setBlankImageReader([this] {
        return readBlankImageFile(m_bench.state().blankImagePath, m_bench.state().currentImage) ==
               ImageReadStatus::Ok;
    });
    bool ok = true;
    for (const char* name : kTableFileNames) {
        if (!fileExists(name)) {
            ok = false;
            break;
        }
    }
    if (ok) {
        switch (readBlankImageFile(state.blankImagePath, state.currentImage)) {
            case ImageReadStatus::Ok:
                break;
            case ImageReadStatus::OpenFailed:
                m_desktop.showMessage("Ошибка открытия файла TAL.ini", "Инициализация",
                                      MessageIcon::Error, MessageButtons::Ok);
                ok = false;
                break;
            default:
                m_desktop.showMessage("Ошибка чтения файла TAL.ini", "Инициализация",
                                      MessageIcon::Error, MessageButtons::Ok);
                ok = false;
                break;
        }
    }
    if (!ok)
        m_desktop.showMessage("Ошибка загрузки приложения", "Загрузка приложения",
                              MessageIcon::Error, MessageButtons::Ok);
    return ok;
}

void Editor::FormShow() {
    m_bench.store().ClearTables();
    EditorState& state = m_bench.state();
    state.clipboard.clipboardKind = Clipboard::Empty;
    state.clipboardIndicator.clear();
    m_desktop.setClipboardIndicator(state.clipboardIndicator);
}

void Editor::FormClose() {
    m_form2->close();
    m_desktop.quitApplication();
}

// ---- wiring ---------------------------------------------------------------------------------

void Editor::wireToolbar() {
    ToolBar* toolbar = m_form1->Panel1();
    ProgramStore& store = m_bench.store();
    auto on = [this, toolbar](int number, std::function<void()> handler) {
        connect(toolbar->SpeedButton(number), &QToolButton::clicked, this,
                [handler = std::move(handler)] { runGuarded(handler); });
    };
    on(1, [this] {
        m_desktop.closeMainWindow();
        m_desktop.quitApplication();
    });
    on(3, [this] { SpeedButton3Click(); });
    on(60, [&store] { store.SpeedButton60Click(); });
    on(7, [&store] { store.SpeedButton7Click(); });
    on(8, [&store] { store.SpeedButton8Click(); });
    on(9, [&store] { store.SpeedButton9Click(); });
    on(10, [this] { m_desktop.showEditWindow(); });
    on(15, [this] { m_desktop.showSettingsWindow(); });
}

void Editor::wireGrids() {
    ProgramStore& store = m_bench.store();
    connect(m_form1->DBGrid0(), &ProgramGrid::exited, this, [this, &store] {
        runGuarded([this, &store] {
            gridExited(store.headers());
            store.DBGrid0Exit();
        });
    });
    connect(m_form1->DBGrid1(), &ProgramGrid::exited, this, [this, &store] {
        runGuarded([this, &store] {
            gridExited(store.lines());
            store.DBGrid1Exit();
        });
    });
    for (ProgramGrid* grid : {m_form1->DBGrid0(), m_form1->DBGrid1()})
        connect(grid, &ProgramGrid::gridDoubleClicked, this,
                [this] { runGuarded([this] { m_desktop.showEditWindow(); }); });
}

void Editor::SpeedButton3Click() {
    EditorState& state = m_bench.state();
    const auto path = m_desktop.chooseOpenFile(
        {"Двоичные файлы (*.bin)|*.bin;", "bin", state.programsFolder, state.openDialogName});
    if (!path)
        return;
    const char* failure = nullptr;
    switch (readImageFile(*path, state.currentImage)) {
        case ImageReadStatus::Ok:
            break;
        case ImageReadStatus::OpenFailed:
            failure = "Ошибка открытия файла";
            break;
        case ImageReadStatus::WrongSize:
            failure = "Ошибочный размер файла";
            break;
        case ImageReadStatus::ReadFailed:
            failure = "Ошибка чтения файла";
            break;
    }
    if (failure) {
        m_desktop.showMessage(failure, "Загрузка данных", MessageIcon::Error, MessageButtons::Ok);
        return;
    }
    m_bench.store().LoadImage(*path);
    state.workingFileName = *path;
    state.openDialogName = *path;
    m_desktop.setStatusFileName(*path);
}

// A new row of the grid's table into which nothing was entered does not outlive the grid's focus.
void Editor::gridExited(Table& table) {
    if (table.state() == TableState::Insert && !table.rowModified())
        table.cancel();
}

}  // namespace tal
