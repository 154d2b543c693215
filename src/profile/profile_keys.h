// The profile's file name and its one table of keys: section, name, kind, default and field
// size. The library reads the profile through this table and zellint checks files against it.
#pragma once
#include <stddef.h>
#include <stdint.h>

#include "profile_name.h"
#include "zi_config.h"

enum ProfileKind { kProfileText, kProfileInteger };

struct ProfileKey {
    const char *section;
    const char *name;
    ProfileKind kind;
    const char *textDefault; // text keys
    int32_t intDefault;      // integer keys
    uint32_t size;           // text keys: the field's bytes, terminator included
};

// In the order the library reads them.
constexpr ProfileKey kProfileKeys[] = {
    {"Main", "GameName", kProfileText, "No Name", 0, 64},
    {"Main", "GameNameFontSize", kProfileInteger, "", 16, 0},
    {"Main", "LogoURL", kProfileText, ZI_MAKER_SITE_HOST, 0, 512},
    {"Main", "LaunchSound", kProfileText, "", 0, 260},
    {"Main", "ExitSound", kProfileText, "", 0, 260},
    {"Main", "FullVersion", kProfileText, "", 0, 260},
    {"Main", "Lumora", kProfileText, "", 0, 260},
    {"Action", "PlayButtonLabel", kProfileText, "Play Demo", 0, 32},
    {"Action", "ExitButtonLabel", kProfileText, "Exit", 0, 32},
    {"Upsell", "UpsellWidth", kProfileInteger, "", 260, 0},
    {"Upsell", "UpsellGraphic", kProfileText, "upsell.bmp", 0, 260},
    {"Upsell", "UpsellFontSize", kProfileInteger, "", 16, 0},
    {"Upsell", "UpsellButtonLabel", kProfileText, "Get Games Now", 0, 32},
    {"Upsell", "UpsellURL", kProfileText, ZI_PORTAL_HOME_HOST, 0, 512},
    {"Upsell", "UpsellLine1", kProfileText, "", 0, 128},
    {"Upsell", "UpsellLine2", kProfileText, "", 0, 128},
    {"Upsell", "UpsellLine3", kProfileText, "", 0, 128},
    {"Upsell", "UpsellLine4", kProfileText, "", 0, 128},
    {"Upsell", "UpsellLine5", kProfileText, "", 0, 128},
    {"Upsell", "UpsellLine6", kProfileText, "", 0, 128},
    {"Upsell", "UpsellLine7", kProfileText, "", 0, 128},
    {"Upsell", "UpsellLine8", kProfileText, "", 0, 128},
    {"Upsell", "UpsellLine9", kProfileText, "", 0, 128},
    {"Upsell", "UpsellLine10", kProfileText, "", 0, 128},
    {"Upsell", "UpsellLine11", kProfileText, "", 0, 128},
    {"Upsell", "UpsellLine12", kProfileText, "", 0, 128},
    {"Upsell", "UpsellLine13", kProfileText, "", 0, 128},
    {"Upsell", "UpsellLine14", kProfileText, "", 0, 128},
    {"Upsell", "UpsellLine15", kProfileText, "", 0, 128},
    {"Upsell", "UpsellLine16", kProfileText, "", 0, 128},
};
constexpr size_t kProfileKeyCount = sizeof kProfileKeys / sizeof kProfileKeys[0];

// The rows read before the library's own strings: the information address needs GameName.
constexpr size_t kProfileKeysBeforeStrings = 9;

// The three sections the library reads.
constexpr const char *kProfileSections[] = {"Main", "Action", "Upsell"};
