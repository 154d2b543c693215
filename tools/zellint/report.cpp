// zellint's output formats; see report.h. Messages are ANSI text and leave as UTF-8,
// converted once on the way in to FormatFindings.
#include "report.h"

#include "json.h"

static std::string Number(int value) {
    return std::to_string(value);
}

static std::string TextLine(const Finding &f, const std::string &path) {
    return path + ":" + Number(f.line) + ":" + Number(f.column) + ": " + SeverityName(f.severity) +
           ": " + f.message + " [" + f.rule + "]\n";
}

static std::string JsonObject(const Finding &f) {
    return "{\"rule\": " + JsonString(f.rule) +
           ", \"severity\": " + JsonString(SeverityName(f.severity)) +
           ", \"line\": " + Number(f.line) + ", \"column\": " + Number(f.column) +
           ", \"section\": " + JsonString(f.section) + ", \"key\": " + JsonString(f.key) +
           ", \"message\": " + JsonString(f.message) + "}";
}

static std::string SarifResult(const Finding &f, const std::string &path) {
    return "{\"ruleId\": " + JsonString(f.rule) +
           ", \"level\": " + JsonString(SeverityName(f.severity)) +
           ", \"message\": {\"text\": " + JsonString(f.message) +
           "}, \"locations\": [{\"physicalLocation\": {\"artifactLocation\": {\"uri\": " +
           JsonString(path) + "}, \"region\": {\"startLine\": " + Number(f.line) +
           ", \"startColumn\": " + Number(f.column) + "}}}]}";
}

static std::string Joined(const std::vector<std::string> &items, const char *indent) {
    std::string out;
    for (size_t i = 0; i < items.size(); i++)
        out += (i > 0 ? ",\n" : "\n") + std::string(indent) + items[i];
    return out + (items.empty() ? "" : "\n");
}

std::string FormatFindings(const std::vector<Finding> &ansiFindings,
                           const std::string &commandLinePath, Format format) {
    std::string path = CommandLineToUtf8(commandLinePath);
    std::vector<Finding> findings = ansiFindings;
    for (Finding &f : findings) {
        f.section = AnsiToUtf8(f.section);
        f.key = AnsiToUtf8(f.key);
        f.message = AnsiToUtf8(f.message);
    }
    std::vector<std::string> items;
    std::string out;
    if (format == Format::kText) {
        for (const Finding &f : findings)
            out += TextLine(f, path);
        return out;
    }
    if (format == Format::kJson) {
        for (const Finding &f : findings)
            items.push_back(JsonObject(f));
        return "[" + Joined(items, "  ") + "]\n";
    }
    std::vector<std::string> rules;
    for (size_t i = 0; i < kRuleCount; i++)
        rules.push_back("{\"id\": " + JsonString(kRuleNames[i]) + "}");
    for (const Finding &f : findings)
        items.push_back(SarifResult(f, path));
    return "{\"$schema\": \"https://json.schemastore.org/sarif-2.1.0.json\", \"version\": "
           "\"2.1.0\",\n \"runs\": [{\"tool\": {\"driver\": {\"name\": \"zellint\", \"rules\": [" +
           Joined(rules, "    ") + "]}},\n  \"results\": [" + Joined(items, "    ") + "]}]}\n";
}
