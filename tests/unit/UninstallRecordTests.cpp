// The uninstall record: written from the install's lists, merged with an
// earlier record of the same folder, compared byte for byte with the record
// written key by key, and put in place without a moment without a record.
#include <doctest/doctest.h>

#include "record/PreviousRecord.h"
#include "record/RestoreSlots.h"
#include "record/SetupFolderList.h"
#include "record/UninstallRecord.h"
#include "services/Win32Registry.h"
#include "support/ReferenceRecordWriter.h"
#include "support/Scratch.h"
#include "support/Scripted.h"
#include "support/Utf8.h"
#include "text/IniFile.h"

#include <windows.h>

#include <cstdint>

namespace {

const std::string AddRemoveKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Sample Uninstall";

// A setup folder and a work folder, and the script's [Extend] UnSetupOption.
struct RecordPlace {
    ScratchFolder folder;
    UninstallRecordInput input;

    explicit RecordPlace(const std::string& root = "", const std::string& option = "1,0,0,0")
        : folder(root.empty() ? std::string("record") : root)
    {
        const std::string app = folder / "APP\\";
        const std::string work = folder / "WORK\\";
        CreateDirectoryA(app.c_str(), nullptr);
        CreateDirectoryA(work.c_str(), nullptr);
        input = {app + "UNSETUP.INI", work, option, "Sample Uninstall", "C:\\Program Files\\Sample\\"};
    }
    std::string Record() const { return ReadTextFile(input.recordPath); }
    std::string Backup() const { return input.workFolder + "UNSETUPB.INI"; }
};

// The whole completion sequence on the record: lists, then the Add/Remove key
// path, then the program ID.
unsigned long WriteFast(const RecordPlace& place, const UninstallLists& lists, const RestoreSlots& slots,
                        const std::string& programId = "SAMPLE01")
{
    const unsigned long result = WriteUninstallRecord(place.input, lists, slots, nullptr);
    WriteUnSetupRegistryKey(place.input.recordPath, AddRemoveKey);
    WriteProgramId(place.input.recordPath, programId);
    return result;
}

void WriteReference(const RecordPlace& place, const UninstallLists& lists, const RestoreSlots& slots,
                    const std::string& programId = "SAMPLE01")
{
    WriteRecordKeyByKey(place.input, lists, slots);
    WriteUnSetupRegistryKey(place.input.recordPath, AddRemoveKey);
    WriteProgramId(place.input.recordPath, programId);
}

// The same install written both ways, in two setup folders; the bytes must match.
void CheckSameAsKeyByKey(const UninstallLists& lists, const RestoreSlots& slots)
{
    RecordPlace fast;
    RecordPlace reference;
    CHECK(WriteFast(fast, lists, slots) == 0);
    WriteReference(reference, lists, slots);
    const std::string written = fast.Record();
    CHECK(written.find("[DeleteFile]") != std::string::npos);
    CHECK(Utf8(written) == Utf8(reference.Record()));
}

// A small deterministic generator for varied lists.
struct Lcg {
    uint32_t state;
    uint32_t Next(uint32_t bound)
    {
        state = state * 1664525u + 1013904223u;
        return (state >> 8) % bound;
    }
};

}  // namespace

TEST_CASE("a record without options or program ID lacks those sections and writes ID=")
{
    RecordPlace place("bare", "");
    UninstallLists lists;
    lists.deleteFileList = {"C:\\APP\\UNSETUP.INI"};
    REQUIRE(WriteFast(place, lists, RestoreSlots{}, "") == 0);
    const std::vector<std::string> lines = NonBlankLines(place.Record());
    const std::vector<std::string> tail(lines.begin() + 9, lines.end());
    CHECK(tail == std::vector<std::string>{"[DeleteFile]", "File1=C:\\APP\\UNSETUP.INI", "[UnSetupRegistryKey]",
                                           "Key=" + AddRemoveKey, "[ProgramID]", "ID="});
}

TEST_CASE("the fast record equals the key-by-key record byte for byte")
{
    SUBCASE("duplicates, switches, empty items and Shift-JIS paths")
    {
        UninstallLists lists;
        lists.deleteFolderList = {"C:\\表\\", "C:\\APP\\DATA\\", "c:\\表\\", "C:\\ソ\\能\\"};
        lists.deleteFileList = {"C:\\表\\ソ.DLL,/S",  "C:\\表\\ｿ.DLL",     "c:\\表\\ソ.dll",   "C:\\APP\\A.EXE,/R",
                                "C:\\APP\\a.exe,/S", "C:\\APP\\A.EXE",    "C:\\APP\\B.OCX,/R", "C:\\app\\b.ocx,/W",
                                ",/S",              "C:\\APP\\C.EXE",    "  C:\\APP\\D.EXE ", "C:\\APP\\D.EXE,/s",
                                "\"C:\\Q\"",        "C:\\Q,/R",          "C:\\APP\\UNSETUP.INI"};
        lists.deleteShortCutList = {"C:\\L\\ａ.lnk", "", "C:\\L\\Ａ.LNK", "C:\\L\\b.lnk", ""};
        lists.deleteRegistryList = {"(Cuser)Software\\表", "(CUSER)SOFTWARE\\表", "Software\\A"};
        lists.addDeleteFileList = {"C:\\APP\\*.LOG", "C:\\APP\\*.log,/L", "C:\\APP\\あ.TXT", "C:\\APP\\ア.TXT"};
        RestoreSlots slots;
        slots[0] = "smp,";
        slots[1] = "ado,Old.type";
        CheckSameAsKeyByKey(lists, slots);
    }
    SUBCASE("varied lists from a fixed pool")
    {
        const std::vector<std::string> paths = {"C:\\APP\\A.DLL", "c:\\app\\a.dll", "C:\\表\\ソ.DLL", "C:\\表\\ｿ.DLL",
                                                "C:\\APP\\ポ.EXE", "C:\\APP\\B.EXE", "", "C:\\APP\\Ｂ.EXE"};
        const std::vector<std::string> switches = {"", ",/S", ",/R", ",/S/R", ",/r", ",/s", ",/W", ",/C/L", ","};
        for (uint32_t seed = 1; seed <= 4; ++seed) {
            CAPTURE(seed);
            Lcg random{seed};
            UninstallLists lists;
            for (const RecordList list : AllRecordLists) {
                for (int i = 0; i < 30; ++i)
                    lists[list].push_back(paths[random.Next(8)] + switches[random.Next(9)]);
            }
            CheckSameAsKeyByKey(lists, RestoreSlots{});
        }
    }
}

TEST_CASE("an earlier record is backed up and merged into the lists and slots")
{
    NoJournal unjournaled;
    RecordPlace place;
    const std::string earlier =
        "[DeleteFolder]\r\nFolder1=C:\\APP\\DATA\\\r\n"
        "[DeleteFile]\r\nFile1=C:\\APP\\A.EXE\r\nFile2=C:\\APP\\表.DLL,/S\r\nFile4=C:\\APP\\NEVER.EXE\r\n"
        "[DeleteShortCut]\r\nFile1=C:\\L\\A.lnk\r\n"
        "[DeleteRegistry]\r\nKey1=(Cuser)Software\\A\r\n"
        "[AddDeleteFile]\r\nFile1=C:\\APP\\*.LOG\r\n"
        "[RestoreRelate]\r\nKey1=ado,\r\nKey3=do,\r\nKey4=ADO,Other\r\nKey5=ado,\r\nKey20=txt,txtfile\r\n";
    WriteTextFile(place.input.recordPath, earlier);

    UninstallLists lists;
    RestoreSlots slots;
    LoadPreviousRecord(place.input.recordPath, place.Backup(), lists, slots, unjournaled);
    CHECK(ReadTextFile(place.Backup()) == earlier);
    CHECK(lists.deleteFolderList == std::vector<std::string>{"C:\\APP\\DATA\\"});
    CHECK(lists.deleteFileList == std::vector<std::string>{"C:\\APP\\A.EXE", "C:\\APP\\表.DLL,/S"});
    CHECK(lists.deleteShortCutList == std::vector<std::string>{"C:\\L\\A.lnk"});
    CHECK(lists.deleteRegistryList == std::vector<std::string>{"(Cuser)Software\\A"});
    CHECK(lists.addDeleteFileList == std::vector<std::string>{"C:\\APP\\*.LOG"});
    // All twenty keys are read; one slot per extension, case ignored; "do"
    // lies inside "ado" but is an extension of its own.
    RestoreSlots expected;
    expected[0] = "ado,";
    expected[1] = "do,";
    expected[2] = "txt,txtfile";
    CHECK(slots == expected);

    SUBCASE("without a record now, a backup left from before merges nothing")
    {
        DeleteFileA(place.input.recordPath.c_str());
        UninstallLists fresh;
        RestoreSlots freshSlots;
        LoadPreviousRecord(place.input.recordPath, place.Backup(), fresh, freshSlots, unjournaled);
        CHECK(fresh.deleteFileList.empty());
        CHECK(freshSlots == RestoreSlots{});
        CHECK_FALSE(PathExists(place.Backup()));
    }
}

TEST_CASE("associations: one slot per extension, compared whole, twenty at most")
{
    RegKey known = CreateRegKey(HKEY_CLASSES_ROOT, ".orvtsa");
    REQUIRE(known);
    RegSetValueExA(known.Get(), "", 0, REG_SZ, reinterpret_cast<const BYTE*>("Old.type"), 9);
    RegDeleteKeyA(HKEY_CLASSES_ROOT, ".orvtsb");

    RestoreSlots slots;
    CHECK(RecordAssociation(slots, "orvtsa") == 1);
    CHECK(RecordAssociation(slots, "ORVTSA") == 0);
    CHECK(RecordAssociation(slots, "orvtsb") == 2);
    // A shorter extension inside a remembered one gets a slot of its own.
    CHECK(RecordAssociation(slots, "orvts") == 3);
    CHECK(slots[0] == "orvtsa,Old.type");
    CHECK(slots[1] == "orvtsb,");
    CHECK(slots[2] == "orvts,");
    CHECK_FALSE(RegKeyExists(HKEY_CLASSES_ROOT, ".orvtsb"));  // reading creates nothing

    for (size_t i = 3; i < slots.size(); ++i) slots[i] = std::string("e").append(std::to_string(i)).append(",");
    const RestoreSlots full = slots;
    CHECK(RecordAssociation(slots, "orvtsc") == 0);
    MergePreviousAssociation(slots, "orvtsd,x");
    CHECK(slots == full);

    RecordPlace place;
    UninstallLists lists;
    lists.deleteFileList = {"C:\\APP\\UNSETUP.INI"};
    REQUIRE(WriteFast(place, lists, slots) == 0);
    for (int i = 1; i <= RestoreSlotCount; ++i) {
        CAPTURE(i);
        CHECK(ReadProfile("RestoreRelate", "Key" + std::to_string(i), "", place.input.recordPath) ==
              slots[static_cast<size_t>(i) - 1]);
    }
    RegDeleteKeyA(HKEY_CLASSES_ROOT, ".orvtsa");
}

TEST_CASE("the new record replaces the old one in one step")
{
    RecordPlace place;
    const std::string old = "[DeleteFile]\r\nFile1=C:\\OLD.EXE\r\n";
    WriteTextFile(place.input.recordPath, old);
    SetFileAttributesA(place.input.recordPath.c_str(), FILE_ATTRIBUTE_READONLY);
    UninstallLists lists;
    lists.deleteFileList = {"C:\\APP\\A.EXE", "C:\\APP\\UNSETUP.INI"};

    // While the sections are written the earlier record stays in place whole.
    int checks = 0;
    const unsigned long result = WriteUninstallRecord(place.input, lists, RestoreSlots{}, [&](std::optional<RecordList>) {
        ++checks;
        CHECK(place.Record() == old);
    });
    CHECK(checks == 6);
    CHECK(result == 0);
    CHECK(ReadProfile("DeleteFile", "File1", "", place.input.recordPath) == "C:\\APP\\A.EXE");
    CHECK_FALSE(PathExists(place.input.workFolder + RecordBuildName));

    SUBCASE("a record that cannot be replaced stays, and the error is returned")
    {
        RecordPlace blocked;
        CreateDirectoryA(blocked.input.recordPath.c_str(), nullptr);
        CHECK(WriteUninstallRecord(blocked.input, lists, RestoreSlots{}, nullptr) != 0);
        CHECK((GetFileAttributesA(blocked.input.recordPath.c_str()) & FILE_ATTRIBUTE_DIRECTORY) != 0);
        CHECK_FALSE(PathExists(blocked.input.workFolder + RecordBuildName));
    }
    SUBCASE("a new record that cannot be written leaves the earlier one in place")
    {
        UninstallRecordInput nowhere = place.input;
        nowhere.workFolder = place.folder / "MISSING\\";
        const std::string before = place.Record();
        CHECK(WriteUninstallRecord(nowhere, lists, RestoreSlots{}, nullptr) != 0);
        CHECK(place.Record() == before);
    }
}

TEST_CASE("a setup folder on another volume gets the record by a rename beside it")
{
    // Under Wine, Z:\dev\shm is a memory file system apart from the work
    // folder; where it is not, the direct move is all there is to test.
    const std::string shm = "Z:\\dev\\shm\\";
    const DWORD attributes = GetFileAttributesA(shm.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) return;
    RecordPlace work;
    const std::string app = shm + "orvtest-record-" + std::to_string(GetCurrentProcessId()) + "\\";
    CreateDirectoryA(app.c_str(), nullptr);
    const std::string probe = work.input.workFolder + "PROBE.TXT";
    WriteTextFile(probe, "x");
    const bool otherVolume = !MoveFileExA(probe.c_str(), (app + "PROBE.TXT").c_str(), 0) &&
                             GetLastError() == ERROR_NOT_SAME_DEVICE;
    DeleteFileA((app + "PROBE.TXT").c_str());
    if (!otherVolume) MESSAGE("Z:\\dev\\shm is on the work folder's volume here");

    UninstallRecordInput input = work.input;
    input.recordPath = app + "UNSETUP.INI";
    WriteTextFile(input.recordPath, "[DeleteFile]\r\nFile1=C:\\OLD.EXE\r\n");
    UninstallLists lists;
    lists.deleteFileList = {"C:\\APP\\A.EXE"};
    CHECK(WriteUninstallRecord(input, lists, RestoreSlots{}, nullptr) == 0);
    CHECK(ReadProfile("DeleteFile", "File1", "", input.recordPath) == "C:\\APP\\A.EXE");
    CHECK_FALSE(PathExists(app + RecordBuildName));
    CHECK_FALSE(PathExists(work.input.workFolder + RecordBuildName));
    RemoveTree(app);
}

TEST_CASE("OVSET98.INI remembers the setup folder per program ID and forgets it")
{
    NoJournal unjournaled;
    ScratchFolder windows("win");
    const std::string list = windows / "OVSET98.INI";
    RememberSetupFolder(windows.Path(), "", "C:\\APP\\", unjournaled);
    CHECK_FALSE(PathExists(list));

    RememberSetupFolder(windows.Path(), "SAMPLE01", "C:\\APP\\", unjournaled);
    RememberSetupFolder(windows.Path(), "OTHER", "D:\\表\\", unjournaled);
    RememberSetupFolder(windows.Path(), "SAMPLE01", "C:\\NEW\\", unjournaled);
    CHECK(ReadTextFile(list) == "[SAMPLE01]\r\nFolder=C:\\NEW\\\r\n[OTHER]\r\nFolder=D:\\表\\\r\n");

    ForgetProgram(windows.Path(), "");
    CHECK(ReadProfile("SAMPLE01", "Folder", "", list) == "C:\\NEW\\");
    ForgetProgram(windows.Path(), "sample01");
    CHECK(ReadTextFile(list) == "[OTHER]\r\nFolder=D:\\表\\\r\n");
}
