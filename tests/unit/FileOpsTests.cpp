// Existence tests, folder-path creation and the overwriting copy.
#include <doctest/doctest.h>

#include "services/FileOps.h"
#include "services/Journal.h"
#include "services/Win32Files.h"
#include "support/Scratch.h"

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

TEST_CASE("FileExists is true for files and patterns whose first match is a file")
{
    ScratchFolder folder("files");
    WriteTextFile(folder / "A.TXT", "a");
    CreateDirectoryA((folder / "SUB").c_str(), nullptr);
    CHECK(FileExists(folder / "A.TXT"));
    CHECK(FileExists(folder / "a.txt"));
    CHECK(FileExists(folder / "*.TXT"));
    CHECK_FALSE(FileExists(folder / "SUB"));
    CHECK_FALSE(FileExists(folder / "S*"));
    CHECK_FALSE(FileExists(folder / "B.TXT"));
    CHECK_FALSE(FileExists(""));
}

TEST_CASE("FolderExists answers the same with and without the trailing backslash")
{
    ScratchFolder folder("dirs");
    const std::string plain = folder.Path().substr(0, folder.Path().size() - 1);
    CHECK(FolderExists(folder.Path()));
    CHECK(FolderExists(plain));
    CHECK_FALSE(FolderExists(folder / "MISSING"));
    WriteTextFile(folder / "F.TXT", "x");
    CHECK_FALSE(FolderExists(folder / "F.TXT"));
    CHECK(FolderExists("C:\\"));
    CHECK(FolderExists("C:"));
    // A folder whose name ends in a trail byte of 0x5C.
    CHECK(CreateDirectoryA((folder / "ソ").c_str(), nullptr));
    CHECK(FolderExists(folder / "ソ"));
    CHECK(FolderExists(folder / "ソ\\"));
}

TEST_CASE("CreateFolderPath creates every missing level")
{
    NoJournal unjournaled;
    ScratchFolder folder("mkdir");
    CHECK(CreateFolderPath(folder / "A\\B\\C", unjournaled));
    CHECK(FolderExists(folder / "A"));
    CHECK(FolderExists(folder / "A\\B"));
    CHECK(FolderExists(folder / "A\\B\\C"));
    CHECK(CreateFolderPath(folder / "A\\B\\C\\", unjournaled));
    CHECK(CreateFolderPath(folder / "表\\ソ\\能", unjournaled));
    CHECK(FolderExists(folder / "表\\ソ\\能\\"));
    // A file in the way of a level makes that creation, and the next, fail.
    WriteTextFile(folder / "FILE", "x");
    CHECK_FALSE(CreateFolderPath(folder / "FILE\\X", unjournaled));
    // A missing server share cannot be made; the last attempt decides.
    CHECK_FALSE(CreateFolderPath("\\\\nohost-orvane\\share\\dir", unjournaled));
}

TEST_CASE("CreateFolderPath journals only the folders below the drive or share, the ones it can make")
{
    // The share's own levels and a drive's root are nothing an install
    // makes: journaled, their undo logged them as protected folders.
    ScratchFolder folder("mkdir-journal");
    std::optional<Journal> journal = Journal::Start(folder / "TEST.JNL");
    REQUIRE(journal);
    CHECK_FALSE(CreateFolderPath("\\\\nohost-orvane\\share\\dir\\", *journal));
    if (const std::string drive = MissingDrive(); !drive.empty())
        CHECK_FALSE(CreateFolderPath(drive + "\\App\\", *journal));
    CHECK(CreateFolderPath(folder / "NEW", *journal));
    journal->Close();
    const std::optional<JournalContents> written = ReadJournal(folder / "TEST.JNL");
    REQUIRE(written);
    std::vector<std::string> folders;
    for (const JournalEntry& entry : written->entries)
        if (const auto* folder = std::get_if<FolderLine>(&entry)) folders.push_back(folder->path);
    std::vector<std::string> expected = {"\\\\nohost-orvane\\share\\dir\\"};
    if (const std::string drive = MissingDrive(); !drive.empty()) expected.push_back(drive + "\\App\\");
    expected.push_back(folder / "NEW\\");
    CHECK(folders == expected);
}

TEST_CASE("CopyFileTo overwrites a read-only destination, leaves only the archive flag and, unjournaled, no earlier copy")
{
    NoJournal unjournaled;
    ScratchFolder folder("copy");
    const std::string source = folder / "SRC.TXT";
    const std::string destination = folder / "DST.TXT";
    WriteTextFile(source, "new");
    WriteTextFile(destination, "old");
    SetFileAttributesA(source.c_str(), FILE_ATTRIBUTE_READONLY);
    SetFileAttributesA(destination.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    CHECK(CopyFileTo(source, destination, unjournaled) == 0);
    CHECK(ReadTextFile(destination) == "new");
    CHECK(GetFileAttributesA(destination.c_str()) == FILE_ATTRIBUTE_ARCHIVE);
    SetFileAttributesA(source.c_str(), FILE_ATTRIBUTE_NORMAL);
    // Without a journal nothing would ever take away an earlier version kept
    // beside the file: none is kept, neither by the copy nor before a write.
    JournalFileBeforeWriting(unjournaled, destination);
    WIN32_FIND_DATAW found{};
    CHECK_FALSE(FindFirstEntry(folder / "OVJ*.tmp", found).Valid());
}

TEST_CASE("CopyFileTo reports the system's error and keeps the destination")
{
    NoJournal unjournaled;
    ScratchFolder folder("copyfail");
    const std::string destination = folder / "DST.TXT";
    WriteTextFile(destination, "old");
    SetFileAttributesA(destination.c_str(), FILE_ATTRIBUTE_READONLY);
    CHECK(CopyFileTo(folder / "MISSING.TXT", destination, unjournaled) == ERROR_FILE_NOT_FOUND);
    CHECK(ReadTextFile(destination) == "old");
    CHECK(GetFileAttributesA(destination.c_str()) == FILE_ATTRIBUTE_ARCHIVE);

    // A destination held open without sharing cannot be replaced.
    WriteTextFile(folder / "SRC.TXT", "new");
    {
        HeldOpen held(destination);
        CHECK(CopyFileTo(folder / "SRC.TXT", destination, unjournaled) == ERROR_SHARING_VIOLATION);
    }
    CHECK(ReadTextFile(destination) == "old");

    // Into a folder that does not exist.
    CHECK(CopyFileTo(folder / "SRC.TXT", folder / "NO\\DST.TXT", unjournaled) == ERROR_PATH_NOT_FOUND);
}
