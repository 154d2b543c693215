// zellint's findings: each rule's check of a profile against the library's key table.
#pragma once
#include <stddef.h>

#include <string>
#include <vector>

#include "profile_reader.h"

enum class Severity { kError, kWarning, kNote };
const char *SeverityName(Severity severity);

struct Finding {
    std::string rule;
    Severity severity = Severity::kWarning;
    int line = 1;
    int column = 1;
    std::string section; // may be empty
    std::string key;     // may be empty
    std::string message;
};

// The rule names, in the order the documentation gives them.
extern const char *const kRuleNames[];
extern const size_t kRuleCount;

// Every finding for the profile `bytes`; `gameFolder` is where the sounds and the picture
// are looked up (the game's working directory, taken to be the profile's folder).
std::vector<Finding> LintProfile(const std::string &bytes, const std::string &gameFolder);

// The game's view: each of the library's keys with the value it will hold, as one JSON
// object in the table's order; "null" for a file the game treats as missing.
std::string ValuesJson(const std::string &bytes);
