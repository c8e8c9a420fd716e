#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "device/device_transfer.h"
#include "device_support.h"
#include "store/editing_tables.h"
#include "store/field_catalogue.h"
#include "support/file_bytes.h"
#include "support/limits_data.h"
#include "support/process.h"
#include "support/program_sets.h"
#include "support/tal_tool.h"
#include "support/workbench_fixture.h"

namespace tal::test {

namespace fs = std::filesystem;

inline RecordedMessage error(const std::string& text, const std::string& caption) {
    return {text, caption, MessageIcon::Error, MessageButtons::Ok};
}

// The HEX file the programmer tool was told to read the EEPROM into.
inline std::string readTarget(const ProgramLaunch& launch) {
    EXPECT_EQ(launch.arguments.size(), 2u);
    return launch.arguments.at(1).substr(3);
}

// Limits of ТАЛ-1 every value of the fixture's programs is within.
inline std::vector<LimitsRecord> wideLimits() {
    std::vector<LimitsRecord> records;
    for (const FieldEntry* field : checkedFields())
        records.push_back(limitsRecord("ТАЛ-1", std::string(field->name), 0, 65535,
                                       "Пределы " + std::string(field->name)));
    return records;
}

class DeviceTransferTest : public WorkbenchTest {
protected:
    DeviceTransferTest() {
        fs::create_directories(m_work);
        fs::create_directories(m_programmer);
        fs::copy_file(PK2CMD_SIM_PATH, m_programmer + "/PK2CMD.exe");
        // As the settings hold them: full paths ending with a backslash.
        state.programmerFolder = m_programmer + "\\";
        state.dialogFolder = m_work + "\\";
        EXPECT_TRUE(buildWorkingFile(kProgramsA, pathA));
        EXPECT_TRUE(buildWorkingFile(kProgramsB, pathB));
        state.machineModel = "ТАЛ-1";
        useLimits(wideLimits());
        runTheTool();
    }

    // The limits table of the export's check.
    void useLimits(const std::vector<LimitsRecord>& records) {
        bench.limits().Close();
        writeLimits(m_talc, records);
        bench.limits().setPath(m_talc);
    }

    std::string work(const std::string& name) const { return m_work + "/" + name; }
    std::string eeprom() const { return m_programmer + "/pk2cmd-sim-eeprom.bin"; }

    void open(const std::string& path) {
        desktop.openFileAnswers.push_back(path);
        ASSERT_TRUE(bench.workingFiles().OpenWorkingFile());
        desktop.messages.clear();
        desktop.launches.clear();
    }
    void editCurrentProgram(int value) {
        Table& headers = bench.store().headers();
        headers.setInteger(hdr::Param04, value);
        headers.post();
        ASSERT_TRUE(state.modified);
    }
    // Starting the programmer runs the stand-in for real, in its folder, and waits for it.
    void runTheTool(std::vector<std::pair<std::string, std::string>> environment = {}) {
        desktop.programRunner = [environment](const ProgramLaunch& launch) {
            std::vector<std::string> arguments{launch.program};
            arguments.insert(arguments.end(), launch.arguments.begin(), launch.arguments.end());
            const int exitCode = runProcess(arguments, environment, launch.workingFolder).exitCode;
            return exitCode != 126 && exitCode != 127;  // started; its result is not looked at
        };
    }
    // Starting the programmer writes `text` as the HEX file it was given.
    void toolWrites(const std::string& text) {
        desktop.programRunner = [text](const ProgramLaunch& launch) {
            writeBytes(readTarget(launch), text);
            return true;
        };
    }
    void importAs(const std::string& path) {
        desktop.saveFileAnswers.push_back(path);
        bench.deviceTransfer().SpeedButton11Click();
    }

    std::vector<std::string> hexFilesIn(const std::string& folder) {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder))
            if (entry.path().extension() == ".hex")
                names.push_back(entry.path().filename().string());
        return names;
    }

    // What the import must leave alone when it fails before the programs are replaced.
    struct Snapshot {
        std::vector<std::int64_t> programs;
        std::int64_t param04;
        Image image;
        std::string workingFileName;
        bool modified;
        bool operator==(const Snapshot&) const = default;
    };
    Snapshot snapshot() {
        return {programNumbers(), bench.store().headers().asInteger(hdr::Param04),
                state.currentImage, state.workingFileName, state.modified};
    }

    EditorState& state = bench.state();
    std::string m_work = dir.path("рабочие файлы");
    std::string m_programmer = dir.path("программатор 1");
    std::string pathA = work("катушка A.bin");
    std::string pathB = work("B.bin");
    std::string m_talc = dir.path("TALC.DB");
};

}  // namespace tal::test
