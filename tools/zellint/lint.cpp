// zellint's rules: a profile read as the library reads it, checked key by key against the
// key table, the files it names and the dialog's layout arithmetic.
#include "lint.h"

#include <ctype.h>
#include <stdlib.h>
#include <string.h>
#include <strings.h>

#include <algorithm>
#include <iterator>

#include "bitmap_check.h"
#include "browser/browser_text.h"
#include "dialog/layout.h"
#include "files.h"
#include "json.h"
#include "profile/profile_keys.h"

const char *const kRuleNames[] = {
    "too-small",          "utf8-bom",      "encoding",     "unknown-section", "duplicate-section",
    "unknown-key",        "duplicate-key", "truncated",    "not-a-number",    "out-of-range",
    "full-version-value", "url",           "missing-file", "picture",         "layout",
    "url-encoded"};
const size_t kRuleCount = sizeof kRuleNames / sizeof kRuleNames[0];

const char *SeverityName(Severity severity) {
    return severity == Severity::kError     ? "error"
           : severity == Severity::kWarning ? "warning"
                                            : "note";
}

namespace {

const int32_t kDotsPerInch = 96; // the usual display; larger fonts move the text further
const int32_t kButtonRowTop = kExitOverlayAt.y; // the exit button's picture tops the row
// Beyond this width the picture's centre, width / 2 + left + margin, leaves the dialog.
const int32_t kUpsellWidthMax = 2 * (kClientWidth - kUpsellLeft - kUpsellMargin);
const char kSample[] = "\"C:\\Program Files\\Web\\browser.exe\" -osint -url \"%1\"";

std::string Count(size_t n, const char *what) {
    return std::to_string(n) + " " + what + (n == 1 ? "" : "s");
}

std::string Quoted(const std::string &text, size_t limit = 60) {
    return "\"" + (text.size() > limit ? text.substr(0, limit - 3) + "..." : text) + "\"";
}

bool SameText(const std::string &a, const char *b) {
    return strcasecmp(a.c_str(), b) == 0;
}

size_t Distance(const std::string &a, const std::string &b) {
    std::vector<size_t> row(b.size() + 1);
    for (size_t j = 0; j <= b.size(); j++)
        row[j] = j;
    for (size_t i = 1; i <= a.size(); i++) {
        size_t diagonal = row[0];
        row[0] = i;
        for (size_t j = 1; j <= b.size(); j++) {
            size_t above = row[j];
            bool same = tolower((unsigned char)a[i - 1]) == tolower((unsigned char)b[j - 1]);
            row[j] = std::min(std::min(row[j] + 1, row[j - 1] + 1), diagonal + (same ? 0 : 1));
            diagonal = above;
        }
    }
    return row[b.size()];
}

// The nearest of `names` within two edits, or a third of the name's length up to three, as " (did
// you mean X?)".
std::string DidYouMean(const std::string &name, const std::vector<std::string> &names) {
    std::string best;
    size_t bestDistance = std::min<size_t>(3, std::max<size_t>(2, name.size() / 3)) + 1;
    for (const std::string &candidate : names) {
        size_t gap = name.size() > candidate.size() ? name.size() - candidate.size()
                                                    : candidate.size() - name.size();
        if (gap >= bestDistance)
            continue; // at least that many edits: no need to count them
        size_t d = Distance(name, candidate);
        if (d < bestDistance) {
            bestDistance = d;
            best = candidate;
        }
    }
    return best.empty() ? "" : " Did you mean " + best + "?";
}

// Names are compared by the reader's own comparison, on the file's characters rather than
// their ANSI form, so that zellint and --values cannot disagree on what matches.
const ProfileKey *KeyOf(const char *section, const std::u16string &name) {
    for (const ProfileKey &key : kProfileKeys) {
        if ((section == nullptr || strcmp(section, key.section) == 0) && SameName(name, key.name))
            return &key;
    }
    return nullptr;
}

// The table's spelling of a section the library reads, or null.
const char *KnownSection(const std::u16string &name) {
    for (const char *section : kProfileSections) {
        if (SameName(name, section))
            return section;
    }
    return nullptr;
}

// The table's row of a key zellint names itself.
const ProfileKey &Row(const char *name) {
    for (const ProfileKey &key : kProfileKeys) {
        if (strcmp(key.name, name) == 0)
            return key;
    }
    abort(); // a name missing from the table is a typo in this file
}

// A key as the library reads it: its table row's section, default and field size.
std::string TextOf(const ProfileFile &file, const ProfileKey &key) {
    return ReadProfileText(file, key.section, key.name, key.textDefault, key.size);
}

uint32_t IntOf(const ProfileFile &file, const ProfileKey &key) {
    return ReadProfileInt(file, key.section, key.name, key.intDefault);
}

// Splits a command line as a program's startup code does: blanks part arguments, quotes
// group them.
std::vector<std::string> SplitCommand(const std::string &command) {
    std::vector<std::string> args;
    std::string current;
    bool quoted = false, any = false;
    for (char c : command) {
        if (c == '"') {
            quoted = !quoted;
            any = true;
        } else if ((c == ' ' || c == '\t') && !quoted) {
            if (any)
                args.push_back(current);
            current.clear();
            any = false;
        } else {
            current.push_back(c);
            any = true;
        }
    }
    if (any)
        args.push_back(current);
    return args;
}

// A multi-byte UTF-8 sequence anywhere in the text.
bool LooksLikeUtf8(const std::string &text) {
    for (size_t i = 0; i < text.size(); i++) {
        unsigned char c = (unsigned char)text[i];
        size_t more = (c & 0xe0) == 0xc0 ? 1 : (c & 0xf0) == 0xe0 ? 2 : (c & 0xf8) == 0xf0 ? 3 : 0;
        bool valid = more > 0;
        for (size_t k = 1; valid && k <= more; k++)
            valid = i + k < text.size() && ((unsigned char)text[i + k] & 0xc0) == 0x80;
        if (valid)
            return true;
    }
    return false;
}

class Linter {
  public:
    Linter(const std::string &bytes, const std::string &folder)
        : size_(bytes.size()), folder_(folder), file_(ParseProfile(bytes)) {}

    std::vector<Finding> Run() {
        if (size_ <= kProfileUnusableBytes) {
            Add("too-small", Severity::kError, 1, 1, "", "",
                "the file has " + std::to_string(size_) + " bytes: the game treats a profile of " +
                    std::to_string(kProfileUnusableBytes) +
                    " bytes or less as missing, shows the \"Error Launching Game\" box and "
                    "does not start. Fill in at least [Main] and GameName.");
            return findings_;
        }
        CheckBom();
        CheckSections();
        for (const ProfileKey &key : kProfileKeys)
            CheckValue(key);
        CheckFilesAndLayout();
        std::stable_sort(findings_.begin(), findings_.end(),
                         [](const Finding &a, const Finding &b) {
                             return a.line != b.line ? a.line < b.line : a.column < b.column;
                         });
        return findings_;
    }

  private:
    void Add(const char *rule, Severity severity, int line, int column, const std::string &section,
             const std::string &key, const std::string &message) {
        findings_.push_back({rule, severity, line, column, section, key, message});
    }

    std::string Ansi(const std::u16string &text) const {
        return ToAnsi(file_, UpToNul(text));
    }

    size_t KeyCount(const ProfileSection &section) const {
        size_t n = 0;
        for (const ProfileEntry &entry : section.entries)
            n += Ansi(entry.name).compare(0, 1, ";") != 0;
        return n;
    }

    // Windows reads the mark as part of the first line: a section header there is lost, and
    // the keys under it land in no section; any other first line only loses its meaning.
    void CheckBom() {
        if (file_.encoding != Encoding::kUtf8Bom)
            return;
        // The mark is never blank, so line 1 is always the first entry, its name the mark and
        // what follows it up to any "=".
        const ProfileSection &start = file_.sections[0];
        std::string first = Ansi(start.entries[0].name).substr(3);
        if (first.empty() || first[0] != '[') {
            Add("utf8-bom", Severity::kWarning, 1, 1, "", "",
                "the file starts with a UTF-8 byte-order mark: Windows takes it as part of the "
                "first line, which is no section header here, so nothing is lost yet; an edit "
                "that puts [Main] first would hide it. Save the file without the mark (zellint "
                "--fix removes it).");
            return;
        }
        Add("utf8-bom", Severity::kError, 1, 1, "", "",
            "the file starts with a UTF-8 byte-order mark: Windows does not see the first "
            "section, " +
                first + ", so its " + Count(KeyCount(start) - 1, "key") +
                " fall back to their defaults. Save the file without the mark (zellint --fix "
                "removes it).");
    }

    void CheckSections() {
        std::vector<std::string> sectionNames(std::begin(kProfileSections),
                                              std::end(kProfileSections));
        std::vector<std::string> seen;
        for (size_t i = 0; i < file_.sections.size(); i++) {
            const ProfileSection &section = file_.sections[i];
            std::string name = Ansi(section.name);
            if (i == 0) {
                if (file_.encoding != Encoding::kUtf8Bom)
                    CheckEntries(section, nullptr);
                continue;
            }
            const char *known = KnownSection(section.name);
            const ProfileSection *first = known != nullptr ? FindSection(file_, known) : nullptr;
            bool again = first != nullptr && first != &section;
            if (known == nullptr) {
                Add("unknown-section", Severity::kWarning, section.line, 1, name, "",
                    "the game reads only [Main], [Action] and [Upsell]: [" + name +
                        "] and what it holds (" + Count(section.entries.size(), "key") +
                        ") are ignored." + DidYouMean(name, sectionNames));
            } else if (again) {
                Add("duplicate-section", Severity::kWarning, section.line, 1, name, "",
                    "[" + name + "] appears again: the game reads only the first one, at line " +
                        std::to_string(first->line) + ", so what it holds (" +
                        Count(section.entries.size(), "key") +
                        ") is ignored. Move them into the first one.");
            }
            CheckEntries(section, again ? nullptr : known);
        }
    }

    // `read`: the table's name of the section when the game reads it, else null.
    void CheckEntries(const ProfileSection &section, const char *read) {
        std::string sectionName = Ansi(section.name);
        std::vector<std::string> keyNames;
        for (const ProfileKey &key : kProfileKeys)
            keyNames.push_back(key.name);
        for (size_t i = 0; i < section.entries.size(); i++) {
            const ProfileEntry &entry = section.entries[i];
            std::string name = Ansi(entry.name);
            if ((!name.empty() && name[0] == ';') || (name.empty() && !entry.hasValue))
                continue; // a comment, or a line of NULs
            if (&section == &file_.sections[0]) {
                Add("unknown-key", Severity::kWarning, entry.line, entry.column, "", name,
                    Quoted(name) + " lies before any section: the game never reads it." +
                        " Put it under [Main], [Action] or [Upsell].");
                continue;
            }
            if (read == nullptr)
                continue; // an unknown or repeated section: reported as a whole
            const ProfileKey *key = KeyOf(read, entry.name);
            if (key == nullptr) {
                UnknownKey(entry, sectionName, name, keyNames);
                continue;
            }
            const ProfileEntry *winner = FindEntry(file_, read, key->name);
            if (winner != &entry) {
                Add("duplicate-key", Severity::kWarning, entry.line, entry.column, sectionName,
                    key->name,
                    std::string(key->name) +
                        " is set again: the game uses the first one, at line " +
                        std::to_string(winner->line) +
                        (winner->hasValue ? " (" + Quoted(Ansi(winner->value)) + ")"
                                          : " (a line without \"=\", so the default)") +
                        ", and ignores this one.");
            } else if (!entry.hasValue) {
                Add("unknown-key", Severity::kWarning, entry.line, entry.column, sectionName,
                    key->name,
                    std::string(key->name) +
                        " has no \"=\": the game finds this line, takes the "
                        "default and ignores any later " +
                        key->name + ". Write " + key->name + "=value.");
            }
        }
    }

    void UnknownKey(const ProfileEntry &entry, const std::string &section, const std::string &name,
                    const std::vector<std::string> &keyNames) {
        std::string message;
        const ProfileKey *elsewhere = KeyOf(nullptr, entry.name);
        if (name.empty()) {
            message = "a value without a key name: the game ignores it.";
        } else if (!entry.hasValue) {
            message = "this line has no \"=\": the game ignores it. Comments start with \";\".";
        } else if (elsewhere != nullptr) {
            message = name + " belongs in [" + elsewhere->section + "]: in [" + section +
                      "] the game never reads it.";
        } else if (strncasecmp(name.c_str(), "UpsellLine", 10) == 0 &&
                   strspn(name.c_str() + 10, "0123456789") == name.size() - 10 &&
                   name.size() > 10) {
            message = name + " is not read: the game paints UpsellLine1 to UpsellLine16 only.";
        } else {
            message = name + " is not a key of [" + section + "]: the game ignores it." +
                      DidYouMean(name, keyNames);
        }
        Add("unknown-key", Severity::kWarning, entry.line, entry.column, section, name, message);
    }

    void CheckValue(const ProfileKey &key) {
        const ProfileEntry *entry = FindEntry(file_, key.section, key.name);
        if (entry == nullptr || !entry->hasValue)
            return;
        int line = entry->line, column = entry->valueColumn;
        std::string whole = Ansi(CopyEntry(entry->value, UINT32_MAX));
        if (key.kind == kProfileInteger) {
            CheckInteger(key, *entry, whole);
            return;
        }
        std::string kept = TextOf(file_, key);
        if (whole.size() > kept.size())
            Add("truncated", Severity::kWarning, line, column, key.section, key.name,
                std::string(key.name) + " holds " + std::to_string(whole.size()) +
                    " characters; its field keeps " + std::to_string(key.size - 1) +
                    ", so the game gets " + Quoted(kept, SIZE_MAX) + ". Shorten it.");
        CheckEncoding(key, *entry, kept);
        if (strcmp(key.name, "FullVersion") == 0 && !kept.empty() && !SameText(kept, "Yes") &&
            !SameText(kept, "No"))
            Add("full-version-value", Severity::kWarning, line, column, key.section, key.name,
                "FullVersion is " + Quoted(kept) +
                    ": only \"Yes\", in any letter case, makes a "
                    "full version, so the player gets the demo's dialog at start and exit. Write "
                    "Yes "
                    "or No.");
        if (strcmp(key.name, "UpsellURL") == 0 && !kept.empty())
            CheckUrl(key, line, column, kept);
    }

    void CheckEncoding(const ProfileKey &key, const ProfileEntry &entry, const std::string &kept) {
        if (!file_.unitsAreBytes) {
            for (char16_t c : UpToNul(entry.value)) {
                if (c >= 0x80 && ToAnsi(file_, std::u16string(1, c)) == "?") {
                    Add("encoding", Severity::kWarning, entry.line, entry.valueColumn, key.section,
                        key.name,
                        std::string(key.name) +
                            " holds characters outside the ANSI code page "
                            "(Windows-1252): the game shows \"?\" for them: " +
                            Quoted(kept) + ".");
                    return;
                }
            }
        } else if (LooksLikeUtf8(kept)) {
            Add("encoding", Severity::kWarning, entry.line, entry.valueColumn, key.section,
                key.name,
                std::string(key.name) +
                    " looks like UTF-8 text: the game reads the file in the "
                    "ANSI code page (Windows-1252) and shows " +
                    Quoted(kept) + ". Save the file as ANSI, or as UTF-16 with its mark.");
        }
    }

    void CheckInteger(const ProfileKey &key, const ProfileEntry &entry, const std::string &whole) {
        std::u16string text = CopyEntry(entry.value, 30);
        if (text.empty())
            return; // the default
        bool digits;
        size_t end;
        uint32_t value = LeadingNumber(text, &digits, &end);
        std::string read = Ansi(text);
        int line = entry.line, column = entry.valueColumn;
        std::string uses = "the game uses " + std::to_string(value);
        if (!digits) {
            Add("not-a-number", Severity::kError, line, column, key.section, key.name,
                std::string(key.name) + " is " + Quoted(whole) + ", not a number: " + uses +
                    " instead of the default " + std::to_string(key.intDefault) + ".");
            return;
        }
        if (end < text.size() || whole.size() > read.size())
            Add("not-a-number", Severity::kWarning, line, column, key.section, key.name,
                std::string(key.name) + " is " + Quoted(whole) +
                    ": the game reads only its leading "
                    "number" +
                    (whole.size() > read.size() ? " within the first 29 characters" : "") +
                    ", so " + uses + ". Write the number alone.");
        bool font = strstr(key.name, "FontSize") != nullptr; // else UpsellWidth
        int32_t low = font ? 6 : 0, high = font ? 72 : kUpsellWidthMax;
        if ((int32_t)value < low || (int32_t)value > high)
            Add("out-of-range", (int32_t)value < 0 ? Severity::kError : Severity::kWarning, line,
                column, key.section, key.name,
                std::string(key.name) + " is " + Quoted(whole) + ": " + uses +
                    ((int32_t)value < 0 ? " (a negative number read as unsigned)" : "") +
                    ", outside " + std::to_string(low) + " to " + std::to_string(high) +
                    (font ? " points." : " pixels (the picture's centre would leave the dialog)."));
    }

    void CheckUrl(const ProfileKey &key, int line, int column, const std::string &url) {
        std::string problem;
        size_t colon = url.find(':');
        std::string scheme = url.substr(0, colon == std::string::npos ? 0 : colon);
        bool schemed =
            scheme.size() > 1 &&
            scheme.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"
                                     "0123456789+.-") == std::string::npos;
        // What the library sends: each '"' and control byte as its %XX.
        std::string sent = url + std::string(2 * url.size() + 1, '\0');
        EncodeArgumentBreakers(&sent[0], sent.size());
        sent.resize(strlen(sent.c_str()));
        if (sent != url)
            Add("url-encoded", Severity::kWarning, line, column, key.section, key.name,
                "UpsellURL " + Quoted(url) + " holds a '\"' or a control character: the browser " +
                    "gets " + Quoted(sent) + ", each as its %XX. Write the address so.");
        Severity severity = Severity::kError;
        if (url.find_first_of(" ") != std::string::npos)
            problem = "holds a blank";
        else if (url.find('\x7f') != std::string::npos)
            problem = "holds a control character";
        else if (!schemed) {
            problem =
                "has no http:// or https://, so the browser may take it for a search or a file";
            severity = Severity::kWarning;
        } else if (!SameText(scheme, "http") && !SameText(scheme, "https") &&
                   !SameText(scheme, "file"))
            problem = "is a " + scheme + ": address, not http, https or file";
        if (problem.empty()) {
            char sample[sizeof kSample];
            memcpy(sample, kSample, sizeof sample);
            RewriteCommandTemplate(sample);
            char command[kFormattedCommandLimit];
            FormatCommand(command, sizeof command, sample, sent.c_str());
            std::vector<std::string> args = SplitCommand(command);
            if (args.empty() || args.back() != sent)
                problem = "does not survive the browser's command line (" + Quoted(command) + ")";
        }
        if (!problem.empty())
            Add("url", severity, line, column, key.section, key.name,
                "UpsellURL " + Quoted(url) + " " + problem +
                    ": the upsell button may open a wrong page or none. Write a plain "
                    "http:// or https:// address.");
    }

    struct Spot {
        int line;
        int column;
    };

    // Where a key's finding goes: its value, or when the key is absent its section's header,
    // or line 1.
    Spot Place(const ProfileKey &key) const {
        const ProfileEntry *entry = FindEntry(file_, key.section, key.name);
        if (entry != nullptr)
            return {entry->line, entry->hasValue ? entry->valueColumn : 1};
        const ProfileSection *found = FindSection(file_, key.section);
        return {found != nullptr ? found->line : 1, 1};
    }

    // A file the library opens relative to the game's working directory; findings go `at`. The
    // message names no folder: a message is ANSI text, a folder the command line's.
    std::string LookUp(const ProfileKey &key, Spot at, const std::string &name, const char *what,
                       const char *instead) {
        if (name.size() > 1 && (name[1] == ':' || name[0] == '\\' || name[0] == '/')) {
            Add("missing-file", Severity::kNote, at.line, at.column, key.section, key.name,
                std::string(key.name) + " " + Quoted(name) +
                    " is a full path: zellint cannot look for "
                    "it; make sure it exists on the players' machines.");
            return "";
        }
        std::string found = name.empty() ? "" : FindInFolder(folder_, AnsiToFileName(name));
        if (found.empty())
            Add("missing-file", Severity::kWarning, at.line, at.column, key.section, key.name,
                std::string(what) + " " + Quoted(name) +
                    " is not in the profile's folder, the game's working directory when it "
                    "starts from its own folder: the player " +
                    instead + ".");
        return found;
    }

    void CheckFilesAndLayout() {
        for (const char *sound : {"LaunchSound", "ExitSound"}) {
            const ProfileKey &key = Row(sound);
            std::string name = TextOf(file_, key);
            if (!name.empty())
                LookUp(key, Place(key), name, sound, "hears the system's default sound instead");
        }
        const ProfileKey &graphic = Row("UpsellGraphic");
        std::string name = TextOf(file_, graphic);
        uint32_t width = IntOf(file_, Row("UpsellWidth"));
        int32_t pictureHeight = 0;
        Spot at = Place(graphic);
        std::string path = LookUp(graphic, at, name, "The upsell picture",
                                  "sees an empty space there and the upsell lines move up");
        std::string head;
        uint64_t size = 0;
        if (!path.empty() && ReadFileStart(path, 256, &head, &size)) {
            BitmapCheck check = CheckBitmap(head, size);
            if (!check.loadable) {
                Add("picture", Severity::kError, at.line, at.column, graphic.section, graphic.name,
                    "the upsell picture " + Quoted(name) + " is not a bitmap the game can load: " +
                        check.problem + ". The player sees an empty space; save it as a BMP file.");
            } else {
                pictureHeight = check.height;
                Point drawn = UpsellPictureAt(width, kUpsellLeft);
                int32_t left = PictureLeft(drawn.x, check.width);
                int64_t right = (int64_t)left + check.width;
                int64_t bottom = (int64_t)drawn.y + check.height;
                // A width out of range has its own finding; the picture is not judged then.
                bool widthRead = (int32_t)width >= 0 && (int32_t)width <= kUpsellWidthMax;
                if (widthRead &&
                    (left < kUpsellLeft || right > kClientWidth || bottom > kClientHeight))
                    Add("picture", Severity::kWarning, at.line, at.column, graphic.section,
                        graphic.name,
                        "the upsell picture is " + std::to_string(check.width) + " x " +
                            std::to_string(check.height) + ": drawn at x " + std::to_string(left) +
                            " to " + std::to_string(right) + ", y " + std::to_string(drawn.y) +
                            " to " + std::to_string(bottom) + ", it leaves its area (x " +
                            std::to_string(kUpsellLeft) + " to " + std::to_string(kClientWidth) +
                            ", y " + std::to_string(kUpsellPictureTop) + " to " +
                            std::to_string(kClientHeight) + ") and covers the dialog around it.");
            }
        }
        CheckUpsellLines(pictureHeight);
        CheckGameName();
    }

    void CheckUpsellLines(int32_t pictureHeight) {
        uint32_t points = IntOf(file_, Row("UpsellFontSize"));
        int32_t h = FontHeight(points, kDotsPerInch);
        int32_t lineHeight = h < 0 ? -h : h;
        for (uint32_t slot = 0; slot < 16; slot++) {
            const ProfileKey &key = Row(("UpsellLine" + std::to_string(slot + 1)).c_str());
            if (TextOf(file_, key).empty())
                continue;
            int32_t top = SlotTop(UpsellTextTop(pictureHeight), LineOffset(h, slot), 0);
            Spot at = Place(key);
            std::string where = std::string(key.name) + " is drawn at y " + std::to_string(top);
            if (top >= kClientHeight || top < 0)
                Add("layout", Severity::kError, at.line, at.column, key.section, key.name,
                    where + ", outside the 500 x 360 dialog: the player never sees it. Use fewer "
                            "lines, a smaller UpsellFontSize or a lower picture.");
            else if (top + lineHeight > kClientHeight)
                Add("layout", Severity::kWarning, at.line, at.column, key.section, key.name,
                    where + " and " + std::to_string(lineHeight) +
                        " pixels high: the dialog's "
                        "bottom edge (360) cuts it.");
            else if (top + lineHeight > kButtonRowTop)
                Add("layout", Severity::kNote, at.line, at.column, key.section, key.name,
                    where + ": it reaches the button row (y " + std::to_string(kButtonRowTop) +
                        " and below), where a long line runs under the Play button.");
        }
    }

    void CheckGameName() {
        const ProfileKey &key = Row("GameName");
        std::string name = TextOf(file_, key);
        uint32_t points = IntOf(file_, Row("GameNameFontSize"));
        size_t tilde = name.find('~');
        if (tilde == std::string::npos || points < (uint32_t)kGameNameMinFullHeight)
            return;
        Spot at = Place(key);
        Add("layout", Severity::kWarning, at.line, at.column, key.section, key.name,
            "GameName breaks into two lines at \"~\", but at " + std::to_string(points) +
                " points (12 or more) its box is one line high: the player sees only " +
                Quoted(name.substr(0, tilde)) +
                ". Use a GameNameFontSize below 12 or drop the "
                "\"~\".");
    }

    size_t size_;
    std::string folder_;
    ProfileFile file_;
    std::vector<Finding> findings_;
};

} // namespace

std::vector<Finding> LintProfile(const std::string &bytes, const std::string &gameFolder) {
    return Linter(bytes, gameFolder).Run();
}

std::string ValuesJson(const std::string &bytes) {
    if (bytes.size() <= kProfileUnusableBytes)
        return "null";
    ProfileFile file = ParseProfile(bytes);
    std::string out = "{";
    for (const ProfileKey &key : kProfileKeys) {
        out += out.size() > 1 ? ",\n  " : "\n  ";
        out += "\"" + std::string(key.name) + "\": ";
        if (key.kind == kProfileInteger) {
            out += std::to_string(IntOf(file, key));
            continue;
        }
        std::string text = TextOf(file, key);
        if (strcmp(key.name, "GameName") == 0) // held with its "~" as line breaks
            std::replace(text.begin(), text.end(), '~', '\n');
        out += JsonString(AnsiToUtf8(text));
    }
    return out + "\n}";
}
