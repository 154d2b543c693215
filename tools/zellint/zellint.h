// zellint's command: options, the profile's path, the outputs and the exit status, with
// the output kept in strings so that the tests and the differential check call it as is.
#pragma once
#include <string>
#include <vector>

// 0: no error; 1: errors (warnings too with --werror); 2: unreadable file or wrong options.
int RunZellint(const std::vector<std::string> &args, std::string *out, std::string *err);

// The paragraph of docs/launch-ini.md under "### `rule`", empty when there is none.
std::string ExplainRule(const std::string &rule);
