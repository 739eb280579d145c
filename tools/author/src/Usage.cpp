#include "Commands.h"

#include "SystemText.h"

#include <cstdio>

namespace {

const char* const kOverview =
    "Usage: orvauthor COMMAND [OPTIONS] ARGUMENTS\n"
    "Tools for authors who ship an application with Orvane Setup (SETUP.EXE).\n"
    "\n"
    "Commands:\n"
    "  compress [-d FOLDER] FILE...        write the compressed form of each FILE\n"
    "  check PATH                          check a SETUP.INI and its distribution folder\n"
    "  layout [--setup-exe FILE] SOURCE DESTINATION\n"
    "                                      lay out the distribution folder\n"
    "  package [--setup-exe FILE] [--stub FILE] [--url URL] [--id ID] SOURCE OUTPUT\n"
    "                                      make a one-file installer\n"
    "  help [COMMAND]                      show this text or a command's details\n";

const char* const kCompress =
    "Usage: orvauthor compress [-d FOLDER] FILE...\n"
    "Writes the LZ-compressed form of each FILE that SETUP.EXE expands while it\n"
    "installs. The last character of the name becomes \"_\" and is kept in the\n"
    "file, so that the installer gives the file its name back:\n"
    "  README.TXT -> README.TX_    A.C -> A._    README -> README._\n"
    "(a name without extension gets \"._\"; the installer then writes README.,\n"
    "which Windows saves as README). Names that already end in \"_\" or in a\n"
    "two-byte character are refused. The file goes beside FILE, or into FOLDER\n"
    "with -d, and gets FILE's time stamp. An existing file is replaced.\n"
    "Exit status: 0 all written, 1 a file failed, 2 wrong arguments.\n";

const char* const kCheck =
    "Usage: orvauthor check PATH\n"
    "Reads a setup script as the installer does (PATH is a SETUP.INI, or a\n"
    "distribution folder holding SETUP.INI or DISK1\\SETUP.INI) and prints one\n"
    "line per place where the installer would do something other than what the\n"
    "author most likely meant: \"[Section] Key: explanation\". It looks at list\n"
    "gaps and duplicates, [CopyFile] sources on their disks, \"(Dch)\" marks,\n"
    "registry root and type tokens, unknown \"(...)\" tokens, [Relate] pairs,\n"
    "[ShortCut] names without a check box, WINDOWS_REBOOT, SetupSpeed and the\n"
    "readme. Values are shown in UTF-8 on Linux.\n"
    "Exit status: 0 nothing found, 1 findings, 2 the script cannot be read.\n";

const char* const kLayout =
    "Usage: orvauthor layout [--setup-exe FILE] SOURCE DESTINATION\n"
    "Lays out the distribution from SOURCE (SOURCE\\SETUP.INI and the\n"
    "application's files) into DESTINATION, which must be missing or empty:\n"
    "SETUP.EXE, SETUP.INI, the readme and every [CopyFile] source. A source\n"
    "named with a final \"_\" is compressed from its original in SOURCE: the file\n"
    "with the same name but another last character (README.TX_ from README.TXT),\n"
    "or the name without the \"_\" (README.TXT_ from README.TXT); a compressed\n"
    "\"_\" file in SOURCE is copied when there is no original. Without \"(Dch)\"\n"
    "entries the distribution is flat; with them it has DISK1, DISK2, ...: disk 1\n"
    "holds SETUP.EXE, SETUP.INI, the readme and the entries before the first\n"
    "\"(Dch)\" entry, and each \"(Dch)\" entry starts the next disk. SETUP.EXE also\n"
    "goes on the last disk, from where the installer copies the uninstaller.\n"
    "SETUP.EXE is FILE, or by default the one of the build that made this tool.\n"
    "Exit status: 0 laid out, 1 something is missing (nothing is written),\n"
    "2 the script cannot be read or wrong arguments.\n";

const char* const kPackage =
    "Usage: orvauthor package [--setup-exe FILE] [--stub FILE] [--url URL] [--id ID] SOURCE OUTPUT\n"
    "Makes OUTPUT, one Windows program that installs the application: the\n"
    "distribution that `layout` makes from SOURCE, with every disk's files laid\n"
    "flat in one folder and the \"(Dch)\" marks taken out of its SETUP.INI (the\n"
    "rest of the script stays as written), packed behind the package stub.\n"
    "Started, OUTPUT unpacks the files into a new folder under the temporary\n"
    "folder, runs SETUP.EXE there with the switches it was given (for example\n"
    "/VERYSILENT /SUPPRESSMSGBOXES /NORESTART), removes the folder again and\n"
    "ends with SETUP.EXE's exit code; a damaged OUTPUT ends with 1603 before\n"
    "anything runs. Files are compressed as `layout` compresses them; two\n"
    "different files of one name on different disks are refused. SETUP.EXE is\n"
    "FILE, the stub is --stub FILE (ORVSTUB.EXE), by default those of the build\n"
    "that made this tool. An existing OUTPUT file is replaced once the new one\n"
    "is complete.\n"
    "Beside OUTPUT it writes a winget manifest set (schema 1.6.0) into the\n"
    "folder OUTPUT's name with .winget: the package's SHA-256, the download\n"
    "address --url URL, the identifier --id ID (by default made from the\n"
    "script's publisher and key), the rest from the script's [Title] and\n"
    "[Product]; fields still to fill in are named as warnings.\n"
    "Exit status: 0 made, 1 something is missing or cannot be written (OUTPUT\n"
    "is not touched), 2 the script cannot be read or wrong arguments.\n";

}  // namespace

void PrintUsage(const std::string& command)
{
    const char* text = kOverview;
    if (command == "compress") text = kCompress;
    if (command == "check") text = kCheck;
    if (command == "layout") text = kLayout;
    if (command == "package") text = kPackage;
    std::fputs(text, stdout);
}

void PrintError(const std::string& text)
{
    WriteLine(stderr, "orvauthor: " + text);
}

bool IsHelpRequest(const Arguments& arguments)
{
    for (const auto& argument : arguments)
        if (argument == "--help" || argument == "-h") return true;
    return false;
}
