// Splitting both paths at backslashes and stepping up from the first part where they differ.
#include "relative_path.h"

#include <ctype.h>

#include <vector>

namespace {

std::vector<std::string> Parts(const std::string &path) {
    std::vector<std::string> parts;
    std::string part;
    for (char c : path) {
        if (c == '\\' || c == '/') {
            if (!part.empty())
                parts.push_back(part);
            part.clear();
        } else {
            part += c;
        }
    }
    if (!part.empty())
        parts.push_back(part);
    return parts;
}

// Windows file names match in any letter case (ASCII is enough for the comparison of a
// shared prefix: a mismatch only costs a longer way round).
bool SameName(const std::string &a, const std::string &b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); i++)
        if (tolower((unsigned char)a[i]) != tolower((unsigned char)b[i]))
            return false;
    return true;
}

} // namespace

bool RelativePath(const std::string &fromFolder, const std::string &toFile, std::string *out) {
    std::vector<std::string> from = Parts(fromFolder), to = Parts(toFile);
    // The root: the drive, or the server and share of a network path.
    size_t root = fromFolder.compare(0, 2, "\\\\") == 0 ? 2 : 1;
    if (from.size() < root || to.size() <= root)
        return false;
    for (size_t i = 0; i < root; i++)
        if (!SameName(from[i], to[i]))
            return false; // another drive or share: no way by ".."
    size_t common = root;
    while (common < from.size() && common < to.size() - 1 && SameName(from[common], to[common]))
        common++;
    out->clear();
    for (size_t i = common; i < from.size(); i++)
        *out += "..\\";
    for (size_t i = common; i < to.size(); i++)
        *out += to[i] + (i + 1 < to.size() ? "\\" : "");
    return true;
}
