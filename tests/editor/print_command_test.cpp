#include <gtest/gtest.h>

#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "editor/print_command.h"

namespace tal {

// Found by GoogleTest next to the type.
void PrintTo(const PixelSize& size, std::ostream* out) {
    *out << size.width << " × " << size.height;
}

namespace test {
namespace {

TEST(PrintCommandTest, ThePictureKeepsItsProportionsAndFillsOneSideOfThePage) {
    struct Case {
        const char* name;
        PixelSize window, printable, printed;
    } cases[] = {
        // W' = w·PH/h is less than PW: the height is filled, paper stays free at the right.
        {"tall and narrow", {200, 800}, {6000, 4500}, {1125, 4500}},
        {"the usual window", {800, 600}, {6814, 4760}, {6347, 4760}},
        // W' reaches PW: the width is filled, paper stays free at the bottom.
        {"wide and low", {1600, 200}, {6000, 4500}, {6000, 750}},
        {"exactly the page's proportions", {400, 300}, {6000, 4500}, {6000, 4500}},
        // Each computed side is rounded to the nearest pixel.
        {"W' rounded down", {3, 7}, {100, 10}, {4, 10}},           // 4.29
        {"W' rounded to the nearer", {5, 7}, {100, 10}, {7, 10}},  // 7.14
        {"W' half rounded up", {1, 4}, {100, 10}, {3, 10}},        // 2.5
        {"H' rounded", {7, 3}, {10, 100}, {10, 4}},                // 4.29
        {"H' half rounded up", {4, 1}, {10, 100}, {10, 3}},        // 2.5
        {"no overflow on large sides", {30000, 20000}, {100000, 90000}, {100000, 66667}},
        {"an empty window prints nothing", {0, 600}, {6000, 4500}, {0, 0}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(printedPictureSize(c.window, c.printable), c.printed) << c.name;
}

class FakePrinter : public Printer {
public:
    std::vector<std::string> calls;
    PixelSize window{800, 600};
    PixelSize printable{7000, 4900};
    bool usable = true;

    void setLandscape() override { calls.push_back("landscape"); }
    PixelSize takeWindowPicture() override {
        calls.push_back("picture");
        return window;
    }
    PixelSize beginJob() override {
        if (!usable)
            throw std::runtime_error("Принтер не выбран");
        calls.push_back("begin");
        return printable;
    }
    void drawPicture(PixelSize size) override {
        calls.push_back("draw " + std::to_string(size.width) + "x" + std::to_string(size.height));
    }
    void endJob() override { calls.push_back("end"); }
};

TEST(PrintCommandTest, PrintsOnePictureOnALandscapePageEachTime) {
    FakePrinter printer;
    PrintCommand command(printer);
    command.SpeedButton13Click();
    command.SpeedButton13Click();
    const std::vector<std::string> once{"landscape", "picture", "begin", "draw 6533x4900", "end"};
    std::vector<std::string> twice = once;
    twice.insert(twice.end(), once.begin(), once.end());
    EXPECT_EQ(printer.calls, twice);
}

TEST(PrintCommandTest, WithoutAUsablePrinterTheErrorPassesAndNothingIsPrinted) {
    FakePrinter printer;
    printer.usable = false;
    PrintCommand command(printer);
    try {
        command.SpeedButton13Click();
        ADD_FAILURE() << "printed without a printer";
    } catch (const std::runtime_error& e) {
        EXPECT_EQ(std::string(e.what()), "Принтер не выбран");
    }
    EXPECT_EQ(printer.calls, (std::vector<std::string>{"landscape", "picture"}));
}

}  // namespace
}  // namespace test
}  // namespace tal
