#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "support/fake_desktop.h"
#include "support/temp_folder.h"
#include "workbench/workbench.h"

namespace tal::test {

// A workbench on a fake desktop with the blank image TAL.ini in a temporary folder; the tables
// are open and empty as after start-up. The value checks, which need a limits table, are left
// out; tests/limits has their own.
class WorkbenchTest : public ::testing::Test {
protected:
    WorkbenchTest();

    // The program numbers of the header table, in its order.
    std::vector<std::int64_t> programNumbers();

    TempFolder dir;
    FakeDesktop desktop;
    Workbench bench{desktop, ValueCheckMode::Unchecked};
};

}  // namespace tal::test
