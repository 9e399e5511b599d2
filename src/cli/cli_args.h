// The command line of lodestar-cli: the command, its operands and the switches, parsed into
// one value. Switches may stand before or after the operands; "--" ends the switches.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cli/find_output.h"
#include "core/error.h"

namespace lodestar::cli {

class UsageError : public Error {
  public:
    using Error::Error;
};

enum class CliCommand { Find, Replace, Run, Restore, Extract, Render, Help, Version };

struct Arguments {
    CliCommand command = CliCommand::Help;
    std::vector<std::string> operands;  // after the command word, in order

    // The search switches, as the desktop program starts.
    bool ignoreCase = true;
    bool global = true;
    bool dotAll = true;
    bool multiline = false;

    // Overrides of the options file; nullopt keeps what the file (or its default) says.
    std::optional<bool> backup;
    std::optional<std::string> backupFolder;
    std::optional<bool> countMatches;
    std::optional<bool> escapeSupport;

    bool readOnlyWrite = false;  // --readonly=write; skip by default
    bool force = false;          // go on with an unfinished run in the folder
    bool followLinks = false;    // --follow-links: work on targets of links out of the folder
    bool dryRun = false;         // replace, run: show what would change, write nothing
    bool countOnly = false;      // with --dry-run: a count per file in place of the diff
    bool listSteps = false;      // restore --list: the steps Restore can take back
    unsigned restoreSteps = 1;   // restore --steps N: take back this many steps
    unsigned jobs = 0;           // -j N: threads of the folder loops; 0: one per core
    std::string filter = "*.*";
    bool recursive = false;            // -r: the folder's subfolders too
    std::vector<std::string> exclude;  // --exclude GLOB, repeatable

    FindOutput findOutput;  // find: how it prints what it found

    std::optional<std::string> output;  // extract -o
    std::string format = "txt";         // extract --format
    std::optional<std::string> delimiter;
    std::optional<std::string> renderPattern;  // render --pattern
    bool invisible = false;

    std::optional<std::string> encoding;  // --encoding NAME; nullopt keeps the user's setting
    bool binaryAsText = false;            // --binary
};

// Parses argv[1..]. Throws UsageError with a message fit for standard error. "-o" is find's
// --only-matching, and extract's --output (which takes a value).
Arguments parseArguments(const std::vector<std::string>& args);

// The usage text, the same that the manual pages are made from.
std::string usageText();

}  // namespace lodestar::cli
