// Loading: the programs of currentImage and its remarks file become the rows of the two tables.
//
// Storing writes every row at the slot its CurStr names and every program into the directory
// entry of its number. So that a save never drops or merges what was loaded, the loader reads
// only slots that carry their own number, are in use and belong to no other program, and gives
// every program a number of its own; what it cannot read that way it names in one message.

#include <array>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "editor/desktop.h"
#include "editor/editor_state.h"
#include "store/change_extension.h"
#include "store/editing_tables.h"
#include "store/field_catalogue.h"
#include "store/file_system.h"
#include "store/memory_image.h"
#include "store/program_store.h"
#include "store/remarks_file.h"
#include "store/slot_codec.h"

namespace tal {
namespace {

class SlotOwners {
public:
    explicit SlotOwners(const Image& image) : m_image(image), m_owner(kSlotCount + 1, -1) {}

    // A slot the loaded rows may name: a save writes it back where it was read, and the
    // allocation never hands it out while the rows hold it.
    bool readable(std::uint16_t slot) const {
        return slot >= 1 && slot <= kSlotCount && carriesOwnNumber(m_image, slot) &&
               nextStrOf(m_image, slot) != 0 && m_owner[slot] < 0;
    }
    void claim(std::uint16_t slot, int entry) { m_owner[slot] = entry; }

private:
    const Image& m_image;
    std::vector<int> m_owner;  // the directory entry whose program read the slot
};

// Program numbers for the loaded programs: the number the entry holds, unless an earlier entry
// took it; then the entry's own number or the lowest one that no entry in use holds.
class ProgramNumbers {
public:
    explicit ProgramNumbers(const Image& image) {
        for (int p = 0; p < kProgramCount; ++p)
            if (headerSlotOf(image, p) != 0)
                m_held[image[directoryOffset(p) + 3]] = true;
    }
    // -1 when no number is left (never: fewer numbers are held than entries repeat them).
    int give(int held, int entry) {
        int number = held;
        if (m_given[number])
            number = free(entry) ? entry : lowestFree();
        if (number >= 0)
            m_given[number] = true;
        return number;
    }

private:
    bool free(int n) const { return !m_held[n] && !m_given[n]; }
    int lowestFree() const {
        for (int n = 0; n < kProgramCount; ++n)
            if (free(n))
                return n;
        return -1;
    }
    std::array<bool, kProgramCount> m_held{};
    std::array<bool, kProgramCount> m_given{};
};

}  // namespace

LoadReport ProgramStore::LoadImage(const std::string& workingFileName, const char* caption) {
    ReadResult remarksFile = readFile(ChangeExtension(workingFileName, "txt"), kRemarksReadLimit);
    if (remarksFile.status == ReadStatus::OpenFailed)
        return loadImageWithRemarks(std::nullopt, caption);
    return loadImageWithRemarks(std::move(remarksFile.bytes), caption);
}

LoadReport ProgramStore::loadImageWithRemarks(const std::optional<std::string>& remarksFile,
                                              const char* caption) {
    LoadReport report;
    const Image& image = m_state.currentImage;
    report.findings = checkImageInvariants(image);
    report.unmarked = true;
    for (int slot = 1; slot <= kSlotCount && report.unmarked; ++slot)
        report.unmarked = !carriesOwnNumber(image, slot);

    const bool haveRemarks = remarksFile.has_value();
    RemarksReader remarks(remarksFile.value_or(std::string()));

    // The rows are made here and handed to the tables at once: no check, handler or event runs
    // for each of them.
    std::vector<std::vector<Value>> headerRows, lineRows;
    headerRows.reserve(kProgramCount);
    lineRows.reserve(kSlotCount);

    // The header slots first, so that a chain running into another program's header ends
    // there instead of taking that program's lines for its own.
    SlotOwners slots(image);
    std::array<bool, kProgramCount> headerRead{};
    for (int p = 0; p < kProgramCount; ++p) {
        const std::uint16_t h = headerSlotOf(image, p);
        if (h != 0 && slots.readable(h)) {
            slots.claim(h, p);
            headerRead[p] = true;
        }
    }

    ProgramNumbers numbers(image);
    for (int p = 0; p < kProgramCount; ++p) {
        const std::uint16_t h = headerSlotOf(image, p);
        if (h == 0)
            continue;
        // Every entry in use has its record in the remarks file, loaded or not.
        const std::string remark = haveRemarks ? remarks.next() : std::string();
        const int held = image[directoryOffset(p) + 3];
        const int number = headerRead[p] ? numbers.give(held, p) : -1;
        if (number < 0) {
            report.skippedPrograms.push_back(held);
            continue;
        }
        if (number != held)
            report.renumberedPrograms.emplace_back(held, number);
        std::vector<Value>& header = headerRows.emplace_back(fieldsOf(FieldTable::Headers).size());
        readHeaderSlot(image, h, header);
        header[hdr::ProgNum] = Value::integer(number);
        header[hdr::CurStr] = Value::integer(h);
        if (haveRemarks)
            header[hdr::Remark] = Value::text(remark);

        // The chain ends at the slot that names itself.
        std::uint16_t c = h;
        std::uint16_t x = nextStrOf(image, h);
        int lineNumber = 1;
        while (x != c) {
            if (!slots.readable(x)) {
                // The rows then describe what was kept: a save writes a chain that ends where
                // the reading did, instead of a link into a slot that may later go to another
                // program.
                report.damagedPrograms.push_back(number);
                (lineNumber > 1 ? lineRows.back()[ln::NextStr] : header[hdr::NextStr]) =
                    Value::integer(c);
                header[hdr::ProgSize] = Value::integer(lineNumber);
                break;
            }
            slots.claim(x, p);
            std::vector<Value>& line = lineRows.emplace_back(fieldsOf(FieldTable::Lines).size());
            readLineSlot(image, x, line);
            line[ln::ProgNum] = Value::integer(number);
            line[ln::StrNum] = Value::integer(lineNumber++);
            c = x;
            x = nextStrOf(image, x);
        }
    }
    ClearTables();
    m_state.bookkeepingEnabled = false;
    m_headers->replaceRows(std::move(headerRows));
    m_lines->replaceRows(std::move(lineRows));
    m_headers->first();
    m_lines->first();

    m_state.bookkeepingEnabled = true;
    m_state.modified = false;
    m_desktop.focusGrid(Grid::Headers);
    m_desktop.setEnabled(Control::SpeedButton4, true);
    m_desktop.setEnabled(Control::SpeedButton60, true);
    updateEnabling();
    if (m_tablesReplaced)
        m_tablesReplaced();
    if (!report.clean())
        m_desktop.showMessage(loadReportMessage(report), caption, MessageIcon::Error,
                              MessageButtons::Ok);
    return report;
}

}  // namespace tal
