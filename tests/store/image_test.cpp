// The memory image: layout, encodings, loading into the tables and storing back.

#include <gtest/gtest.h>

#include <random>

#include "store/change_extension.h"
#include "store/editing_tables.h"
#include "store/file_system.h"
#include "store/memory_image.h"
#include "store/text.h"
#include "support/file_bytes.h"
#include "support/store_fixture.h"
#include "support/temp_folder.h"

namespace tal::test {
namespace {

TEST(MemoryImage, LayoutAndWordOrder) {
    EXPECT_EQ(SwapBytes(0x04D2), 0xD204);
    EXPECT_EQ(slotOffset(1), 0x0420u);
    EXPECT_EQ(slotOffset(kSlotCount), 0xFFE0u);
    EXPECT_EQ(directoryOffset(255), 0x041Cu);
    Image image{};
    writeWord(image, 0, 1234);
    EXPECT_EQ(image[0], 0x04);
    EXPECT_EQ(image[1], 0xD2);
    EXPECT_TRUE(checkImageInvariants(makeBlankImage()).empty());
}

TEST(MemoryImage, ScaledValuesRoundHalfUpAndReadBackAsTheTypedDouble) {
    struct Case {
        double value;
        int scale;
        std::uint32_t stored;
    } cases[] = {{12.34, 100, 1234}, {1.5, 1000, 1500},   {2.5, 10, 25},           {0.35, 100, 35},
                 {0.005, 100, 1},    {9.999, 1000, 9999}, {-0.35, 100, 0xFFFFFFDD}};
    for (const auto& c : cases) {
        EXPECT_EQ(encodeScaled(c.value, c.scale), c.stored) << c.value;
        if (c.value >= 0 && c.value != 0.005) {
            EXPECT_EQ(decodeScaled(c.stored, c.scale), c.value);
        }
    }
    // 700 mm does not fit 16 bits: the storer keeps the low 16 bits.
    EXPECT_EQ(encodeScaled(700.0, 100) & 0xFFFF, 70000u & 0xFFFF);
}

// An image with program 5 (header in slot 40, lines in slots 7 and 3), program 0 without lines
// and an entry whose byte 3 names another number.
Image handmadeImage() {
    Image image = makeBlankImage();
    setHeaderSlot(image, 5, 40);
    const std::size_t h = slotOffset(40);
    writeWord(image, h + 0, 1234);  // Param 02 = 12.34
    image[h + 2] = 0b11101101;  // Param 01 справа, Param 03 программное, Param 06 = 0
    image[h + 3] = 200;         // Param 07
    image[h + 4] = 3;           // Param 04
    image[h + 5] = 4;           // Param 05
    image[h + 25] = 7;          // ProgSize as stored, not recounted
    setNextStr(image, 40, 7);
    const std::size_t a = slotOffset(7);
    writeWord(image, a + 0, 1500);
    writeWord(image, a + 2, 300);
    image[a + 4] = 0xC3;  // по ч/с, влево, нет, против ч/с, останов, Стоп в слое да; bit 0 set
    writeWord(image, a + 5, 40000);
    writeWord(image, a + 9, 35);      // 0.35
    writeWord(image, a + 11, 12050);  // 120.5
    writeWord(image, a + 13, 1500);   // 1.5
    image[a + 15] = 3;
    writeWord(image, a + 16, 1007);  // 10.07
    image[a + 18] = 25;              // Param 15 = 2.5
    image[a + 19] = 2;               // Param 14
    image[a + 20] = 1;
    image[a + 21] = 1;
    writeWord(image, a + 22, 500);
    writeWord(image, a + 26, 40);
    setNextStr(image, 7, 3);
    writeWord(image, slotOffset(3) + 26, 7);
    setNextStr(image, 3, 3);
    image[slotOffset(3) + 4] = 0x7E;  // вправо, да, по ч/с, исходное (bits 1..6)
    setHeaderSlot(image, 0, 12);
    setNextStr(image, 12, 12);
    image[slotOffset(12) + 25] = 1;
    setHeaderSlot(image, 7, 20);
    image[directoryOffset(7) + 3] = 9;
    setNextStr(image, 20, 20);
    image[slotOffset(20) + 25] = 1;
    return image;
}

class Loading : public StoreFixture {
protected:
    void load(const Image& image, const std::string& name = "") {
        state().currentImage = image;
        store().LoadImage(name);
    }
    TempFolder dir;
};

TEST_F(Loading, FillsTheTablesInDirectoryOrderAndChainOrder) {
    load(handmadeImage());
    EXPECT_FALSE(state().modified);
    ASSERT_EQ(headers().recordCount(), 3);
    EXPECT_EQ(headers().rowValue(0, hdr::ProgNum).asInteger(), 0);
    EXPECT_EQ(headers().rowValue(1, hdr::ProgNum).asInteger(), 5);
    EXPECT_EQ(headers().rowValue(2, hdr::ProgNum).asInteger(), 9);  // byte 3 of entry 7
    EXPECT_EQ(headers().rowValue(2, hdr::CurStr).asInteger(), 20);
    headers().first();
    headers().next();
    EXPECT_EQ(headers().asText(hdr::Param01), "справа");
    EXPECT_EQ(headers().asFloat(hdr::Param02), 12.34);
    EXPECT_EQ(headers().asText(hdr::Param03), "программное");
    EXPECT_EQ(headers().asInteger(hdr::Param04), 3);
    EXPECT_EQ(headers().asInteger(hdr::Param05), 4);
    EXPECT_EQ(headers().asInteger(hdr::Param06), 0);
    EXPECT_EQ(headers().asInteger(hdr::Param07), 200);
    EXPECT_EQ(headers().asInteger(hdr::ProgSize), 7);
    EXPECT_EQ(headers().asInteger(hdr::NextStr), 7);
    EXPECT_EQ(headers().asInteger(hdr::CurStr), 40);

    ASSERT_EQ(lines().recordCount(), 2);
    EXPECT_EQ(lineSlots(), (std::vector<std::int64_t>{7, 3}));
    const std::pair<int, Value> first[] = {
        {1, Value::integer(1500)},       {2, Value::integer(300)},  {3, Value::text("по ч/с")},
        {4, Value::integer(40000)},      {5, Value::text("влево")}, {6, Value::real(0.35)},
        {7, Value::real(120.5)},         {8, Value::real(1.5)},     {9, Value::text("да")},
        {10, Value::integer(3)},         {11, Value::real(10.07)},  {12, Value::text("нет")},
        {13, Value::text("против ч/с")}, {14, Value::integer(2)},   {15, Value::real(2.5)},
        {16, Value::integer(1)},         {17, Value::integer(1)},   {18, Value::real(5)},
        {19, Value::text("останов")}};
    for (const auto& [k, v] : first)
        EXPECT_EQ(lines().rowValue(0, ln::param(k)), v) << "Param " << k;
    EXPECT_EQ(lines().rowValue(0, ln::StrNum).asInteger(), 1);
    EXPECT_EQ(lines().rowValue(0, ln::PredStr).asInteger(), 40);
    EXPECT_EQ(lines().rowValue(1, ln::StrNum).asInteger(), 2);
    EXPECT_EQ(lines().rowValue(1, ln::param(19)).asText(), "исходное");
    EXPECT_EQ(lines().rowValue(1, ln::param(5)).asText(), "вправо");

    EXPECT_TRUE(state().modified);  // merely moving through the rows marks it
    EXPECT_EQ(desktop.focus, Grid::Headers);
    EXPECT_TRUE(desktop.isEnabled(Control::SpeedButton4));
    EXPECT_TRUE(desktop.isEnabled(Control::SpeedButton60));
    EXPECT_TRUE(desktop.isEnabled(Control::SpeedButton9));
    // The image breaks two invariants, and says so, but everything in it is loaded.
    const auto messages = desktop.takeMessages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].caption, "Загрузка данных");
    EXPECT_EQ(messages[0].text,
              "Образ памяти записан с ошибками (нарушений: 2):\n"
              "программа 5: число строк 7 вместо 3\n"
              "программа 7: в каталоге записан номер 9\n"
              "Прочитанное загружено.");
}

TEST_F(Loading, AnEmptyImageGivesEmptyTablesWithSaveAndCopyEnabled) {
    createProgram(1, 2);
    load(blank);
    EXPECT_EQ(headers().recordCount(), 0);
    EXPECT_EQ(lines().recordCount(), 0);
    EXPECT_TRUE(desktop.isEnabled(Control::SpeedButton4));
    EXPECT_TRUE(desktop.isEnabled(Control::SpeedButton60));
    EXPECT_FALSE(desktop.isEnabled(Control::DBGrid1));
}

TEST_F(Loading, RemarksComeFromTheFileBesideTheWorkingFile) {
    struct Case {
        std::string bytes;
        std::vector<std::string> remarks;
    } cases[] = {
        {std::string("abc\0\0x\0", 7), {"abc", "", "x"}},
        {std::string("abc\0", 4), {"abc", "", ""}},                      // fewer records
        {std::string("\0\0\xca\xee", 4), {"", "", "Ко"}},                // last NUL missing
        {std::string(100, 'y') + "z", {std::string(99, 'y'), "z", ""}},  // 100 bytes, no NUL
    };
    const std::string name = dir.path("w.bin");
    std::vector<RecordedMessage> aboutTheImage;
    for (const auto& c : cases) {
        ASSERT_EQ(writeFileAtomically(ChangeExtension(name, "txt"), c.bytes), WriteStatus::Ok);
        load(handmadeImage(), name);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(headers().rowValue(i, hdr::Remark).asText(), c.remarks[i]) << i;
        aboutTheImage = desktop.takeMessages();
    }
    // No remarks file: empty remarks, and nothing said beyond what the image itself gets.
    load(handmadeImage(), dir.path("none.bin"));
    EXPECT_EQ(headers().rowValue(0, hdr::Remark).asText(), "");
    EXPECT_EQ(desktop.takeMessages(), aboutTheImage);
}

TEST_F(Loading, DamagedImagesLoadWhatCanBeKeptAndSaySoInOneMessage) {
    Image image = handmadeImage();
    setHeaderSlot(image, 1, 3000);                // no slot 3000
    setNextStr(image, 3, 99);                     // program 5's chain names slot 99 ...
    writeWord(image, slotOffset(99) + 30, 2999);  // ... which carries another number
    setHeaderSlot(image, 2, 50);                  // a circle: 50 -> 51 -> 52 -> 51
    setNextStr(image, 50, 51);
    setNextStr(image, 51, 52);
    setNextStr(image, 52, 51);
    load(image);
    EXPECT_EQ(programNumbers(), (std::vector<std::int64_t>{0, 2, 5, 9}));
    const auto messages = desktop.takeMessages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].caption, "Загрузка данных");
    EXPECT_EQ(messages[0].icon, MessageIcon::Error);
    const std::string& text = messages[0].text;
    for (const char* part :
         {"слот 99 хранит номер 2999\n", "программа 1: нет заглавного слота 3000\n",
          "Не загружены программы без заглавного слота: 1.\n",
          "Не полностью прочитаны программы: 2, 5 (цепочка", "Прочитанное загружено."})
        EXPECT_NE(text.find(part), std::string::npos) << part << "\n" << text;
    headers().first();
    headers().next();
    EXPECT_EQ(lines().recordCount(), 2);  // 51 and 52, then the circle ends the walk
    headers().next();
    EXPECT_EQ(lineSlots(), (std::vector<std::int64_t>{7, 3}));  // read before the break
}

class Storing : public Loading {};

TEST_F(Storing, EmptyTablesGiveTheBlankImageAndAnEmptyRemarksFile) {
    for (std::size_t i = 0; i < blank.size(); i += 7)
        blank[i] ^= 0x5A;  // uninterpreted bytes
    const std::string name = dir.path("e.bin");
    ASSERT_TRUE(store().StoreImage(name));
    EXPECT_EQ(state().currentImage, blank);
    EXPECT_EQ(readFile(dir.path("e.txt")).bytes, "");
}

TEST_F(Storing, EncodesEmptyChoicesAsOneAndKeepsForeignBits) {
    blank[slotOffset(1) + 2] = 0b11101100;  // header byte 2: bits not ours set
    blank[slotOffset(2) + 4] = 0x01;        // line byte 4: bit 0 set
    state().currentImage = blank;
    createProgram(0, 1);
    ASSERT_TRUE(store().StoreImage(dir.path("c.bin")));
    const Image& image = state().currentImage;
    EXPECT_EQ(image[slotOffset(1) + 2], 0b11101111);  // Param 01 and 03 empty: 1; Param 06 empty: 0
    EXPECT_EQ(image[slotOffset(2) + 4], 0xFF);        // every choice 1, Param 19 index 3

    lines().setText(ln::param(3), "по ч/с");
    lines().setText(ln::param(5), "влево");
    lines().setText(ln::param(9), "да");
    lines().setText(ln::param(12), "нет");
    lines().setText(ln::param(13), "против ч/с");
    lines().setText(ln::param(19), "останов");
    lines().post();
    ASSERT_TRUE(store().StoreImage(dir.path("c.bin")));
    EXPECT_EQ(state().currentImage[slotOffset(2) + 4], 0xC3);
}

// Random programs with random values, built through the editor's own commands.
void fillRandomly(StoreFixture& f, std::mt19937& random) {
    auto pick = [&](int n) { return static_cast<int>(random() % n); };
    std::string longRemark;
    for (int i = 0; i < 99; ++i)
        longRemark += "Ж";
    const std::string remarks[] = {"", "Катушка ТР-12, слой 1", longRemark};
    for (int p = 0; p < 12; ++p) {
        f.desktop.focus = Grid::Headers;
        f.desktop.newProgramAnswers.push_back({DialogAnswer::Create, pick(256)});
        const int before = f.bench.store().headers().recordCount();
        f.bench.gridCommands().SpeedButton7Click();
        if (f.bench.store().headers().recordCount() == before)
            continue;  // number taken
        Table& h = f.bench.store().headers();
        h.setText(hdr::Param01, pick(2) ? "слева" : "справа");
        h.setFloat(hdr::Param02, pick(18001) / 100.0);
        h.setInteger(hdr::Param04, pick(21));
        h.setInteger(hdr::Param07, pick(256));
        h.setText(hdr::Remark, remarks[pick(3)]);
        h.post();
        const int count = pick(6);
        for (int l = 0; l < count; ++l) {
            f.desktop.focus = Grid::Lines;
            pick(2) ? f.bench.gridCommands().SpeedButton7Click()
                    : f.bench.gridCommands().SpeedButton8Click();
            Table& t = f.bench.store().lines();
            t.setInteger(ln::param(1), 10 + pick(2991));
            t.setInteger(ln::param(4), 1 + pick(60000));
            t.setFloat(ln::param(6), pick(18001) / 100.0);
            t.setFloat(ln::param(8), (20 + pick(4981)) / 1000.0);
            t.setFloat(ln::param(15), pick(100) / 10.0);
            t.setText(ln::param(19), std::array{"да", "нет", "останов", "исходное"}[pick(4)]);
            t.post();
        }
    }
}

TEST_F(Storing, StoringALoadedImageGivesBackTheSameBytesAndRemarks) {
    std::mt19937 random(7);
    for (auto& byte : blank)
        byte = static_cast<std::uint8_t>(random());
    const Image proper = makeBlankImage();
    for (int p = 0; p < kProgramCount; ++p)
        blank[directoryOffset(p) + 3] = proper[directoryOffset(p) + 3];
    for (int p = 0; p < kProgramCount; ++p)
        setHeaderSlot(blank, p, 0);
    for (int s = 1; s <= kSlotCount; ++s) {
        setNextStr(blank, s, 0);
        writeWord(blank, slotOffset(s) + 30, static_cast<std::uint16_t>(s));
    }
    state().currentImage = blank;
    fillRandomly(*this, random);
    const std::string a = dir.path("a.bin"), b = dir.path("b.bin");
    ASSERT_TRUE(store().StoreImage(a));
    const Image stored = state().currentImage;
    EXPECT_TRUE(checkImageInvariants(stored).empty());
    EXPECT_TRUE(tablesMatchImage(store()));

    writeFileAtomically(a, imageBytes(stored));
    store().LoadImage(a);
    ASSERT_TRUE(store().StoreImage(b));
    EXPECT_EQ(state().currentImage, stored);
    EXPECT_EQ(readFile(dir.path("b.txt")).bytes, readFile(dir.path("a.txt")).bytes);
    EXPECT_TRUE(state().modified);  // moving through the rows marked it
}

TEST_F(Storing, WordsBeyondTheSmallintRangeGoBackAsTheyWere) {
    // Damage no image of ours holds: a line whose PredStr is 65535.
    Image image = handmadeImage();
    writeWord(image, slotOffset(7) + 26, 65535);
    load(image);
    desktop.takeMessages();  // the back link is reported
    ASSERT_TRUE(store().StoreImage(dir.path("w.bin")));
    EXPECT_EQ(readWord(state().currentImage, slotOffset(7) + 26), 65535);
}

TEST_F(Storing, AnUnreadableBlankImageLeavesEverythingAsItWas) {
    createProgram(0, 1);
    const Image before = state().currentImage;
    store().setBlankImageReader([] { return false; });
    EXPECT_FALSE(store().StoreImage(dir.path("x.bin")));
    EXPECT_EQ(state().currentImage, before);
    EXPECT_FALSE(fileExists(dir.path("x.txt")));
}

TEST_F(Storing, ARemarkOf99CharactersTakes100Bytes) {
    createProgram(0);
    std::string remark;
    for (int i = 0; i < 120; ++i)
        remark += "Щ";
    headers().setText(hdr::Remark, remark);
    headers().post();
    EXPECT_EQ(utf8Length(headers().asText(hdr::Remark)), 99u);
    ASSERT_TRUE(store().StoreImage(dir.path("r.bin")));
    EXPECT_EQ(readFile(dir.path("r.txt")).bytes, std::string(99, '\xd9') + '\0');
}

TEST(ChangeExtensionTest, ReplacesTheLastThreeCharacters) {
    EXPECT_EQ(ChangeExtension("D:\\progs\\coil.bin", "txt"), "D:\\progs\\coil.txt");
    EXPECT_EQ(ChangeExtension("катушка.bin", "hex"), "катушка.hex");
    EXPECT_EQ(ChangeExtension("", "txt"), "");
    EXPECT_EQ(ChangeExtension("ab", "txt"), "txt");
}

}  // namespace
}  // namespace tal::test
