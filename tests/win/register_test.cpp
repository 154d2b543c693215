// Self-registration: the library's path under HKEY_CLASSES_ROOT, through the exports and
// through the platform's own regsvr32.
#include <gtest/gtest.h>

#include "win_test_util.h"

namespace {

const char kKey[] = "Software\\Pellago\\Preferences";
const char kValue[] = "ZelInterstitialDLL";

typedef HRESULT(WINAPI *RegistrationFn)();

struct Value {
    bool present = false;
    DWORD type = 0;
    std::string data;
};

Value ReadValue(const char *name = kValue) {
    Value value;
    HKEY key;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, kKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return value;
    char data[2048];
    DWORD size = sizeof data;
    if (RegQueryValueExA(key, name, NULL, &value.type, (BYTE *)data, &size) == ERROR_SUCCESS) {
        value.present = true;
        value.data.assign(data, size);
    }
    RegCloseKey(key);
    return value;
}

bool KeyExists() {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, kKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

class Registration : public ::testing::Test {
protected:
    void SetUp() override {
        DeleteClassesTree("Software\\Pellago");
        dllPath_ = BinFolder() + "ZelInterstitial.dll";
        dll_ = LoadLibraryA(dllPath_.c_str());
        ASSERT_NE((HMODULE)NULL, dll_);
        registerServer_ = (RegistrationFn)(void (*)(void))GetProcAddress(dll_, "DllRegisterServer");
        unregisterServer_ =
            (RegistrationFn)(void (*)(void))GetProcAddress(dll_, "DllUnRegisterServer");
        ASSERT_NE(nullptr, registerServer_);
        ASSERT_NE(nullptr, unregisterServer_);
    }
    void TearDown() override {
        DeleteClassesTree("Software\\Pellago");
        FreeLibrary(dll_);
    }
    // What a registration writes: the path, then zeros up to the 261st byte.
    std::string Written() const {
        std::string expected = dllPath_;
        expected.resize(261, '\0');
        return expected;
    }

    std::string dllPath_;
    HMODULE dll_ = NULL;
    RegistrationFn registerServer_ = nullptr;
    RegistrationFn unregisterServer_ = nullptr;
};

TEST_F(Registration, WritesAll261BytesAndRewritesItsOwnValue) {
    EXPECT_EQ(S_OK, registerServer_());
    Value value = ReadValue();
    ASSERT_TRUE(value.present) << "the key and value are created";
    EXPECT_EQ((DWORD)REG_SZ, value.type);
    EXPECT_EQ(261u, value.data.size());
    EXPECT_EQ(Hex(Written()), Hex(value.data));

    // 261 bytes do not fit the 260-byte test, so the next registration writes again.
    SetClassesValue(kKey, kValue, REG_SZ, std::string(261, 'Z'));
    EXPECT_EQ(S_OK, registerServer_());
    EXPECT_EQ(Hex(Written()), Hex(ReadValue().data));
}

TEST_F(Registration, AnExistingValueOfOneTo260BytesIsLeftAlone) {
    struct Row {
        DWORD type;
        std::string data;
    } rows[] = {
        {REG_SZ, std::string("C:\\elsewhere\\other.dll") + '\0'},
        {REG_DWORD, std::string("\x01\x00\x00\x00", 4)},
        {REG_BINARY, std::string(1, 'x')},
        {REG_SZ, std::string(259, 'y') + '\0'},
        {REG_BINARY, std::string(260, 'b')},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.data.size());
        ASSERT_TRUE(SetClassesValue(kKey, kValue, row.type, row.data));
        EXPECT_EQ(S_OK, registerServer_());
        Value value = ReadValue();
        EXPECT_EQ(row.type, value.type);
        EXPECT_EQ(Hex(row.data), Hex(value.data));
    }
    // An empty value counts as not registered.
    ASSERT_TRUE(SetClassesValue(kKey, kValue, REG_SZ, ""));
    EXPECT_EQ(S_OK, registerServer_());
    EXPECT_EQ(Hex(Written()), Hex(ReadValue().data));
}

TEST_F(Registration, UnregistrationRemovesOnlyTheValue) {
    EXPECT_EQ(S_OK, unregisterServer_()) << "no key: nothing to do";
    EXPECT_FALSE(KeyExists());

    ASSERT_TRUE(SetClassesValue(kKey, "Other", REG_SZ, std::string("keep") + '\0'));
    EXPECT_EQ(S_OK, unregisterServer_()) << "key without the value";
    EXPECT_EQ("keep", ReadValue("Other").data.substr(0, 4));

    EXPECT_EQ(S_OK, registerServer_());
    EXPECT_EQ(S_OK, unregisterServer_());
    EXPECT_FALSE(ReadValue().present);
    EXPECT_TRUE(KeyExists());
    EXPECT_TRUE(ReadValue("Other").present);

    RegistrationFn lowerCase =
        (RegistrationFn)(void (*)(void))GetProcAddress(dll_, "DllUnregisterServer");
    ASSERT_NE(nullptr, lowerCase);
    EXPECT_EQ(S_OK, registerServer_());
    EXPECT_EQ(S_OK, lowerCase());
    EXPECT_FALSE(ReadValue().present);
}

DWORD RunRegsvr32(const std::string &arguments) {
    char system[MAX_PATH];
    GetSystemDirectoryA(system, sizeof system);
    std::string commandLine = std::string("\"") + system + "\\regsvr32.exe\" /s " + arguments;
    std::vector<char> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(NULL, buffer.data(), NULL, NULL, FALSE, 0, NULL, NULL, &startup,
                        &process))
        return (DWORD)-1;
    WaitForSingleObject(process.hProcess, 30000);
    DWORD code = (DWORD)-1;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code;
}

TEST_F(Registration, ThePlatformToolRegistersAndUnregisters) {
    TempFolder folder;
    std::string copy = folder.File("ZelInterstitial.dll");
    ASSERT_TRUE(CopyFileA(dllPath_.c_str(), copy.c_str(), FALSE));
    EXPECT_EQ(0u, RunRegsvr32("\"" + copy + "\""));
    std::string expected = copy;
    expected.resize(261, '\0');
    EXPECT_EQ(Hex(expected), Hex(ReadValue().data));

    EXPECT_EQ(0u, RunRegsvr32("/u \"" + copy + "\""));
    EXPECT_FALSE(ReadValue().present);
    EXPECT_TRUE(KeyExists());
}

}  // namespace
