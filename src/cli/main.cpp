// tal: the command-line companion of the editor, on the same core.

#include <CLI/CLI.hpp>
#include <fstream>
#include <iostream>
#include <nlohmann/json.hpp>
#include <string_view>
#include <utility>
#include <vector>

#include "cli/headless_desktop.h"
#include "cli/program_json.h"
#include "cli/usage_errors.h"
#include "device/hex_file.h"
#include "device/image_difference.h"
#include "limits/limits_file.h"
#include "limits/limits_table.h"
#include "limits/stored_values_check.h"
#include "store/change_extension.h"
#include "store/file_system.h"
#include "store/image_file.h"
#include "store/image_saving.h"
#include "store/load_report.h"
#include "store/memory_image.h"
#include "store/table_files.h"
#include "workbench/workbench.h"

namespace tal {
namespace {

constexpr int kOk = 0;
constexpr int kFailed = 1;

int fail(const std::string& message) {
    std::cerr << message << '\n';
    return kFailed;
}

// A working file: exactly 65536 bytes.
bool readWorkingImage(const std::string& path, Image& image, std::string& error) {
    switch (readImageFile(path, image)) {
        case ImageReadStatus::Ok:
            return true;
        case ImageReadStatus::OpenFailed:
            error = "Ошибка открытия файла " + path;
            return false;
        case ImageReadStatus::WrongSize:
            error = "Ошибочный размер файла " + path + " (нужно ровно 65536 байт)";
            return false;
        case ImageReadStatus::ReadFailed:
            break;
    }
    error = "Ошибка чтения файла " + path;
    return false;
}

bool loadWorkingFile(Workbench& bench, const std::string& path, std::string& error) {
    if (!readWorkingImage(path, bench.state().currentImage, error))
        return false;
    bench.store().LoadImage(path);
    return true;
}

// The blank image storing starts from: the delivered one, or the file given with --blank. The
// current image starts as that blank too.
bool useBlankImage(Workbench& bench, const std::string& blankPath, std::string& error) {
    Image blank = makeBlankImage();
    if (!blankPath.empty() && readBlankImageFile(blankPath, blank) != ImageReadStatus::Ok) {
        error = "Ошибка чтения файла " + blankPath + " (нужно не меньше 65536 байт)";
        return false;
    }
    // Storing keeps the blank's own slot numbers in header slots and takes its free entries and
    // slots for free: onto anything else it would write an image that loses programs.
    if (const auto findings = blankImageFindings(blank); !findings.empty()) {
        error = "Файл " + blankPath +
                " не чистый образ памяти (в чистом образе все записи каталога свободны и каждый "
                "слот хранит свой номер):\n" +
                summarizeFindings(findings, 3);
        error.pop_back();
        return false;
    }
    bench.store().setBlankImageReader([&bench, blank] {
        bench.state().currentImage = blank;
        return true;
    });
    bench.state().currentImage = blank;
    return true;
}

int storeAndWrite(Workbench& bench, const std::string& out) {
    int error = 0;
    try {
        switch (saveWorkingFile(bench.store(), out, error)) {
            case SaveStatus::Saved:
                return kOk;
            case SaveStatus::BlankUnreadable:
                return kFailed;  // the reader has said why
            case SaveStatus::CreateFailed:
            case SaveStatus::WriteFailed:
                break;
            case SaveStatus::RemarksWriteFailed:
                return fail("Ошибка записи файла примечаний " + ChangeExtension(out, "txt"));
        }
    } catch (const std::exception& e) {
        return fail(e.what());
    }
    return fail("Ошибка записи файла " + out);
}

// An output that is one of the inputs would destroy it before it is read in full, or replace an
// image by a HEX file; refused before anything is written.
bool outputIsAnInput(const std::string& out, std::initializer_list<std::string> inputs) {
    for (const std::string& input : inputs) {
        if (!input.empty() && sameFile(out, input)) {
            std::cerr << "Файл " << out << " указан и как входной, и как выходной\n";
            return true;
        }
    }
    return false;
}

int runInit(const std::string& folder, bool force) {
    std::string path = folder;
    if (!path.empty() && path.back() != '/' && path.back() != '\\')
        path += '/';
    if (!force) {
        // An engineer edits TALC.DB; it and the table files are replaced only on request.
        std::string present;
        for (const char* name : kTableFileNames)
            if (pathExists(path + name))
                present += std::string(present.empty() ? "" : ", ") + name;
        if (pathExists(path + kLimitsFileName))
            present += std::string(present.empty() ? "" : ", ") + kLimitsFileName;
        if (!present.empty())
            return fail("В папке " + folder + " уже есть " + present +
                        ": файлы не заменены (заменить их: tal init --force)");
    }
    std::string error;
    if (!writeTableFiles(folder, error))
        return fail("Ошибка инициализации: " + error);
    const LimitsReadResult limits = parseLimitsSource(deliveredLimitsSource());
    if (!limits.ok())
        return fail("Ошибка инициализации: данные пределов: " + limits.error);
    if (!writeLimitsFile(path + kLimitsFileName, limits.records, error))
        return fail("Ошибка инициализации: " + error);
    return kOk;
}

int runBlank(const std::string& out) {
    const Image blank = makeBlankImage();
    const std::string_view bytes(reinterpret_cast<const char*>(blank.data()), blank.size());
    if (writeFileAtomically(out, bytes) != WriteStatus::Ok)
        return fail("Ошибка записи файла " + out);
    return kOk;
}

int runDump(const std::string& imagePath, const std::string& format) {
    HeadlessDesktop desktop(std::cerr);
    Workbench bench(desktop);
    std::string error;
    if (!loadWorkingFile(bench, imagePath, error))
        return fail(error);
    if (format == "json") {
        std::cout << tablesToJson(bench.store()).dump(2) << '\n';
    } else {
        std::cout << tablesToText(bench.store());
    }
    return desktop.errorCount() == 0 ? kOk : kFailed;
}

int runResave(const std::string& imagePath, const std::string& out, const std::string& blank) {
    if (outputIsAnInput(out, {imagePath, blank}))
        return kFailed;
    HeadlessDesktop desktop(std::cerr);
    Workbench bench(desktop);
    std::string error;
    if (!useBlankImage(bench, blank, error) || !loadWorkingFile(bench, imagePath, error))
        return fail(error);
    const int result = storeAndWrite(bench, out);
    return result == kOk && desktop.errorCount() == 0 ? kOk : kFailed;
}

int runBuild(const std::string& jsonPath, const std::string& out, const std::string& blank) {
    if (outputIsAnInput(out, {jsonPath, blank}))
        return kFailed;
    std::ifstream input(jsonPath);
    if (!input)
        return fail("Ошибка открытия файла " + jsonPath);
    nlohmann::ordered_json document;
    try {
        document = nlohmann::ordered_json::parse(input);
    } catch (const std::exception& e) {
        return fail("Ошибка в JSON " + jsonPath + ": " + e.what());
    }
    HeadlessDesktop desktop(std::cerr);
    // The values are built as the JSON has them, in limits or not.
    Workbench bench(desktop, ValueCheckMode::Unchecked);
    std::string error;
    if (!useBlankImage(bench, blank, error))
        return fail(error);
    bench.store().ClearTables();
    try {
        if (!buildFromJson(bench.store(), bench.gridCommands(), desktop, document, error))
            return fail(error);
    } catch (const std::exception& e) {
        return fail(e.what());
    }
    if (desktop.errorCount() != 0)
        return kFailed;
    return storeAndWrite(bench, out);
}

// Checks every stored value against the limits of `model`; false when any is refused or the
// values could not be checked.
bool checkValues(const std::string& imagePath, const std::string& limitsPath,
                 const std::string& model) {
    HeadlessDesktop desktop(std::cerr);
    Workbench bench(desktop);
    LimitsTable& limits = bench.limits();
    limits.setPath(limitsPath);
    try {
        limits.Open();
        for (const std::string& note : limits.cutTexts())
            std::cerr << "Таблица пределов " << limitsPath << ": " << note << '\n';
        if (!limits.hasModel(model)) {
            std::cerr << "В таблице пределов " << limitsPath << " нет модели «" << model
                      << "»: значения не проверены\n";
            return false;
        }
        std::string error;
        if (!loadWorkingFile(bench, imagePath, error)) {
            std::cerr << error << '\n';
            return false;
        }
        const auto findings = checkStoredValues(bench.store(), limits, model);
        for (const auto& finding : findings)
            std::cout << finding.text() << '\n';
        return findings.empty();
    } catch (const EngineError& e) {
        std::cerr << e.what() << '\n';
        return false;
    }
}

int runCheck(const std::string& imagePath, const std::string& limitsPath,
             const std::string& model) {
    Image image{};
    switch (readImageFile(imagePath, image)) {
        case ImageReadStatus::Ok:
            break;
        case ImageReadStatus::WrongSize:
            return fail("Ошибочный размер файла " + imagePath + " (нужно ровно 65536 байт)");
        default:
            return fail("Ошибка чтения файла " + imagePath);
    }
    const auto findings = checkImageInvariants(image);
    for (const auto& finding : findings)
        std::cout << finding << '\n';
    bool valuesOk = true;
    if (!model.empty() || !limitsPath.empty())
        valuesOk = checkValues(imagePath, limitsPath, model);
    return findings.empty() && valuesOk ? kOk : kFailed;
}

int runHex(const std::string& imagePath, const std::string& out) {
    if (outputIsAnInput(out, {imagePath}))
        return kFailed;
    Image image{};
    if (std::string error; !readWorkingImage(imagePath, image, error))
        return fail(error);
    switch (WriteHexFile(image, out)) {
        case HexWriteStatus::Ok:
            return kOk;
        case HexWriteStatus::CreateFailed:
            return fail("Ошибка создания hex-файла " + out);
        case HexWriteStatus::WriteFailed:
            break;
    }
    return fail("Ошибка записи hex-файла " + out);
}

// A programmer-tool HEX file, read as the import reads it.
bool readProgrammerHex(const std::string& path, Image& image, std::string& error) {
    switch (ReadHexFile(path, image)) {
        case HexReadStatus::Ok:
            return true;
        case HexReadStatus::OpenFailed:
            error = "Ошибка открытия hex-файла " + path;
            return false;
        case HexReadStatus::ReadFailed:
            break;
    }
    error = "Ошибка чтения hex-файла " + path;
    return false;
}

int runUnhex(const std::string& hexPath, const std::string& out, const std::string& basePath) {
    if (outputIsAnInput(out, {hexPath, basePath}))
        return kFailed;
    Image image = makeBlankImage();
    if (!basePath.empty() && readImageFile(basePath, image) != ImageReadStatus::Ok)
        return fail("Ошибка чтения файла " + basePath + " (нужно ровно 65536 байт)");
    if (std::string error; !readProgrammerHex(hexPath, image, error))
        return fail(error);
    const std::string_view bytes(reinterpret_cast<const char*>(image.data()), image.size());
    if (writeFileAtomically(out, bytes) != WriteStatus::Ok)
        return fail("Ошибка записи файла " + out);
    return kOk;
}

// Silent when the machine holds the image, as cmp is.
int runVerify(const std::string& imagePath, const std::string& hexPath) {
    Image image{};
    if (std::string error; !readWorkingImage(imagePath, image, error))
        return fail(error);
    Image read{};
    if (std::string error; !readProgrammerHex(hexPath, read, error))
        return fail(error);
    const ImageDifference difference = compareImages(image, read);
    if (difference.equal())
        return kOk;
    return fail("Образ " + imagePath + " не совпадает с hex-файлом " + hexPath + ": " +
                describeDifference(difference));
}

// What the command line gave.
struct Arguments {
    std::string folder, out, image, format = "text", blank, json, limitsPath, model, hexPath;
    bool force = false;
};

// A command: its options, declared on its own parser, and what it does with them.
struct Command {
    const char* name;
    const char* description;
    void (*declare)(CLI::App& command, Arguments& arguments);
    int (*run)(const Arguments& arguments);
};

const Command kCommands[] = {
    {"init", "Записать файлы таблиц и TALC.DB в папку",
     [](CLI::App& c, Arguments& a) {
         c.add_option("DIR", a.folder)->required();
         c.add_flag("--force", a.force, "Заменить файлы, которые уже есть в папке");
     },
     [](const Arguments& a) { return runInit(a.folder, a.force); }},
    {"blank", "Записать чистый образ",
     [](CLI::App& c, Arguments& a) { c.add_option("-o", a.out)->required(); },
     [](const Arguments& a) { return runBlank(a.out); }},
    {"dump", "Показать программы образа",
     [](CLI::App& c, Arguments& a) {
         c.add_option("IMAGE", a.image)->required();
         c.add_option("--format", a.format)->check([](const std::string& v) {
             return v == "text" || v == "json" ? "" : "text или json";
         });
     },
     [](const Arguments& a) { return runDump(a.image, a.format); }},
    {"resave", "Загрузить и сохранить образ заново",
     [](CLI::App& c, Arguments& a) {
         c.add_option("IMAGE", a.image)->required();
         c.add_option("-o", a.out)->required();
         c.add_option("--blank", a.blank);
     },
     [](const Arguments& a) { return runResave(a.image, a.out, a.blank); }},
    {"build", "Построить образ из JSON",
     [](CLI::App& c, Arguments& a) {
         c.add_option("JSON", a.json)->required();
         c.add_option("-o", a.out)->required();
         c.add_option("--blank", a.blank);
     },
     [](const Arguments& a) { return runBuild(a.json, a.out, a.blank); }},
    {"check", "Проверить образ",
     [](CLI::App& c, Arguments& a) {
         c.add_option("IMAGE", a.image)->required();
         auto* limits = c.add_option("--limits", a.limitsPath,
                                     "Таблица пределов (TALC.DB) для проверки значений");
         auto* model = c.add_option("--model", a.model, "Модель станка, например ТАЛ-1");
         limits->needs(model);
         model->needs(limits);
     },
     [](const Arguments& a) { return runCheck(a.image, a.limitsPath, a.model); }},
    {"hex", "Записать образ в hex-файл для программатора",
     [](CLI::App& c, Arguments& a) {
         c.add_option("IMAGE", a.image)->required();
         c.add_option("-o", a.out)->required();
     },
     [](const Arguments& a) { return runHex(a.image, a.out); }},
    {"unhex", "Прочитать hex-файл программатора в образ",
     [](CLI::App& c, Arguments& a) {
         c.add_option("HEX", a.hexPath)->required();
         c.add_option("-o", a.out)->required();
         c.add_option("--base", a.blank);
     },
     [](const Arguments& a) { return runUnhex(a.hexPath, a.out, a.blank); }},
    {"verify", "Сравнить образ с hex-файлом, прочитанным программатором из памяти станка",
     [](CLI::App& c, Arguments& a) {
         c.add_option("IMAGE", a.image)->required();
         c.add_option("HEX", a.hexPath)->required();
     },
     [](const Arguments& a) { return runVerify(a.image, a.hexPath); }},
};

const Command* commandNamed(std::string_view name) {
    for (const Command& command : kCommands)
        if (name == command.name)
            return &command;
    return nullptr;
}

}  // namespace
}  // namespace tal

int main(int argc, char** argv) {
    using namespace tal;
    CLI::App app{"tal — образы памяти программ намотки"};
    app.require_subcommand(1);
    Arguments arguments;
    // Only the command named first is declared: setting up the parser of every command cost a run
    // of `tal hex` a tenth of its time. Anything else (help, no command, an unknown one) declares
    // them all, so that help and mistakes are told with every command.
    const Command* named = argc > 1 ? commandNamed(argv[1]) : nullptr;
    std::vector<std::pair<const CLI::App*, const Command*>> declared;
    for (const Command& command : kCommands) {
        if (named && named != &command)
            continue;
        CLI::App* parser = app.add_subcommand(command.name, command.description);
        command.declare(*parser, arguments);
        declared.emplace_back(parser, &command);
    }
    useRussianHelp(app);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        if (e.get_exit_code() == 0)
            return app.exit(e);  // the help
        std::cerr << "tal: " << usageErrorText(e) << "\nСправка: tal --help\n";
        return 2;
    }
    for (const auto& [parser, command] : declared)
        if (*parser)
            return command->run(arguments);
    return 2;
}
