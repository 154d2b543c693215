// zellint's output formats: one line per finding, a JSON array, or SARIF 2.1.0.
#pragma once
#include <string>
#include <vector>

#include "lint.h"

enum class Format { kText, kJson, kSarif };

std::string FormatFindings(const std::vector<Finding> &findings, const std::string &path,
                           Format format);
