// pk2cmd-sim: a stand-in for the PICkit 2 command-line tool PK2CMD.exe. It understands the two
// command lines the editor issues and keeps the 64 KB of a 25LC512 EEPROM in a file.
//
//   pk2cmd-sim /P25LC512 /F<hex file> /M    program the EEPROM with an Intel HEX file
//   pk2cmd-sim /P25LC512 /GF<hex file>      read the whole EEPROM into an Intel HEX file
//
// Environment: PK2CMD_SIM_EEPROM (the EEPROM file; default beside the program),
// PK2CMD_SIM_CRLF=1 (CR LF line ends when reading), PK2CMD_SIM_NO_DEVICE=1 (no programmer
// attached), PK2CMD_SIM_DELAY_MS (how long the operation takes), PK2CMD_SIM_CORRUPT=<hex
// address> (programming leaves the byte at that address inverted, as a failing cell would,
// and still reports success).
//
// It reports on standard output in the words of the real tool and ends with its return codes;
// details of its own (which file, why) go to standard error.

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <iostream>
#include <optional>
#include <string>
#include <thread>

#include "intel_hex.h"
#include "sim_files.h"

namespace pk2sim {
namespace {

// The return codes of PK2CMD.
constexpr int kOk = 0;
constexpr int kOperationFailed = 2;
constexpr int kNoProgrammer = 5;
constexpr int kFileError = 7;
constexpr int kProgramVerifyError = 10;
constexpr int kInvalidCommandLine = 15;
constexpr int kInvalidHexFile = 16;

struct Options {
    std::string part;
    std::string programFile;  // -F
    bool program = false;     // -M
    std::string readFile;     // -GF
    bool readRequested = false;
};

std::string upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

bool environmentIs(const char* name, const char* value) {
    const char* set = std::getenv(name);
    return set && std::string(set) == value;
}

// `report` in the tool's words on standard output, `detail` on standard error.
int fail(int code, const std::string& report, const std::string& detail = {}) {
    if (!detail.empty())
        std::cerr << detail << std::endl;
    std::cout << report << "\n\nOperation Failed" << std::endl;
    return code;
}

int usage(const std::string& problem) {
    std::cerr << problem << '\n'
              << "usage: PK2CMD /P25LC512 /F<file.hex> /M\n"
              << "       PK2CMD /P25LC512 /GF<file.hex>" << std::endl;
    std::cout << "Invalid command line argument.\n\nOperation Failed" << std::endl;
    return kInvalidCommandLine;
}

std::string now() {
    const std::time_t time = std::time(nullptr);
    char text[32] = {};
    std::strftime(text, sizeof text, "%d-%m-%Y, %H:%M:%S", std::localtime(&time));
    return text;
}

// Switches start with '/' or '-'; their letters are not case-sensitive, file names are kept.
bool parse(int argc, char** argv, Options& options, std::string& problem) {
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument.size() < 2 || (argument[0] != '/' && argument[0] != '-')) {
            problem = "Unknown argument: " + argument;
            return false;
        }
        const std::string body = argument.substr(1);
        const std::string key = upper(body);
        if (key.rfind("GF", 0) == 0) {
            options.readFile = body.substr(2);
            options.readRequested = true;
        } else if (key[0] == 'P') {
            options.part = key.substr(1);
        } else if (key[0] == 'F') {
            options.programFile = body.substr(1);
        } else if (key == "M") {
            options.program = true;
        } else {
            problem = "Unknown option: " + argument;
            return false;
        }
    }
    if (options.part.empty()) {
        problem = "No device part given (-P25LC512)";
        return false;
    }
    if (options.program && options.programFile.empty()) {
        problem = "-M needs a HEX file given with -F<file>";
        return false;
    }
    if (options.readRequested && options.readFile.empty()) {
        problem = "-GF needs a file name";
        return false;
    }
    if (!options.program && !options.readRequested && options.programFile.empty()) {
        problem = "Nothing to do: give -F<file> -M or -GF<file>";
        return false;
    }
    return true;
}

std::string eepromPath(const char* argv0) {
    if (const char* set = std::getenv("PK2CMD_SIM_EEPROM"); set && *set)
        return set;
    return programFolder(argv0) + "pk2cmd-sim-eeprom.bin";
}

// The EEPROM as last programmed; an EEPROM never programmed reads erased.
bool loadEeprom(const std::string& path, Eeprom& memory, std::string& problem) {
    memory.fill(0xFF);
    const auto bytes = readWholeFile(path);
    if (!bytes)
        return true;
    if (bytes->size() != kEepromSize) {
        problem = "EEPROM file " + path + " is not 65536 bytes long";
        return false;
    }
    std::copy(bytes->begin(), bytes->end(), memory.begin());
    return true;
}

// The address PK2CMD_SIM_CORRUPT names; nothing when it is unset. False when it names none.
bool corruptAddress(std::optional<std::size_t>& address) {
    const char* set = std::getenv("PK2CMD_SIM_CORRUPT");
    if (!set || !*set)
        return true;
    char* end = nullptr;
    const unsigned long value = std::strtoul(set, &end, 16);
    if (*end != '\0' || value >= kEepromSize)
        return false;
    address = value;
    return true;
}

void delayIfAsked() {
    const char* set = std::getenv("PK2CMD_SIM_DELAY_MS");
    if (!set)
        return;
    char* end = nullptr;
    const long milliseconds = std::strtol(set, &end, 10);
    if (end != set && milliseconds > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

int run(int argc, char** argv) {
    Options options;
    std::string problem;
    if (!parse(argc, argv, options, problem))
        return usage(problem);
    if (options.part != "25LC512")
        return fail(kInvalidCommandLine, "Could not find device " + options.part + ".",
                    "this programmer knows 25LC512 only");

    if (environmentIs("PK2CMD_SIM_NO_DEVICE", "1"))
        return fail(kNoProgrammer, "No PICkit 2 found.");

    // The HEX file is checked in full before anything is programmed.
    Eeprom image;
    image.fill(0xFF);
    if (!options.programFile.empty()) {
        const auto text = readWholeFile(options.programFile);
        if (!text)
            return fail(kFileError, "Hex file not found.", "cannot open " + options.programFile);
        const ParseResult parsed = applyIntelHex(*text, image);
        if (!parsed.ok)
            return fail(kInvalidHexFile, "Error parsing hex file.",
                        options.programFile + ": " + parsed.error);
    }

    if (options.program)
        std::cout << "PICkit 2 Program Report\n"
                  << now() << "\n"
                  << "Device Type: 25LC512\n"
                  << std::endl;
    delayIfAsked();
    const std::string eeprom = eepromPath(argc > 0 ? argv[0] : nullptr);

    if (options.program) {
        std::optional<std::size_t> corrupt;
        if (!corruptAddress(corrupt))
            return usage("PK2CMD_SIM_CORRUPT is no address below 10000 (hex)");
        if (corrupt) {
            image[*corrupt] = static_cast<std::uint8_t>(~image[*corrupt]);
            std::cerr << "byte " << std::hex << *corrupt << " corrupted on write" << std::endl;
        }
        const std::string_view bytes(reinterpret_cast<const char*>(image.data()), image.size());
        if (const std::string error = writeFileAtomically(eeprom, bytes); !error.empty())
            return fail(kProgramVerifyError, "Program Failed.", error);
        std::cout << "Program Succeeded." << std::endl;
    }

    if (options.readRequested) {
        Eeprom memory;
        if (!loadEeprom(eeprom, memory, problem))
            return fail(kOperationFailed, "Read Failed.", problem);
        const std::string text = formatIntelHex(memory, environmentIs("PK2CMD_SIM_CRLF", "1"));
        if (const std::string error = writeFileAtomically(options.readFile, text); !error.empty())
            return fail(kFileError, "Error writing hex file.", error);
        std::cout << "Read successfully." << std::endl;
    }

    std::cout << "\nOperation Succeeded" << std::endl;
    return kOk;
}

}  // namespace
}  // namespace pk2sim

int main(int argc, char** argv) {
    return pk2sim::run(argc, argv);
}
