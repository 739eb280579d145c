// The registry layer (values as the system stores them, and the errors it
// raises when Wine refuses a key or a value), registry locations with their
// exact root tokens, and key removal.
#include <doctest/doctest.h>

#include "services/RegistryAccess.h"
#include "services/RegistryKeys.h"
#include "services/SetupError.h"
#include "services/Win32Registry.h"
#include "support/ScratchRegistry.h"

#include <windows.h>

namespace {

std::string Bytes(const void* data, size_t size)
{
    return std::string(static_cast<const char*>(data), size);
}

std::string WithLeadingBackslash(const std::string& path)
{
    std::string result = "\\";
    result += path;
    return result;
}

// The message of the SetupError that `action` raises; empty when none.
template <typename Action>
std::string RaisedText(Action action)
{
    try {
        action();
    } catch (const SetupError& error) {
        return error.Message();
    }
    return {};
}

// The code, the subject and what was being done, of the error `action` raises.
template <typename Action>
std::string RaisedFacts(Action action)
{
    try {
        action();
    } catch (const SetupError& error) {
        const char* done = error.WhatWasDone() == SetupError::Action::CreatingKey ? "key " : "value ";
        return done + error.Subject() + " " + std::to_string(error.Code());
    }
    return {};
}

}  // namespace

TEST_CASE("the registry layer writes each type as the system stores it")
{
    NoJournal unjournaled;
    ScratchKey scratch(HKEY_CURRENT_USER, "access");
    RegistryAccess registry(HKEY_CURRENT_USER, unjournaled);
    registry.CreateKey(scratch / "Made\\Deep");
    CHECK(KeyExists(HKEY_CURRENT_USER, scratch / "Made\\Deep"));

    // A leading backslash means the same key.
    REQUIRE(registry.OpenKey(WithLeadingBackslash(scratch / "Tool"), true));
    registry.WriteString("", "表示ソフト");
    registry.WriteString("Path", "C:\\Program Files\\表\\");
    registry.WriteExpandString("Help", "%SystemRoot%\\HELP");
    registry.WriteInteger("Count", -2);
    registry.WriteBinary("Flags", 0x12345678);
    const std::string tool = scratch / "Tool";
    CHECK(ReadStoredValue(HKEY_CURRENT_USER, tool, "Path").has_value());
    CHECK(ReadStoredValue(HKEY_CURRENT_USER, tool, "").has_value());
    CHECK_FALSE(ReadStoredValue(HKEY_CURRENT_USER, tool, "Other").has_value());
    const RegKey opened = OpenRegKey(HKEY_CURRENT_USER, tool);
    REQUIRE(opened);
    CHECK(ReadRegString(opened.Get(), "Path") == "C:\\Program Files\\表\\");
    CHECK(ReadRegString(opened.Get(), "Help") == "%SystemRoot%\\HELP");
    CHECK(registry.ReadInteger("Count") == -2);
    CHECK_FALSE(registry.ReadInteger("Path").has_value());
    CHECK_FALSE(registry.ReadInteger("Flags").has_value());
    registry.CloseKey();

    const auto defaultValue = ReadStoredValue(HKEY_CURRENT_USER, tool, "");
    REQUIRE(defaultValue);
    CHECK(defaultValue->type == REG_SZ);
    CHECK(defaultValue->bytes == Bytes("表示ソフト", 11));
    const auto help = ReadStoredValue(HKEY_CURRENT_USER, tool, "Help");
    REQUIRE(help);
    CHECK(help->type == REG_EXPAND_SZ);
    const auto count = ReadStoredValue(HKEY_CURRENT_USER, tool, "Count");
    REQUIRE(count);
    CHECK(count->type == REG_DWORD);
    CHECK(count->bytes == Bytes("\xFE\xFF\xFF\xFF", 4));
    const auto flags = ReadStoredValue(HKEY_CURRENT_USER, tool, "Flags");
    REQUIRE(flags);
    CHECK(flags->type == REG_BINARY);
    CHECK(flags->bytes == Bytes("\x78\x56\x34\x12", 4));

    // Opening without creating, and deleting a value.
    CHECK_FALSE(registry.OpenKey(scratch / "Missing", false));
    CHECK_FALSE(KeyExists(HKEY_CURRENT_USER, scratch / "Missing"));
    REQUIRE(registry.OpenKey(tool, false));
    CHECK(registry.DeleteValue("Count"));
    CHECK_FALSE(registry.DeleteValue("Count"));
    CHECK_FALSE(ReadStoredValue(HKEY_CURRENT_USER, tool, "Count"));
}

TEST_CASE("a key that cannot be created raises the layer's key text")
{
    NoJournal unjournaled;
    ScratchKey scratch(HKEY_CURRENT_USER, "nokey");
    REQUIRE(MakeKey(HKEY_CURRENT_USER, scratch.Path()));
    REQUIRE(MakeVolatileKey(HKEY_CURRENT_USER, scratch / "Volatile"));
    const std::string refused = scratch / "Volatile\\表ソ";
    RegistryAccess registry(HKEY_CURRENT_USER, unjournaled);

    const std::string text = RaisedText([&] { registry.CreateKey(refused); });
    CHECK(text == "ｷｰ " + refused + " の作成に失敗しました");
    // "ｷｰ" is two half-width katakana, one byte each.
    CHECK(text.substr(0, 3) == "\xB7\xB0 ");
    // The error keeps what was done and the system's code.
    CHECK(RaisedFacts([&] { registry.CreateKey(refused); }) == "key " + refused + " 1021");
    // Opening reports by result.
    CHECK_FALSE(registry.OpenKey(refused, true));
    CHECK_FALSE(KeyExists(HKEY_CURRENT_USER, refused));
}

TEST_CASE("a value that cannot be written raises the layer's value text, for every type")
{
    NoJournal unjournaled;
    ScratchKey scratch(HKEY_CURRENT_USER, "novalue");
    RegistryAccess registry(HKEY_CURRENT_USER, unjournaled);

    // No key open: nothing can be written.
    CHECK(RaisedText([&] { registry.WriteString("Name", "x"); }) == "'Name' の設定に失敗しました");

    // A key deleted while it is open refuses every value (1018).
    REQUIRE(registry.OpenKey(scratch.Path(), true));
    REQUIRE(RegDeleteKeyA(HKEY_CURRENT_USER, scratch.Path().c_str()) == ERROR_SUCCESS);
    CHECK(RaisedText([&] { registry.WriteString("表示", "x"); }) == "'表示' の設定に失敗しました");
    CHECK(RaisedFacts([&] { registry.WriteString("表示", "x"); }) == "value 表示 1018");
    CHECK(RaisedText([&] { registry.WriteExpandString("Exp", "x"); }) == "'Exp' の設定に失敗しました");
    CHECK(RaisedText([&] { registry.WriteInteger("Dwd", 1); }) == "'Dwd' の設定に失敗しました");
    CHECK(RaisedText([&] { registry.WriteBinary("Bin", 1); }) == "'Bin' の設定に失敗しました");
    CHECK(RaisedText([&] { registry.WriteString("", "x"); }) == "'' の設定に失敗しました");

    // A value name longer than the system allows (16383 characters).
    REQUIRE(registry.OpenKey(scratch.Path(), true));
    const std::string tooLong(16384, 'N');
    CHECK(RaisedText([&] { registry.WriteInteger(tooLong, 1); }) == "'" + tooLong + "' の設定に失敗しました");
}

TEST_CASE("a registry location is a seven-character root token and a key path")
{
    const auto local = SplitRegistryLocation("(Local)SOFTWARE\\Maker\\Tool");
    CHECK(local.rootToken == "(Local)");
    CHECK(local.keyPath == "SOFTWARE\\Maker\\Tool");
    const auto leading = SplitRegistryLocation("(Class)\\.txt");
    CHECK(leading.rootToken == "(Class)");
    CHECK(leading.keyPath == "\\.txt");
    // The token's shape counts, not its spelling; the root decides later.
    const auto lower = SplitRegistryLocation("(local)Software\\表");
    CHECK(lower.rootToken == "(local)");
    CHECK(lower.keyPath == "Software\\表");
    const auto tokenOnly = SplitRegistryLocation("(Users)");
    CHECK(tokenOnly.rootToken == "(Users)");
    CHECK(tokenOnly.keyPath.empty());
    // No token: the whole text below HKEY_CURRENT_USER.
    for (const std::string whole : {"Software\\Maker", "(Local", "(Loc)Software", "Local)Software", "", "表示(Local)x"}) {
        const auto plain = SplitRegistryLocation(whole);
        CHECK(plain.rootToken == "(Cuser)");
        CHECK(plain.keyPath == whole);
    }

    CHECK(RootKeyOf("(Cuser)") == HKEY_CURRENT_USER);
    CHECK(RootKeyOf("(Class)") == HKEY_CLASSES_ROOT);
    CHECK(RootKeyOf("(Local)") == HKEY_LOCAL_MACHINE);
    CHECK(RootKeyOf("(Users)") == HKEY_USERS);
    CHECK(RootKeyOf("(local)") == HKEY_CURRENT_USER);
    CHECK(RootKeyOf("(LOCAL)") == HKEY_CURRENT_USER);
    CHECK(RootKeyOf("(Other)") == HKEY_CURRENT_USER);
    CHECK(RootKeyOf("") == HKEY_CURRENT_USER);
}

TEST_CASE("DeleteRegistryKey removes a key with every level below it, below the root its token names")
{
    ScratchKey user(HKEY_CURRENT_USER, "delkey");
    ScratchKey machine(HKEY_LOCAL_MACHINE, "delkey");
    REQUIRE(StoreValue(HKEY_CURRENT_USER, user / "Tool\\A\\B\\C", "v", REG_SZ, "x"));
    REQUIRE(StoreValue(HKEY_CURRENT_USER, user / "Tool\\A", "v", REG_SZ, "x"));
    REQUIRE(MakeKey(HKEY_CURRENT_USER, user / "Tool\\D\\E"));
    REQUIRE(MakeKey(HKEY_CURRENT_USER, user / "Keep"));
    REQUIRE(MakeKey(HKEY_LOCAL_MACHINE, machine / "Tool\\A\\B\\C"));
    REQUIRE(MakeKey(HKEY_LOCAL_MACHINE, machine / "Keep"));

    // As the uninstall splits its record's values.
    const auto location = SplitRegistryLocation("(Local)" + machine / "Tool");
    CHECK(DeleteRegistryKey(location.rootToken, location.keyPath));
    CHECK_FALSE(KeyExists(HKEY_LOCAL_MACHINE, machine / "Tool"));
    CHECK(KeyExists(HKEY_LOCAL_MACHINE, machine / "Keep"));

    // A location without a token is a path below HKEY_CURRENT_USER; a
    // leading backslash means the same.
    const auto bare = SplitRegistryLocation(WithLeadingBackslash(user / "Tool"));
    CHECK(DeleteRegistryKey(bare.rootToken, bare.keyPath));
    CHECK_FALSE(KeyExists(HKEY_CURRENT_USER, user / "Tool"));
    CHECK(KeyExists(HKEY_CURRENT_USER, user / "Keep"));

    // A key that is not there is no error.
    CHECK(DeleteRegistryKey("(Cuser)", user / "Tool"));
}

TEST_CASE("DeleteRegistryKey takes the tokens exactly and never deletes a whole root")
{
    ScratchKey user(HKEY_CURRENT_USER, "deltoken");
    ScratchKey machine(HKEY_LOCAL_MACHINE, user);
    // "(local)" in lower case is no token of HKEY_LOCAL_MACHINE: the key of
    // the same path below HKEY_CURRENT_USER goes.
    const std::string samePath = user / "Same";
    REQUIRE(MakeKey(HKEY_CURRENT_USER, samePath + "\\Sub"));
    REQUIRE(MakeKey(HKEY_LOCAL_MACHINE, samePath + "\\Sub"));
    CHECK(DeleteRegistryKey("(local)", samePath));
    CHECK_FALSE(KeyExists(HKEY_CURRENT_USER, samePath));
    CHECK(KeyExists(HKEY_LOCAL_MACHINE, samePath));
    CHECK(DeleteRegistryKey("(Local)", samePath));
    CHECK_FALSE(KeyExists(HKEY_LOCAL_MACHINE, samePath));

    // An empty key path, or one that is a lone backslash, deletes nothing.
    REQUIRE(MakeKey(HKEY_CURRENT_USER, user / "Kept"));
    for (const std::string token : {"(Cuser)", "(Local)", "(Class)", "(Users)"}) {
        CHECK(DeleteRegistryKey(token, ""));
        CHECK(DeleteRegistryKey(token, "\\"));
    }
    CHECK(KeyExists(HKEY_CURRENT_USER, user / "Kept"));
    CHECK(KeyExists(HKEY_LOCAL_MACHINE, machine.Path()));
    CHECK(KeyExists(HKEY_CURRENT_USER, "Software"));
}

TEST_CASE("DeleteRegistryKey removes a file type below HKEY_CLASSES_ROOT and a key below HKEY_USERS")
{
    const std::string extension = ".orv" + std::to_string(GetCurrentProcessId());
    const std::string fileType = extension.substr(1) + "_auto_file";
    REQUIRE(StoreValue(HKEY_CLASSES_ROOT, extension, "", REG_SZ, fileType));
    REQUIRE(StoreValue(HKEY_CLASSES_ROOT, fileType + "\\shell\\open\\command", "", REG_SZ, "VIEW.EXE %1"));
    REQUIRE(MakeKey(HKEY_CLASSES_ROOT, fileType + "\\DefaultIcon"));
    CHECK(DeleteRegistryKey("(Class)", fileType));
    CHECK(DeleteRegistryKey("(Class)", extension));
    CHECK_FALSE(KeyExists(HKEY_CLASSES_ROOT, fileType));
    CHECK_FALSE(KeyExists(HKEY_CLASSES_ROOT, extension));

    const std::string users = ".DEFAULT\\Software\\OrvaneSetupTests\\users-" + std::to_string(GetCurrentProcessId());
    REQUIRE(MakeKey(HKEY_USERS, users + "\\A\\B"));
    CHECK(DeleteRegistryKey("(Users)", users));
    CHECK_FALSE(KeyExists(HKEY_USERS, users));
}
