#include "FuzzInputs.h"

#include <cctype>

#include <windows.h>

#include <fstream>
#include <iterator>

const char* KindName(InputKind kind)
{
    switch (kind) {
    case InputKind::Script: return "script";
    case InputKind::Record: return "record";
    case InputKind::Compressed: return "compressed";
    case InputKind::Journal: return "journal";
    case InputKind::CommandLine: return "commandline";
    }
    return "?";
}

const char* KindExtension(InputKind kind)
{
    switch (kind) {
    case InputKind::Script: return "SETUP.INI";
    case InputKind::Record: return "UNSETUP.INI";
    case InputKind::Compressed: return "DATA.TX_";
    case InputKind::Journal: return "SETUP.INI";
    case InputKind::CommandLine: return "CMDLINE.TXT";
    }
    return "INPUT";
}

uint64_t FuzzRandom::Next()
{
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

namespace {

// Scripts in the shapes the tests use, each section of the script at least
// once. Every one names an uninstall title, so that an install writes a
// record for the uninstall that follows it.
const char* const BuiltInScripts[] = {
    "[Title]\r\nSetup=Fuzz\r\nUnSetup=Fuzz removal\r\nUnSetupKey=OrvaneFuzzApp\r\nUnSetupDisplay=Fuzz\r\n"
    "[DefaultFolder]\r\nFolder=(App)\r\n[ProgramID]\r\nID=FUZZAPP\r\n"
    "[MakeFolder]\r\nFolder1=(App)DATA\r\nFolder2=(App)DATA\\SUB\r\n"
    "[CopyFile]\r\nFile1=(App)\\A.TXT\r\nFile2=(App)DATA\\B.TXT,/W\r\nFile3=(App)\\README.TX_|AUTO.EXT\r\n"
    "File4=(Sys)\\ORVFZ.DLL,/S\r\nFile5=(Dch)(App)\\C.TXT\r\n"
    "[Extend]\r\nSetupSpeed=1\r\nUnSetupOption=1,1,0,0\r\n",

    "[Title]\r\nSetup=Fuzz\r\nUnSetup=Fuzz removal\r\nUnSetupKey=OrvaneFuzzApp\r\n"
    "[CopyFile]\r\nFile1=(App)\\A.TXT\r\n"
    "[ShortCut]\r\nMake1=(App)\\A.TXT\r\nName1=(Dsk)\\Fuzz\r\nMake2=(App)\\A.TXT,/x\r\nName2=(Sta)\\Fuzz\\Fuzz,(App)\r\n"
    "Make3=(App)\\A.TXT\r\nName3=(Sup)\\Fuzz\r\nMake4=(App)\\A.TXT\r\nName4=(Sen)\\Fuzz\r\n"
    "[IniFile]\r\nData1=Sec,Key,(App)DATA,(App)\\SETTINGS.INI\r\nData2=Orvane,Fuzz,(App)\\A.TXT,(Win)\\ORVFUZZ.INI\r\n"
    "[Extend]\r\nSetupSpeed=1\r\n",

    "[Title]\r\nSetup=Fuzz\r\nUnSetup=Fuzz removal\r\nUnSetupKey=OrvaneFuzzApp\r\n"
    "[Registry]\r\nKey1=(Cuser)Software\\OrvaneFuzz\\App\r\nName1=Folder\r\nValue1=(Pdd)(Str)(App)\r\n"
    "Key2=(Local)SOFTWARE\\OrvaneFuzz\\App\r\nName2=Count\r\nValue2=(Dwd)100\r\n"
    "Key3=(Root)OrvaneFuzz.Doc\r\nName3=\r\nValue3=(Int)640\r\nKey4=(Users).DEFAULT\\Software\\OrvaneFuzz\r\n"
    "Name4=Flags\r\nValue4=(Bin)0A0B\r\nKey5=(Cuser)Software\\OrvaneFuzz\\App\r\nName5=Exp\r\n"
    "Value5=(Exp)%WINDIR%\\X.INI\r\n"
    "[DeleteRegistry]\r\nKey1=(Cuser)Software\\OrvaneFuzz\\App\r\nKey2=(Local)SOFTWARE\\OrvaneFuzz\r\n"
    "[AddDeleteFile]\r\nFile1=(App)\\*.LOG\r\nFile2=(Win)\\ORVFUZZ.INI\r\n"
    "[Relate]\r\nName1=ovz,Orvane fuzz document\r\nFile1=open,(App)\\VIEW.EXE,%1,0\r\n"
    "Name2=ovy,Second\r\nFile2=print,(App)\\VIEW.EXE,/p %1,1\r\n"
    "[Product]\r\nVersion=1.0\r\nPublisher=Fuzz\r\nURL=https://example.jp/\r\nIcon=(App)\\A.TXT,0\r\n"
    "[Extend]\r\nSetupSpeed=1\r\n",

    "[Title]\r\nSetup=Fuzz\r\nUnSetup=Fuzz removal\r\n"
    "[DefaultFolder]\r\nFolder=(Prg)\\Fuzz\r\nReferRegistry=(Cuser)Software\\OrvaneFuzz\\App,Folder\r\n"
    "[CopyFile]\r\nFile1=(App)\\README.TXT_|README.TXT\r\nFile2=(Win)\\SAMPLE.DAT_\r\nFile3=(Tmp)\\A.TXT\r\n"
    "File4=(Bot)\\A.TXT\r\nFile5=(Src)\\B.TXT\r\n"
    "[UnSetupOnly]\r\nFile1=(App)\\OLD.TXT\r\n"
    "[ExecuteFile]\r\nFile=(App)\\A.TXT\r\n"
    "[Extend]\r\nSetupSpeed=1\r\nEnabled=False\r\n",
};

const char* const BuiltInRecords[] = {
    "[Information]\r\nMessage1=Orvane UnSetup(UnInstall) Initialize File\r\n"
    "[Title]\r\nUnSetup=Fuzz removal\r\n[SetupFolder]\r\nFolder=%APP%\r\n"
    "[DeleteFolder]\r\nFolder1=%MADE%\r\nFolder2=%APP%DATA\\\r\n"
    "[DeleteFile]\r\nFile1=%APP%A.TXT\r\nFile2=%MADE%B.TXT\r\nFile3=%SYS%ORVFZ.DLL/S\r\nFile4=%APP%UNSETUP.INI\r\n"
    "[DeleteShortCut]\r\nFile1=%SHELL%Desktop\\Fuzz.lnk\r\nFile2=%SHELL%Start Menu\\Programs\\Fuzz\\\r\n"
    "[DeleteRegistry]\r\nKey1=(Cuser)Software\\OrvaneFuzz\\App\r\nKey2=(Local)SOFTWARE\\OrvaneFuzz\r\n"
    "[AddDeleteFile]\r\nFile1=%APP%*.LOG\r\nFile2=%WIN%ORVFUZZ.INI\r\nFile3=%MADE%*.*\r\n"
    "[RestoreRelate]\r\nKey1=ovz,OrvaneFuzz.Doc,ovzfile\r\n"
    "[UnSetupOption]\r\nCheckBox=1,1,0,0\r\n"
    "[UnSetupRegistryKey]\r\nKey=SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\OrvaneFuzzApp\r\n"
    "[ProgramID]\r\nID=FUZZAPP\r\n",

    "[Title]\r\nUnSetup=Fuzz removal\r\n[SetupFolder]\r\nFolder=%APP%\r\nMade=1\r\n"
    "[DeleteFile]\r\nFile1=%APP%DATA\\B.LOG\r\nFile2=%WIN%ORVFUZZ.INI\r\nFile3=%APP%UNSETUP.INI\r\n"
    "[UnSetupOption]\r\nCheckBox=DeleteAll\r\n",

    // Delete-all of a setup folder that was there before the install, whose
    // option patterns and folders may lead through links.
    "[Title]\r\nUnSetup=Fuzz removal\r\n[SetupFolder]\r\nFolder=%APP%\r\n"
    "[DeleteFolder]\r\nFolder1=%APP%DATA\\\r\nFolder2=%APP%VLINK\\\r\nFolder3=%MADE%VMADE\\\r\nFolder4=%APP%VEMPTY\\\r\n"
    "[DeleteFile]\r\nFile1=%APP%A.TXT\r\nFile2=%APP%UNSETUP.INI\r\n"
    "[AddDeleteFile]\r\nFile1=%APP%VLINK\\*.*\r\nFile2=%APP%DATA\\VSUB\\*.TXT\r\nFile3=%MADE%VMADE\\*.INI\r\n"
    "[UnSetupOption]\r\nCheckBox=DeleteAll\r\n",

    // The "*.INI" and "*.GID" options on folders that may be links.
    "[Title]\r\nUnSetup=Fuzz removal\r\n[SetupFolder]\r\nFolder=%APP%\r\nMade=1\r\n"
    "[DeleteFolder]\r\nFolder1=%APP%DATA\\\r\nFolder2=%APP%VLINK\\\r\nFolder3=%APP%DATA\\VSUB\\\r\n"
    "Folder4=%APP%VEMPTY\\\r\n"
    "[DeleteFile]\r\nFile1=%APP%A.TXT\r\nFile2=%APP%UNSETUP.INI\r\n"
    "[UnSetupOption]\r\nCheckBox=1,1,0,0\r\n",
};

// Where the mutations aim: paths that must never reach a file outside the
// sandbox, and odd paths of every shape the design names.
const char* const HostilePaths[] = {
    "..\\..\\..\\..\\..\\..\\..\\..\\..\\..\\..\\..\\..\\..\\ORVVICTIM\\VICTIM.TXT",
    "..\\..\\ORVVICTIM\\VICTIM.TXT",
    "\\\\.\\C:\\ORVVICTIM\\VICTIM.TXT",
    "\\\\?\\C:\\ORVVICTIM\\VICTIM.TXT",
    "\\\\?\\GLOBALROOT\\ORVVICTIM\\VICTIM.TXT",
    "\\\\localhost\\C$\\ORVVICTIM\\VICTIM.TXT",
    "\\\\server\\share\\VICTIM.TXT",
    "\\\\server\\share",
    "\\\\.\\",
    "\\ORVVICTIM\\VICTIM.TXT",
    "ORVVICTIM\\VICTIM.TXT",
    "C:ORVVICTIM\\VICTIM.TXT",
    "CON",
    "NUL",
    "COM1",
    "LPT1",
    "AUX",
    "CONIN$",
    "NUL.TXT",
    "*",
    "?",
    "*.*",
    "\\*.*",
    "..\\*.*",
    ".",
    "..",
    "\\",
    "",
    "(App)..\\..\\..\\..\\*.*",
    "(Win)*.*",
    "(App)\\CON",
    "(App)\\NUL",
    "(App)\\COM1",
    "(App)..\\..\\X.TXT",
    "(Zzz)\\X.TXT",
    "(app)\\X.TXT",
    "(APP)\\X.TXT",
    "(App",
    "App)",
    "(App)(App)(App)(App)",
    "%APP%..\\..\\..\\..\\..\\..\\..\\..\\..\\..\\..\\..\\..\\..\\..\\ORVVICTIM\\VICTIM.TXT",
    "%APP%..\\..\\..\\..\\..\\..\\..\\..\\..\\..\\..\\..\\..\\..\\..\\ORVVICTIM\\",
    "%APP%..\\..\\..\\..\\..\\..\\..\\..\\..\\..\\..\\..\\..\\..\\..\\ORVVICTIM\\*.*",
};

// Values of /DIR= and /LOG= a command line may give: the sandbox's own
// folders and files ("%DIST%", "%APP%", "%TEMP%", "%PRG%"), the victims and
// their folder, the system's and the user's places ("%PROFILE%" is the real
// profile), devices, streams, shares, and malformed texts.
const char* const DirectoryValues[] = {
    "%APP%", "%APP%NEW\\SUB", "%PRG%Fuzz App", "(Prg)\\Fuzz", "(App)", "(Win)", "(Sys)\\drivers\\etc", "(Win).",
    "(Prg)\\..\\win", "(Dsk)\\Fuzz", "(Tmp)", "C:\\ORVVICTIM", "C:\\ORVVICTIM\\SUB", "C:\\ORVVICTIM\\NEWAPP",
    "C:\\ORVVICTIM\\.", "C:\\ORVVICTIM\\..\\ORVVICTIM\\NEWAPP", "C:\\windows", "C:\\windows.", "C:\\windows \\",
    "C:\\windows\\system32\\drivers\\etc", "C:\\windows\\Fonts", "C:\\", "C:", "C:\\Program Files", "C:\\PROGRA~1",
    "C:\\Program Files\\..\\windows", "C:\\users", "%PROFILE%", "%PROFILE%Favorites", "%PROFILE%Saved Games\\Fuzz",
    "%PROFILE%Links", "%PROFILE%AppData\\Roaming", "\\\\server\\share\\App", "\\\\server\\", "\\\\", "\\\\?\\C:\\ORVVICTIM",
    "\\\\.\\C:\\ORVVICTIM", "APP", "..\\..\\ORVVICTIM", "C:APP", "%APP%A\tB", "%APP%\x01", "%APP%\x95\x5C\x8E\xA6",
    "(Zzz)\\X", "%APP%*", "%APP%A|B", "%APP%" "AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA"
    "AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA"
    "AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA",
};
const char* const LogValues[] = {
    "%TEMP%run.log", "%TEMP%", "%DIST%README.TXT", "%DIST%SETUP.INI", "%APP%A.TXT", "C:\\ORVVICTIM\\VICTIM.TXT",
    "C:\\ORVVICTIM\\VICTIM.INI", "C:\\ORVVICTIM\\NEW.LOG", "C:\\ORVVICTIM\\", "C:\\ORVVICTIM\\SUB\\X.TXT", "NUL", "nul.txt",
    "%TEMP%NUL", "COM1", "CON", "AUX", "LPT1", "CONOUT$", "run.log:stream", "C:\\ORVVICTIM\\VICTIM.TXT:ads", "\\\\.\\NUL",
    "\\\\?\\C:\\ORVVICTIM\\VICTIM.TXT", "run.log", "%TEMP%a\tb.log", "%TEMP%\x95\x5C\x8E\xA6.log", "C:\\ORVVICTIM\\*.TXT",
};
const char* const Switches[] = {
    "/VERYSILENT", "/SILENT", "/SUPPRESSMSGBOXES", "/S", "/NORESTART", "/NOICONS", "/LOG", "/verysilent", "/s",
    "/QUIET", "/DIR", "/LOG=", "/DIR=", "/NORESTART=1", "/", "/?", "-S", "SETUP.INI",
};

// "(Set)" is not among them: it stands for the root of the setup folder's
// drive, which the install takes from the setup folder itself, so that it
// names the real C:\ whatever the sandbox; writing there is what it means.
const char* const Tokens[] = {
    "(App)", "(Prg)", "(Win)", "(Sys)", "(Tmp)", "(Bot)", "(Src)", "(Stm)", "(Sta)", "(Dsk)",
    "(Sup)", "(Sen)", "(C_Stm)", "(C_Sta)", "(C_Dsk)", "(C_Sup)", "(app)", "(APP)", "(Zzz)", "(Dch)",
    "(Str)", "(Dwd)", "(Int)", "(Bin)", "(Exp)", "(Pdd)", "(Cuser)", "(Local)", "(Root)", "(Users)", "(",
    ")", "()", "/S", "/R", "/W", "/S/R", "|", ",", "=", "[", "]", "%1", "AUTO.EXT", "WINDOWS_REBOOT",
    "DeleteAll",
};

const char* const Sections[] = {
    "Title", "DefaultFolder", "ProgramID", "Product", "Readme", "Extend", "MakeFolder", "CopyFile",
    "ShortCut", "Registry", "IniFile", "DeleteRegistry", "AddDeleteFile", "Relate", "ExecuteFile",
    "UnSetupOnly", "SetupFolder", "DeleteFolder", "DeleteFile", "DeleteShortCut", "RestoreRelate",
    "UnSetupOption", "UnSetupRegistryKey", "Information", "TopMessage",
};

const char* const Keys[] = {
    "Folder", "File", "Make", "Name", "Key", "Value", "Data", "Setup", "UnSetup", "UnSetupKey",
    "UnSetupDisplay", "ID", "Version", "Icon", "SetupSpeed", "UnSetupOption", "Enabled", "CheckBox",
    "ReferRegistry", "Message", "Title", "ScrollBars",
};

std::string ReadWholeFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) return {};
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A compressed file of the system's format whose data are literals only.
std::string LiteralLz(const std::string& text, char lastCharacter)
{
    std::string bytes = "SZDD\x88\xF0\x27\x33";
    bytes += 'A';
    bytes += lastCharacter;
    const uint32_t length = static_cast<uint32_t>(text.size());
    for (int shift = 0; shift < 32; shift += 8) bytes += static_cast<char>((length >> shift) & 0xFF);
    for (size_t at = 0; at < text.size(); at += 8) {
        bytes += '\xFF';
        bytes += text.substr(at, 8);
    }
    return bytes;
}

char LeadByte(FuzzRandom& random)
{
    return static_cast<char>(random.Chance(50) ? 0x81 + random.Below(0x9F - 0x81 + 1)
                                               : 0xE0 + random.Below(0xFC - 0xE0 + 1));
}

// The positions just after each line end (and 0): where lines start.
std::vector<size_t> LineStarts(const std::string& text)
{
    std::vector<size_t> starts{0};
    for (size_t at = 0; at < text.size(); ++at)
        if (text[at] == '\n') starts.push_back(at + 1);
    return starts;
}

// The value part of a random "key=value" line: [start, end).
bool PickValue(const std::string& text, FuzzRandom& random, size_t& start, size_t& end)
{
    const std::vector<size_t> starts = LineStarts(text);
    for (int attempt = 0; attempt < 8; ++attempt) {
        const size_t line = starts[random.Below(starts.size())];
        const size_t lineEnd = std::min(text.find_first_of("\r\n", line), text.size());
        const size_t equals = text.find('=', line);
        if (equals == std::string::npos || equals >= lineEnd) continue;
        start = equals + 1;
        end = lineEnd;
        return true;
    }
    return false;
}

std::string NumberedLines(FuzzRandom& random)
{
    const char* section = Sections[random.Below(std::size(Sections))];
    const char* key = Keys[random.Below(std::size(Keys))];
    const size_t count = 1000 + random.Below(4000);
    std::string text = std::string("[") + section + "]\r\n";
    const bool gaps = random.Chance(30);
    for (size_t n = 1; n <= count; ++n)
        text += key + std::to_string(gaps ? n * 3 : n) + "=(App)\\F" + std::to_string(n) + ".TXT\r\n";
    return text;
}

void Mutate(std::string& text, InputKind kind, FuzzRandom& random)
{
    const size_t kinds = kind == InputKind::Compressed ? 6 : 14;
    switch (random.Below(kinds)) {
    case 0:  // truncation
        text.resize(random.Below(text.size() + 1));
        break;
    case 1:  // random bytes over the text
        for (size_t n = 1 + random.Below(16); n > 0 && !text.empty(); --n)
            text[random.Below(text.size())] = static_cast<char>(random.Below(256));
        break;
    case 2:  // random bytes put in
        for (size_t n = 1 + random.Below(16); n > 0; --n)
            text.insert(text.begin() + random.Below(text.size() + 1), static_cast<char>(random.Below(256)));
        break;
    case 3:  // a lone lead byte at the end, of the file or of a value
        if (size_t start = 0, end = 0; kind != InputKind::Compressed && random.Chance(60) && PickValue(text, random, start, end))
            text.insert(end, 1, LeadByte(random));
        else
            text += LeadByte(random);
        break;
    case 4:  // a lead byte before a backslash or bar, or in place of the byte before one
    {
        const size_t at = random.Below(text.size() + 1);
        const std::string pair = std::string(1, LeadByte(random)) + (random.Chance(50) ? '\\' : '|');
        text.insert(at, pair);
        break;
    }
    case 5:  // a part repeated, or a huge run of bytes
        if (random.Chance(50) && !text.empty()) {
            const size_t from = random.Below(text.size());
            const size_t length = 1 + random.Below(std::min<size_t>(text.size() - from, 4096));
            const std::string part = text.substr(from, length);
            text.insert(random.Below(text.size() + 1), part);
        } else {
            text.insert(random.Below(text.size() + 1), std::string(100 * 1024, static_cast<char>(random.Below(256))));
        }
        break;
    case 6:  // a huge value
        if (size_t start = 0, end = 0; PickValue(text, random, start, end)) {
            const char fill = random.Chance(50) ? 'A' : static_cast<char>(0x82);
            std::string huge(100 * 1024, fill);
            if (random.Chance(30)) huge = "(App)" + huge;
            text.replace(start, end - start, huge);
        }
        break;
    case 7:  // thousands of numbered keys
        text += NumberedLines(random);
        break;
    case 8:  // a section twice
    {
        const size_t open = text.find('[', random.Below(text.size() + 1));
        if (open == std::string::npos) break;
        const size_t next = text.find('[', open + 1);
        const std::string section = text.substr(open, next == std::string::npos ? std::string::npos : next - open);
        text.insert(random.Chance(50) ? text.size() : open, section);
        break;
    }
    case 9:  // a token in place of a token, or put in
    {
        const std::string token = Tokens[random.Below(std::size(Tokens))];
        const size_t open = text.find('(', random.Below(text.size() + 1));
        const size_t close = open == std::string::npos ? open : text.find(')', open);
        if (close != std::string::npos && close - open < 12 && random.Chance(70))
            text.replace(open, close - open + 1, token);
        else
            text.insert(random.Below(text.size() + 1), token);
        break;
    }
    case 10:  // a hostile path as a value, or after the token of one
        if (size_t start = 0, end = 0; PickValue(text, random, start, end)) {
            const std::string path = HostilePaths[random.Below(std::size(HostilePaths))];
            const size_t comma = text.find(',', start);
            if (random.Chance(40))
                text.replace(start, end - start, path);
            else if (comma != std::string::npos && comma < end && random.Chance(50))
                text.replace(start, comma - start, path);
            else {
                const size_t close = text.find(')', start);
                text.insert(close != std::string::npos && close < end ? close + 1 : start, path);
            }
        }
        break;
    case 11:  // lines dropped, repeated or swapped
    {
        const std::vector<size_t> starts = LineStarts(text);
        const size_t a = starts[random.Below(starts.size())];
        const size_t aEnd = std::min(text.find('\n', a) + 1, text.size());
        const std::string line = text.substr(a, aEnd - a);
        switch (random.Below(3)) {
        case 0: text.erase(a, aEnd - a); break;
        case 1: text.insert(a, line); break;
        default: text.insert(starts[random.Below(starts.size())], line); break;
        }
        break;
    }
    case 12:  // a new line of a known section and key
    {
        std::string line = std::string("[") + Sections[random.Below(std::size(Sections))] + "]\r\n" +
                           Keys[random.Below(std::size(Keys))] + std::to_string(random.Below(12)) + "=";
        line += random.Chance(50) ? HostilePaths[random.Below(std::size(HostilePaths))]
                                  : Tokens[random.Below(std::size(Tokens))];
        if (random.Chance(50)) line += std::string(",") + Tokens[random.Below(std::size(Tokens))];
        text.insert(random.Chance(50) ? text.size() : LineStarts(text)[0], line + "\r\n");
        break;
    }
    default:  // line ends of another kind
    {
        const size_t at = text.find("\r\n", random.Below(text.size() + 1));
        if (at != std::string::npos) text.replace(at, 2, random.Chance(50) ? "\n" : "\r");
        break;
    }
    }
}

// True when a profile file name has a folder, as the profile functions
// tell: a "\\", "/" or ":" character, never the trail byte 0x5C of a
// Shift-JIS character.
bool NamesFolder(const std::string& name)
{
    const int length = MultiByteToWideChar(932, 0, name.data(), static_cast<int>(name.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(932, 0, name.data(), static_cast<int>(name.size()), wide.data(), length);
    return wide.find_first_of(L"\\/:") != std::wstring::npos;
}

// An [IniFile] file named without a folder is the Windows folder's by
// design, the real one whatever the sandbox: such names are given a folder
// of the sandbox, as "(Set)" is left out.
void KeepIniFilesInSandbox(std::string& script)
{
    std::string out;
    bool inIniFile = false;
    for (size_t start = 0; start < script.size();) {
        const size_t end = std::min(script.find('\n', start), script.size());
        std::string line = script.substr(start, end - start);
        if (const size_t open = line.find_first_not_of(" \t"); open != std::string::npos && line[open] == '[') {
            // A section line as the profile reader takes it: the name up to
            // the last "]", blanks around it and letter case ignored.
            const size_t close = line.rfind(']');
            std::string name = close == std::string::npos || close < open ? "" : line.substr(open + 1, close - open - 1);
            name.erase(0, std::min(name.find_first_not_of(" \t"), name.size()));
            name.erase(name.find_last_not_of(" \t") + 1);
            for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            if (close != std::string::npos && close > open) inIniFile = name == "inifile";
        }
        const size_t equals = line.find('=');
        size_t comma = equals;
        for (int n = 0; inIniFile && comma != std::string::npos && n < 3; ++n) comma = line.find(',', comma + 1);
        if (inIniFile && comma != std::string::npos && !NamesFolder(line.substr(comma + 1)))
            line.insert(comma + 1, "(App)\\");
        out += line;
        if (end < script.size()) out += '\n';
        start = end + 1;
    }
    script = out;
}

}  // namespace

std::string ReplaceAllText(std::string text, const std::string& from, const std::string& to)
{
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

const char* const VictimFiles[4] = {"C:\\ORVVICTIM\\VICTIM.TXT", "C:\\ORVVICTIM\\VICTIM.INI",
                                     "C:\\ORVVICTIM\\VICTIM.LNK", "C:\\ORVVICTIM\\SUB\\X.TXT"};

const char* HostilePath(FuzzRandom& random)
{
    return HostilePaths[random.Below(std::size(HostilePaths))];
}

namespace {

std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end = text.find("\r\n"); end != std::string::npos; end = text.find("\r\n", start)) {
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    if (start < text.size()) lines.push_back(text.substr(start));
    return lines;
}

// What a mutated field of a journal line names.
std::string JournalTarget(const std::string& appFolder, const std::vector<std::string>& linkPaths, FuzzRandom& random)
{
    switch (random.Below(7)) {
    case 0: return VictimFiles[random.Below(std::size(VictimFiles))];
    case 1: return random.Chance(50) ? std::string(VictimFolder) : std::string(VictimFolder) + "SUB\\";
    case 2:
        if (!linkPaths.empty()) {
            const std::string& link = linkPaths[random.Below(linkPaths.size())];
            return random.Chance(50) ? link : link + (random.Chance(50) ? "VICTIM.TXT" : "X.TXT");
        }
        return VictimFolder;
    case 3: return ReplaceAllText(HostilePath(random), "%APP%", appFolder);
    case 4: return std::string(random.Chance(50) ? 300 : 100 * 1024, random.Chance(50) ? 'A' : '\x82');
    case 5: return appFolder + (random.Chance(50) ? "A.TXT" : "");
    default: return random.Chance(50) ? "" : "HKLM";
    }
}

}  // namespace

std::string MutateJournal(const std::string& text, const std::string& appFolder,
                          const std::vector<std::string>& linkPaths, FuzzRandom& random)
{
    static const char* const kinds[] = {"folder", "file",       "aside", "copy", "key",           "value",
                                        "ini",    "registered", "run",   "",     "OrvaneJournal 1", "Folder"};
    std::vector<std::string> lines = SplitLines(text);
    bool cut = false;
    // The header and the run line stay as they are most of the time.
    auto pick = [&]() -> size_t {
        if (lines.empty()) return 0;
        if (lines.size() > 2 && random.Chance(90)) return 2 + random.Below(lines.size() - 2);
        return random.Below(lines.size());
    };
    for (size_t n = 1 + random.Below(4); n > 0; --n) {
        if (lines.empty()) lines.push_back("OrvaneJournal 1");
        const size_t at = pick();
        switch (random.Below(9)) {
        case 0: lines.erase(lines.begin() + at); break;
        case 1: lines.insert(lines.begin() + at, lines[at]); break;
        case 2: std::swap(lines[at], lines[pick()]); break;
        case 3:  // another kind, the same fields
        {
            const size_t tab = lines[at].find('\t');
            lines[at] = kinds[random.Below(std::size(kinds))] + (tab == std::string::npos ? "" : lines[at].substr(tab));
            break;
        }
        case 4:  // a field of the line named anew
        {
            std::vector<size_t> tabs;
            for (size_t tab = lines[at].find('\t'); tab != std::string::npos; tab = lines[at].find('\t', tab + 1))
                tabs.push_back(tab);
            if (tabs.empty()) break;
            const size_t which = random.Below(tabs.size());
            const size_t start = tabs[which] + 1;
            const size_t end = which + 1 < tabs.size() ? tabs[which + 1] : lines[at].size();
            lines[at].replace(start, end - start, JournalTarget(appFolder, linkPaths, random));
            break;
        }
        case 5:  // a new line
        {
            std::string line = kinds[random.Below(std::size(kinds))];
            for (size_t fields = random.Below(6); fields > 0; --fields) {
                line += '\t';
                line += JournalTarget(appFolder, linkPaths, random);
            }
            lines.insert(lines.begin() + std::min(lines.size(), at + 1), line);
            break;
        }
        case 6: cut = true; break;
        case 7:  // random bytes
            for (size_t count = 1 + random.Below(8); count > 0 && !lines[at].empty(); --count)
                lines[at][random.Below(lines[at].size())] = static_cast<char>(random.Below(256));
            break;
        default:  // an escape, whole or broken
        {
            static const char* const escapes[] = {"%", "%0", "%ZZ", "%09", "%0D%0A", "%25", "%00"};
            lines[at].insert(random.Below(lines[at].size() + 1), escapes[random.Below(std::size(escapes))]);
            break;
        }
        }
    }
    std::string result;
    for (const std::string& line : lines) result += line + "\r\n";
    // A line cut short, as a crash leaves it.
    if (cut && !result.empty()) result.resize(result.size() - 1 - random.Below(std::min<size_t>(result.size(), 40)));
    return result;
}

namespace {

// A command line of SETUP.EXE: mostly an unattended one, with /DIR= and
// /LOG= aimed anywhere, and switches dropped, repeated, misspelled or
// broken.
std::string CommandLine(FuzzRandom& random)
{
    std::string line = "\"%DIST%SETUP.EXE\"";
    auto quoted = [&](const std::string& value) {
        if (random.Chance(15)) return value;
        if (random.Chance(10)) return "\"" + value;  // a quote never closed
        return "\"" + value + "\"";
    };
    const int presence = static_cast<int>(random.Below(10));
    if (presence < 6) line += random.Chance(50) ? " /VERYSILENT /SUPPRESSMSGBOXES" : " /S";
    else if (presence < 8) line += " /SILENT /SUPPRESSMSGBOXES";
    else if (presence < 9) line += " /VERYSILENT";
    if (random.Chance(90)) line += " /NORESTART";
    if (random.Chance(85)) line += " /DIR=" + quoted(DirectoryValues[random.Below(std::size(DirectoryValues))]);
    if (random.Chance(70)) line += " /LOG=" + quoted(LogValues[random.Below(std::size(LogValues))]);
    for (size_t n = random.Below(3); n > 0; --n) line += std::string(" ") + Switches[random.Below(std::size(Switches))];
    // Bytes changed as a script or a person's typing would change them.
    for (size_t n = random.Chance(30) ? 1 + random.Below(3) : 0; n > 0 && !line.empty(); --n) {
        static const char typed[] = " \"\t/=\\:*?.";
        const size_t at = random.Below(line.size());
        switch (random.Below(4)) {
        case 0: line.erase(at, 1); break;
        case 1: line.insert(at, 1, typed[random.Below(sizeof typed - 1)]); break;
        case 2: line[at] = static_cast<char>(1 + random.Below(255)); break;
        default: line.resize(at); break;
        }
    }
    return line;
}

}  // namespace

SeedCorpus LoadCorpus(const std::vector<std::string>& folders)
{
    SeedCorpus corpus;
    for (const char* script : BuiltInScripts) corpus.scripts.emplace_back(script);
    for (const char* record : BuiltInRecords) corpus.records.emplace_back(record);
    corpus.compressed.push_back(LiteralLz("Orvane fuzz data\r\n", 'T'));
    for (const std::string& folder : folders) {
        if (std::string script = ReadWholeFile(folder + "SETUP.INI"); !script.empty())
            corpus.scripts.push_back(std::move(script));
        for (const char* name : {"README.TXT_", "SAMPLE.DAT_", "MANUAL.TX_", "SAMPLEVW.EX_"})
            if (std::string bytes = ReadWholeFile(folder + name); !bytes.empty())
                corpus.compressed.push_back(std::move(bytes));
    }
    return corpus;
}

FuzzInput MakeInput(const SeedCorpus& corpus, uint64_t seed, uint64_t index)
{
    FuzzRandom random(seed * 0x100000001B3ull ^ (index + 1) * 0x9E3779B97F4A7C15ull);
    FuzzInput input{static_cast<InputKind>(index % InputKinds), index, {}};
    const std::vector<std::string>& seeds = input.kind == InputKind::Record       ? corpus.records
                                            : input.kind == InputKind::Compressed ? corpus.compressed
                                                                                  : corpus.scripts;
    if (input.kind == InputKind::CommandLine) {
        input.bytes = CommandLine(random);
        return input;
    }
    input.bytes = seeds[random.Below(seeds.size())];
    // The install must run to its end to leave a journal worth mutating.
    if (input.kind == InputKind::Journal) return input;
    // One input in sixteen is the seed itself, so that the untouched path
    // runs as well.
    if (random.Below(16) == 0) return input;
    for (size_t n = 1 + random.Below(4); n > 0; --n) Mutate(input.bytes, input.kind, random);
    if (input.kind == InputKind::Script) KeepIniFilesInSandbox(input.bytes);
    return input;
}
