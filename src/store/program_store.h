#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "editor/image.h"
#include "store/load_report.h"
#include "store/table.h"

namespace tal {

class Desktop;
struct EditorState;

// Storing could not write the remarks file, or a remark cannot be written in Windows-1251.
class StoreError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Owns the header table Table0 and the line table Table1 and keeps them and `currentImage`
// consistent: loading, storing, and the slot bookkeeping on every insert and delete.
class ProgramStore {
public:
    ProgramStore(EditorState& state, Desktop& desktop);
    ProgramStore(const ProgramStore&) = delete;
    ProgramStore& operator=(const ProgramStore&) = delete;

    Table& headers() { return *m_headers; }  // Table0
    Table& lines() { return *m_lines; }      // Table1
    EditorState& state() { return m_state; }
    Desktop& desktop() { return m_desktop; }

    // ReadBlankImage of start-up; storing starts from a fresh blank image through it.
    void setBlankImageReader(std::function<bool()> reader) { m_readBlankImage = std::move(reader); }

    // Runs at the end of every ClearTables and LoadImage: the tables hold another set of programs.
    void setTablesReplaced(std::function<void()> handler) { m_tablesReplaced = std::move(handler); }

    void ClearTables();
    // A damaged image is loaded as far as it can be kept and reported in one message box under
    // `caption`: the load's or the import's.
    LoadReport LoadImage(const std::string& workingFileName,
                         const char* caption = "Загрузка данных");
    // LoadImage with the bytes of a remarks file at hand (nothing: no remarks file).
    LoadReport loadImageWithRemarks(const std::optional<std::string>& remarksFile,
                                    const char* caption);
    // False, with currentImage not rebuilt, when the blank image cannot be read.
    // Throws StoreError when the remarks file cannot be written.
    bool StoreImage(const std::string& targetFileName);
    // The remarks file of the rows, in table order; throws StoreError when a remark has a
    // character that Windows-1251 cannot hold.
    std::string remarksFileBytes() const;
    // StoreImage without the remarks file: currentImage from a fresh blank image and the rows,
    // nothing written. False, with currentImage not rebuilt, when the blank image cannot be read.
    bool rebuildImage();
    // `base` with every posted row written at its place, the cursors and currentImage untouched:
    // what storing onto `base` would give.
    Image imageOfRows(Image base) const;
    // The remarks of the posted header rows, in their order.
    std::vector<std::string> remarks() const;

    // Allocation searches over currentImage. Only sound entries and slots are handed out: a
    // program number whose entry holds it and no row has, a slot that carries its own number.
    std::uint16_t FindFreeProgramNumber() const;
    std::uint16_t FindFreeSlot() const;

    // Table events.
    void Table0AfterInsert();
    void Table1BeforeInsert();
    void Table1AfterInsert();
    void Table0BeforeDelete();
    void Table0AfterDelete();
    void Table1BeforeDelete();
    void Table1AfterDelete();
    void Table1AfterScroll();

    void updateEnabling();  // UpdateEnabling with the current row counts

private:
    // DataSource0DataChange and DataSource1DataChange.
    void dataChanged(const TableChange& change);
    // A damaged image may hold a program in another entry than its number's, so the rows count
    // as well as the directory.
    bool programNumberInUse(int number) const;
    // Links the current program's lines in table order; returns the first line's slot (the
    // header's own when there are none).
    std::int64_t relinkLines(bool renumber);
    void pasteProgramLines();

    EditorState& m_state;
    Desktop& m_desktop;
    std::unique_ptr<Table> m_headers;
    std::unique_ptr<Table> m_lines;
    std::function<bool()> m_readBlankImage;
    std::function<void()> m_tablesReplaced;
    bool m_pastingProgram = false;  // lines are being inserted by a program paste
    std::vector<std::int64_t> m_slotBuffer;
    Table::Subscription m_headerChanges;
    Table::Subscription m_lineChanges;
};

}  // namespace tal
