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
    "  package [OPTIONS] SOURCE OUTPUT     make a one-file installer and its winget manifests\n"
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
    "[ShortCut] names without a check box, WINDOWS_REBOOT, SetupSpeed, the\n"
    "readme and [Product] (a comparable version, a web address, an icon number,\n"
    "a License and Description that winget takes, no unknown key). Values are\n"
    "shown in UTF-8 on Linux.\n"
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
    "Usage: orvauthor package [OPTIONS] SOURCE OUTPUT\n"
    "Makes OUTPUT, one Windows program that installs the application: the\n"
    "distribution that `layout` makes from SOURCE, with every disk's files laid\n"
    "flat in one folder and the \"(Dch)\" marks taken out of its SETUP.INI (the\n"
    "rest of the script stays as written), packed behind the package stub.\n"
    "Started, OUTPUT checks its SHA-256, unpacks the files into a new folder\n"
    "under the temporary folder that only administrators may enter, runs\n"
    "SETUP.EXE there with the switches it was given (for example /VERYSILENT\n"
    "/SUPPRESSMSGBOXES /NORESTART), removes the folder again and ends with\n"
    "SETUP.EXE's exit code; a damaged or changed OUTPUT ends with 1603 before\n"
    "anything is unpacked. Files are compressed as `layout` compresses them;\n"
    "two different files of one name on different disks are refused. An\n"
    "existing OUTPUT file is replaced once the new one is complete (and signed).\n"
    "\n"
    "Options:\n"
    "  --setup-exe FILE     SETUP.EXE to pack (default: the one of this build)\n"
    "  --stub FILE          the package stub ORVSTUB.EXE (default: this build's)\n"
    "  --sign \"COMMAND\"     sign SETUP.EXE before it is packed, then OUTPUT, by\n"
    "                       running COMMAND with {file} replaced by the quoted\n"
    "                       path of the file (do not quote it again); a tool that\n"
    "                       writes the signed file elsewhere is given {signed}:\n"
    "                       osslsigncode sign -pkcs11module M -key K -certs C\n"
    "                         -h sha256 -t URL -in {file} -out {signed}\n"
    "                       A command that fails, or leaves a file unsigned or\n"
    "                       changed beyond an appended signature, fails the\n"
    "                       whole command.\n"
    "  --url URL            the address OUTPUT is downloaded from (InstallerUrl)\n"
    "  --id ID              the package identifier (default: from [Product]\n"
    "                       Publisher and the script's key name)\n"
    "  --license TEXT       License, where [Product] has no License\n"
    "  --description TEXT   ShortDescription, where [Product] has no Description\n"
    "  --publisher-url URL  PublisherUrl, where [Product] has no URL\n"
    "  --locale LOCALE      the manifests' default locale (default: ja-JP when\n"
    "                       the name or the publisher is not all ASCII, else en-US)\n"
    "An option given replaces the script's value.\n"
    "\n"
    "Beside OUTPUT it writes a winget manifest set (schema 1.12.0) into the\n"
    "folder OUTPUT's name with .winget, with the SHA-256 of the final (signed)\n"
    "OUTPUT and every value from the script's [Title] and [Product] or the\n"
    "options above. When a field winget requires is missing or refused, the\n"
    "set is not written and each field is named with what gives it.\n"
    "Exit status: 0 made with its manifests, 1 something is missing or cannot\n"
    "be written or signed (OUTPUT is not touched), or the manifests are not\n"
    "written (OUTPUT is made), 2 the script cannot be read or wrong arguments.\n";

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
