#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "store/table.h"

namespace tal {

class Desktop;
class ProgramStore;
struct EditorState;

// Keeps unsaved work safe from a crash or a power cut. While `modified` is true a recovery copy
// of the programs (image, remarks, working file name) is kept in one file; it goes when the
// work is saved, cleared, or discarded on a clean exit. At start-up a copy left behind by an
// editor that did not end cleanly is offered back.
class Recovery {
public:
    Recovery(EditorState& state, ProgramStore& store, Desktop& desktop);
    Recovery(const Recovery&) = delete;
    Recovery& operator=(const Recovery&) = delete;

    // "taleditor-recovery.bin" in $XDG_STATE_HOME, or in the current directory without it.
    static std::string defaultPath();
    const std::string& path() const { return m_path; }
    void setPath(std::string path) { m_path = std::move(path); }
    // Seconds since 1970-01-01 UTC; the system clock unless a test sets another.
    void setClock(std::function<std::int64_t()> clock) { m_clock = std::move(clock); }

    // After the tables were emptied at start-up: asks whether to load a copy that is there;
    // Yes loads it as unsaved work of its working file, No removes it. A damaged copy is
    // reported and set aside as path() + ".damaged". From now on the copy is kept.
    void FormShow();
    // Run at least once a second: writes the copy when the work changed since it was written,
    // removes it when nothing is unsaved. False when the copy could not be written.
    bool refresh();
    // The editor ends cleanly: the work was saved or its owner chose not to; the copy goes.
    void FormClose();

private:
    void offer();
    bool write();
    void remove();

    EditorState& m_state;
    ProgramStore& m_store;
    Desktop& m_desktop;
    std::string m_path;
    std::function<std::int64_t()> m_clock;
    bool m_keeping = false;  // from the offer at start-up to the clean exit
    bool m_written = false;  // the file holds a copy of this editor's work
    bool m_changed = false;  // the rows changed since the copy was written
    Table::Subscription m_headerChanges;
    Table::Subscription m_lineChanges;
};

}  // namespace tal
