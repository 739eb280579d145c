// The uninstall's registry work and its small per-machine file: recorded
// keys, associations given back or removed, the Add/Remove entry, and the
// program's section of OVSET98.INI.
#include <doctest/doctest.h>

#include "UninstallFixture.h"
#include "services/Win32Registry.h"
#include "support/ScratchRegistry.h"

#include <windows.h>
#include <sddl.h>

#include <memory>

namespace {

std::string DefaultValue(const std::string& key)
{
    return StoredText(HKEY_CLASSES_ROOT, key, "");
}

// The extension's key and the file type as an install leaves them.
void Associate(const ScratchExtension& extension)
{
    REQUIRE(StoreValue(HKEY_CLASSES_ROOT, extension.Key(), "", REG_SZ, extension.FileType() + '\0'));
    REQUIRE(MakeKey(HKEY_CLASSES_ROOT, extension.FileType() + "\\shell\\open\\command"));
}

// Lets everyone read and delete the key and change its security, but not
// write its values: a key that can be opened only for reading.
void MakeValuesReadOnly(const std::string& key)
{
    PSECURITY_DESCRIPTOR made = nullptr;
    REQUIRE(ConvertStringSecurityDescriptorToSecurityDescriptorA("D:P(A;;KRSDWD;;;WD)", SDDL_REVISION_1, &made,
                                                                 nullptr));
    const std::unique_ptr<void, decltype(&LocalFree)> descriptor(made, &LocalFree);
    const RegKey opened = OpenRegKey(HKEY_CLASSES_ROOT, key, WRITE_DAC);
    REQUIRE(opened);
    CHECK(RegSetKeySecurity(opened.Get(), DACL_SECURITY_INFORMATION, descriptor.get()) == ERROR_SUCCESS);
    RegKey writable;
    REQUIRE(RegOpenKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_SET_VALUE, writable.Receive()) == ERROR_ACCESS_DENIED);
}

}  // namespace

TEST_CASE("recorded registry keys go with their subkeys, under the root their token names")
{
    UninstallFixture fixture;
    ScratchKey user(HKEY_CURRENT_USER, "uninst");
    ScratchKey bare(HKEY_CURRENT_USER, "uninst-bare");
    ScratchKey machine(HKEY_LOCAL_MACHINE, "uninst");
    ScratchKey sameInMachine(HKEY_LOCAL_MACHINE, bare);
    for (const ScratchKey* key : {&user, &bare, &machine, &sameInMachine})
        REQUIRE(MakeKey(key->Root(), *key / "深い\\さらに深い"));
    REQUIRE(MakeKey(HKEY_CURRENT_USER, user.Path() + "-sibling"));
    fixture.record.registryKeys = {"(Cuser)" + user.Path(), bare.Path(), "(Local)\\" + machine.Path()};
    ScriptedDialogs person;
    person.Answer(IDOK);
    fixture.Uninstall();
    CHECK_FALSE(KeyExists(HKEY_CURRENT_USER, user.Path()));
    CHECK_FALSE(KeyExists(HKEY_CURRENT_USER, bare.Path()));
    CHECK_FALSE(KeyExists(HKEY_LOCAL_MACHINE, machine.Path()));
    CHECK(KeyExists(HKEY_LOCAL_MACHINE, sameInMachine.Path()));
    CHECK(KeyExists(HKEY_CURRENT_USER, user.Path() + "-sibling"));
    RegDeleteKeyA(HKEY_CURRENT_USER, (user.Path() + "-sibling").c_str());
    CHECK(person.Boxes().size() == 1);
}

TEST_CASE("associations get their earlier file type back, or lose both keys when they had none")
{
    UninstallFixture fixture;
    ScratchExtension restored, withoutType, keepsInstalledType, keyGone, readOnly;
    for (const ScratchExtension* extension : {&restored, &withoutType, &keepsInstalledType, &keyGone, &readOnly})
        Associate(*extension);
    REQUIRE(RegDeleteTreeA(HKEY_CLASSES_ROOT, keyGone.Key().c_str()) == ERROR_SUCCESS);
    RegDeleteKeyA(HKEY_CLASSES_ROOT, keyGone.Key().c_str());
    MakeValuesReadOnly(readOnly.Key());
    const std::string upperInstalledType = keepsInstalledType.Name() + "_AUTO_FILE";
    fixture.record.associations = {
        restored.Name() + ",txtfile",
        withoutType.Name() + ",",
        keepsInstalledType.Name() + "," + upperInstalledType,
        keyGone.Name() + ",txtfile",
        readOnly.Name() + ",txtfile",
    };
    ScriptedDialogs person;
    person.Answer(IDOK);
    fixture.Uninstall();

    CHECK(DefaultValue(restored.Key()) == "txtfile");
    CHECK_FALSE(KeyExists(HKEY_CLASSES_ROOT, restored.FileType()));

    CHECK_FALSE(KeyExists(HKEY_CLASSES_ROOT, withoutType.Key()));
    CHECK_FALSE(KeyExists(HKEY_CLASSES_ROOT, withoutType.FileType()));

    CHECK(DefaultValue(keepsInstalledType.Key()) == upperInstalledType);
    CHECK(KeyExists(HKEY_CLASSES_ROOT, keepsInstalledType.FileType()));

    // The earlier type has no key to go back into: the extension is not made
    // again, and the installed type goes.
    CHECK_FALSE(KeyExists(HKEY_CLASSES_ROOT, keyGone.Key()));
    CHECK_FALSE(KeyExists(HKEY_CLASSES_ROOT, keyGone.FileType()));

    // Skipped whole: the extension still names the installed type, which
    // therefore stays too.
    CHECK(DefaultValue(readOnly.Key()) == readOnly.FileType());
    CHECK(KeyExists(HKEY_CLASSES_ROOT, readOnly.FileType()));
    CHECK(person.Boxes().size() == 1);
}

TEST_CASE("the Add/Remove entry and the program's section of OVSET98.INI go; other programs' stay")
{
    UninstallFixture fixture;
    ScratchKey entry(HKEY_LOCAL_MACHINE, "uninst-entry");
    REQUIRE(StoreValue(HKEY_LOCAL_MACHINE, entry.Path(), "DisplayName", REG_SZ, std::string("表示ソフト") + '\0'));
    const std::string list = fixture.run.windows / "OVSET98.INI";
    WriteTextFile(list, "[表示01]\r\nFolder=" + fixture.app.Path() + "\r\n[OTHER]\r\nFolder=C:\\OTHER\\\r\n");
    fixture.record.uninstallKey = entry.Path();
    fixture.record.programId = "表示01";
    ScriptedDialogs person;
    person.Answer(IDOK);
    fixture.Uninstall();
    CHECK_FALSE(KeyExists(HKEY_LOCAL_MACHINE, entry.Path()));
    CHECK(ReadTextFile(list) == "[OTHER]\r\nFolder=C:\\OTHER\\\r\n");
    CHECK(fixture.run.state.programId == "表示01");
}
