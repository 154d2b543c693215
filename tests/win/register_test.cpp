// Self-registration: the library's path under HKEY_CLASSES_ROOT, through the exports that
// regsvr32 calls, found by their names.
#include <gtest/gtest.h>

#include "win_test_util.h"

namespace {

const char kKey[] = "Software\\Pellago\\Preferences";
const char kValue[] = "ZelInterstitialDLL";

// A value under the library's key: whether the key exists, whether the value does, its type
// and its bytes.
struct Value {
    bool key = false, present = false;
    DWORD type = 0;
    std::string data;
};
Value ReadValue(const char *name = kValue) {
    Value value;
    HKEY key;
    char data[2048];
    DWORD size = sizeof data;
    value.key = RegOpenKeyExA(HKEY_CLASSES_ROOT, kKey, 0, KEY_READ, &key) == ERROR_SUCCESS;
    value.present = value.key && RegQueryValueExA(key, name, NULL, &value.type, (BYTE *)data,
                                                  &size) == ERROR_SUCCESS;
    value.data.assign(data, value.present ? size : 0);
    if (value.key)
        RegCloseKey(key);
    return value;
}

// Each row starts from no key, or from the key with a value "Other" and, when `type` is not
// 0, the library's value as given; it calls one export and looks at the value afterwards.
// Every call answers 0, and "Other" always stays.
TEST(Registration, EachExportOnEachStartingValue) {
    const std::string dll = BinFolder() + "ZelInterstitial.dll";
    HMODULE module = LoadLibraryA(dll.c_str());
    ASSERT_NE((HMODULE)NULL, module);
    // What a registration writes: the library's path, then zeros up to the 261st byte.
    const std::string written = dll + std::string(261 - dll.size(), '\0');
    enum After { kWritten, kKept, kRemoved };
    struct Row {
        const char *what;
        const char *exportName;
        bool key;
        DWORD type; // 0: no value
        std::string data;
        After after;
    } rows[] = {
        {"first registration", "DllRegisterServer", false, 0, "", kWritten},
        {"a second registration: 261 bytes fail the 260-byte test", "DllRegisterServer", true,
         REG_SZ, std::string(261, 'Z'), kWritten},
        {"another path", "DllRegisterServer", true, REG_SZ, std::string("C:\\o.dll") + '\0', kKept},
        {"a number", "DllRegisterServer", true, REG_DWORD, std::string("\1\0\0\0", 4), kKept},
        {"1 byte", "DllRegisterServer", true, REG_BINARY, "x", kKept},
        {"260 bytes", "DllRegisterServer", true, REG_BINARY, std::string(260, 'b'), kKept},
        {"empty: not registered", "DllRegisterServer", true, REG_SZ, "", kWritten},
        {"unregistration", "DllUnRegisterServer", true, REG_SZ, written, kRemoved},
        {"lower-case unregistration", "DllUnregisterServer", true, REG_SZ, written, kRemoved},
        {"unregistration, no value", "DllUnRegisterServer", true, 0, "", kRemoved},
        {"unregistration, no key", "DllUnRegisterServer", false, 0, "", kRemoved},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        DeleteClassesTree("Software\\Pellago");
        if (row.key) {
            ASSERT_TRUE(SetClassesValue(kKey, "Other", REG_SZ, std::string("keep") + '\0'));
        }
        if (row.type != 0) {
            ASSERT_TRUE(SetClassesValue(kKey, kValue, row.type, row.data));
        }
        auto fn = (HRESULT(WINAPI *)())(void (*)())GetProcAddress(module, row.exportName);
        ASSERT_NE(nullptr, fn) << "no export " << row.exportName;
        EXPECT_EQ(S_OK, fn());
        Value value = ReadValue();
        EXPECT_EQ(row.after != kRemoved, value.present);
        if (row.after == kWritten) {
            EXPECT_EQ((DWORD)REG_SZ, value.type);
            EXPECT_EQ(written, value.data);
        } else if (row.after == kKept) {
            EXPECT_EQ(row.type, value.type);
            EXPECT_EQ(row.data, value.data);
        }
        EXPECT_EQ(row.key || row.after == kWritten, value.key);
        EXPECT_EQ(row.key, ReadValue("Other").present);
    }
    DeleteClassesTree("Software\\Pellago");
    FreeLibrary(module);
}

} // namespace
