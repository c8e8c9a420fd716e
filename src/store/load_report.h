#pragma once

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace tal {

// What a load found wrong in an image, and what it did about it. A load keeps only what a save
// writes back as it was read; everything else is named here.
struct LoadReport {
    std::vector<std::string> findings;  // broken invariants, as `tal check` lists them
    bool unmarked = false;              // no slot carries its own number: no image of programs
    // Directory entries in use whose header slot cannot be read (missing, foreign, free, or
    // another program's), by the program number they hold: not loaded.
    std::vector<int> skippedPrograms;
    // A program number held by an earlier entry too, and the free number it was loaded as.
    std::vector<std::pair<int, int>> renumberedPrograms;
    // Programs whose chain of lines broke off, ran in a circle or into another program's slot:
    // the lines up to there are loaded.
    std::vector<int> damagedPrograms;

    bool clean() const {
        return findings.empty() && !unmarked && skippedPrograms.empty() &&
               renumberedPrograms.empty() && damagedPrograms.empty();
    }
};

// The one message about a damaged image, shown in the load's or the import's box: the first
// findings and a count of the rest, then what was left out or changed. Empty for a clean load.
std::string loadReportMessage(const LoadReport& report);

// The first `shown` findings, one a line, then a line counting the rest.
std::string summarizeFindings(const std::vector<std::string>& findings, std::size_t shown);

}  // namespace tal
