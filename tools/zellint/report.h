// zellint's output formats: one line per finding, a JSON array, or SARIF 2.1.0.
#pragma once
#include <string>
#include <vector>

#include "lint.h"

enum class Format { kText, kJson, kSarif };

// The findings' texts are ANSI, the path is as the command line gave it: both leave as UTF-8.
std::string FormatFindings(const std::vector<Finding> &ansiFindings,
                           const std::string &commandLinePath, Format format);
