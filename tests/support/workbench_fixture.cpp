#include "support/workbench_fixture.h"

#include "store/editing_tables.h"
#include "store/memory_image.h"
#include "support/file_bytes.h"

namespace tal::test {

WorkbenchTest::WorkbenchTest() {
    const Image blank = makeBlankImage();
    writeBytes(dir.path("TAL.ini"), imageBytes(blank));
    bench.state().blankImagePath = dir.path("TAL.ini");
    bench.state().settingsFilePath = dir.path("TAL.cfg");
    bench.state().currentImage = blank;
    bench.startup().FormShow();
    desktop.calls.clear();
}

std::vector<std::int64_t> WorkbenchTest::programNumbers() {
    Table& headers = bench.store().headers();
    std::vector<std::int64_t> numbers;
    for (int row = 0; row < headers.recordCount(); ++row)
        numbers.push_back(headers.rowValue(row, hdr::ProgNum).asInteger());
    return numbers;
}

}  // namespace tal::test
