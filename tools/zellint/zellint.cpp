// zellint's command; see zellint.h.
#include "zellint.h"

#include "files.h"
#include "json.h"
#include "lint.h"
#include "profile/profile_name.h"
#include "report.h"

extern const char kLaunchIniDoc[]; // docs/launch-ini.md, embedded at build time

static const char kUsage[] =
    "usage: zellint [--format=text|json|sarif] [--values] [--fix] [--werror] [PATH]\n"
    "       zellint --explain RULE\n"
    "PATH is a launch.ini or a game folder (default: the current folder).\n";

std::string ExplainRule(const std::string &rule) {
    std::string doc = kLaunchIniDoc;
    std::string heading = "### `" + rule + "`\n";
    size_t start = doc.find(heading);
    if (start == std::string::npos)
        return "";
    start += heading.size();
    size_t end = doc.find("\n#", start);
    std::string text =
        doc.substr(start, end == std::string::npos ? std::string::npos : end - start + 1);
    while (!text.empty() && text[0] == '\n')
        text.erase(0, 1);
    return text;
}

// Messages of the command's own name paths as the command line gave them: UTF-8 on the way out.
static int Fail(std::string *err, const std::string &message) {
    *err += "zellint: " + CommandLineToUtf8(message) + "\n";
    return 2;
}

int RunZellint(const std::vector<std::string> &args, std::string *out, std::string *err) {
    Format format = Format::kText;
    bool values = false, fix = false, werror = false;
    std::string path;
    for (size_t i = 0; i < args.size(); i++) {
        const std::string &arg = args[i];
        if (arg == "--format=text" || arg == "--format=json" || arg == "--format=sarif")
            format = arg[9] == 't' ? Format::kText : arg[9] == 'j' ? Format::kJson : Format::kSarif;
        else if (arg == "--values")
            values = true;
        else if (arg == "--fix")
            fix = true;
        else if (arg == "--werror")
            werror = true;
        else if (arg == "--explain") {
            std::string text = i + 1 < args.size() ? ExplainRule(args[i + 1]) : "";
            if (text.empty())
                return Fail(err, "--explain takes a rule name: " +
                                     std::string(i + 1 < args.size() ? "no rule " + args[i + 1]
                                                                     : "none given"));
            *out += text;
            return 0;
        } else if (arg == "--help" || arg == "-h") {
            *out += kUsage;
            return 0;
        } else if (!arg.empty() && arg[0] == '-')
            return Fail(err, "unknown option " + arg + "\n" + kUsage);
        else if (!path.empty())
            return Fail(err, "one PATH only\n" + std::string(kUsage));
        else
            path = arg;
    }
    if (path.empty())
        path = ".";
    std::string folder;
    if (KindOf(path) == PathKind::kFolder) {
        // Any letter case, as Windows opens it; the exact name stays for the messages.
        folder = path;
        path = FindInFolder(folder, kProfileFileName);
        if (path.empty())
            path = folder + "/" + kProfileFileName;
        if (folder == ".")
            path.erase(0, 2); // "launch.ini", as it was given
    }
    switch (KindOf(path)) {
    case PathKind::kMissing:
        return Fail(err, folder.empty() ? path + ": no such file"
                                        : folder + ": no " + kProfileFileName + " in this folder");
    case PathKind::kFolder:
        return Fail(err, path + ": is a folder, not a file");
    case PathKind::kFile:
        break;
    }
    std::string bytes;
    if (!ReadWholeFile(path, &bytes))
        return Fail(err, path + ": cannot be read");
    if (fix && bytes.compare(0, 3, "\xef\xbb\xbf") == 0) {
        if (!WriteWholeFile(path + ".bak", bytes) || !WriteWholeFile(path, bytes.substr(3)))
            return Fail(err, path + ": cannot be rewritten");
        bytes.erase(0, 3);
        *err += CommandLineToUtf8("zellint: " + path +
                                  ": removed the UTF-8 byte-order mark (the old file is " + path +
                                  ".bak)\n");
    }
    if (values) {
        *out += ValuesJson(bytes) + "\n";
        return 0;
    }
    std::vector<Finding> findings = LintProfile(bytes, FolderOf(path));
    *out += FormatFindings(findings, path, format);
    for (const Finding &f : findings) {
        if (f.severity == Severity::kError || (werror && f.severity == Severity::kWarning))
            return 1;
    }
    return 0;
}
