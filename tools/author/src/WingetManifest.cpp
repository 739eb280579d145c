#include "WingetManifest.h"

#include "FileData.h"
#include "SjisText.h"
#include "SystemText.h"

#include <array>
#include <cstring>
#include <string_view>

namespace {

// The names SETUP.EXE gives the install, read as it reads them
// (engine/RunStart.cpp ReadRunHeader, install/InstallCompletion.cpp
// RegisterUninstallEntry): each falls back on the one before.
struct EntryNames {
    std::string unSetupTitle;
    std::string keyName;
    std::string displayName;
};

EntryNames ReadEntryNames(const Profile& script)
{
    const std::string setupTitle = script.Read("Title", "Setup", "Orvane");
    EntryNames names;
    names.unSetupTitle = script.Read("Title", "UnSetup", setupTitle);
    names.keyName = script.Read("Title", "UnSetupKey", names.unSetupTitle);
    names.displayName = script.Read("Title", "UnSetupDisplay", names.keyName);
    return names;
}

// The installer's test (install/InstallCompletion.cpp IsSetupOnly): such a
// script leaves no record and no Add/Remove entry.
bool IsSetupOnly(const std::string& unSetupTitle)
{
    return Contains(unSetupTitle, "Setup Only.");
}

bool IsWebAddress(const std::string& url)
{
    return StartsWithText(url, "http://") || StartsWithText(url, "https://");
}

std::string OrPlaceholder(const std::string& value, const std::string& placeholder)
{
    return value.empty() ? placeholder : value;
}

bool IsAsciiLetterOrDigit(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

// The single-byte letters and digits of a Shift-JIS text (a trail byte may
// equal a letter and is skipped with its character), at most the 32 that
// winget allows in one part of an identifier.
std::string AsciiWord(const std::string& text, const std::string& fallback)
{
    std::string word;
    for (size_t i = 0; i < text.size() && word.size() < 32; i += CharLengthAt(text, i))
        if (CharLengthAt(text, i) == 1 && IsAsciiLetterOrDigit(text[i])) word += text[i];
    return word.empty() ? fallback : word;
}

// UTF-8 continuation bytes do not start a character.
size_t Utf8Length(const std::string& text)
{
    size_t length = 0;
    for (const char c : text)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++length;
    return length;
}

std::string IdentifierPartProblem(const std::string& part)
{
    if (part.empty()) return "it has an empty part (two dots, or a dot at an end)";
    if (Utf8Length(part) > 32) return "a part is longer than 32 characters";
    for (const char c : part) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= 0x20 || byte == 0x7F || std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos)
            return "it holds a blank, a control character or one of \\ / : * ? \" < > |";
    }
    return "";
}

// --- YAML ---------------------------------------------------------------

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

std::string Lower(std::string text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

// Plain words that YAML 1.1 or 1.2 readers turn into booleans, null or the
// special numbers, in any letter case.
bool IsReservedWord(const std::string& text)
{
    static const std::array<const char*, 14> words = {
        "y", "n", "yes", "no", "on", "off", "true", "false", "null", "~", ".inf", "-.inf", "+.inf", ".nan",
    };
    const std::string lower = Lower(text);
    for (const char* word : words)
        if (lower == word) return true;
    return false;
}

// Anything that starts like a number may be read as one (1.0, 0x1F, 1e5,
// 12:30, 2024-01-01); a quoted string is always a string.
bool LooksNumeric(const std::string& text)
{
    if (IsDigit(text[0])) return true;
    return text.size() > 1 && (text[0] == '-' || text[0] == '+' || text[0] == '.') &&
           (IsDigit(text[1]) || (text[1] == '.' && text.size() > 2 && IsDigit(text[2])));
}

// Characters that YAML reads as line breaks or a byte-order mark even in
// the middle of a plain value: NEL, LINE SEPARATOR, PARAGRAPH SEPARATOR,
// ZERO WIDTH NO-BREAK SPACE.
constexpr std::array<const char*, 4> kUnicodeBreaks = {"\xC2\x85", "\xE2\x80\xA8", "\xE2\x80\xA9", "\xEF\xBB\xBF"};
// (\u rather than YAML's \N, which some readers turn into a lone byte.)
constexpr std::array<const char*, 4> kUnicodeBreakEscapes = {"\\u0085", "\\u2028", "\\u2029", "\\uFEFF"};

bool NeedsQuotes(const std::string& text)
{
    if (text.empty() || IsReservedWord(text) || LooksNumeric(text)) return true;
    if (text.front() == ' ' || text.back() == ' ') return true;
    if (std::string_view("-?:,[]{}#&*!|>'\"%@`").find(text.front()) != std::string_view::npos) return true;
    if (text.back() == ':' || text.find(": ") != std::string::npos || text.find(" #") != std::string::npos) return true;
    if (text.find_first_of("\"'<\\") != std::string::npos) return true;
    for (const char c : text)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return true;
    for (const char* mark : kUnicodeBreaks)
        if (text.find(mark) != std::string::npos) return true;
    return false;
}

std::string EscapedByte(unsigned char byte)
{
    switch (byte) {
    case '"': return "\\\"";
    case '\\': return "\\\\";
    case '\t': return "\\t";
    case '\n': return "\\n";
    case '\r': return "\\r";
    default: break;
    }
    if (byte >= 0x20 && byte != 0x7F) return std::string(1, static_cast<char>(byte));
    static const char digits[] = "0123456789ABCDEF";
    return std::string("\\x") + digits[byte >> 4] + digits[byte & 15];
}

std::string DoubleQuoted(const std::string& text)
{
    std::string quoted = "\"";
    for (size_t i = 0; i < text.size();) {
        size_t mark = 0;
        while (mark < kUnicodeBreaks.size() && text.compare(i, std::strlen(kUnicodeBreaks[mark]), kUnicodeBreaks[mark]) != 0)
            ++mark;
        if (mark < kUnicodeBreaks.size()) {
            quoted += kUnicodeBreakEscapes[mark];
            i += std::strlen(kUnicodeBreaks[mark]);
            continue;
        }
        quoted += EscapedByte(static_cast<unsigned char>(text[i]));
        ++i;
    }
    return quoted + "\"";
}

// --- The files ------------------------------------------------------------

// A file as winget's own tools start it: the schema, for editors to check
// the file against, and a blank line.
std::string Heading(const std::string& manifestType)
{
    return "# yaml-language-server: $schema=https://aka.ms/winget-manifest." + manifestType + "." +
           kWingetManifestVersion + ".schema.json\n\n";
}

// "key: value" after `lead`: "" at the top, "  " inside a mapping or a list
// item, "- " for the first key of a list item.
std::string Field(const std::string& lead, const std::string& key, const std::string& value)
{
    return lead + key + ": " + YamlScalar(value) + "\n";
}

std::string Footing(const std::string& manifestType)
{
    return Field("", "ManifestType", manifestType) + Field("", "ManifestVersion", kWingetManifestVersion);
}

std::string PackageFields(const WingetPackage& package)
{
    return Field("", "PackageIdentifier", package.identifier) + Field("", "PackageVersion", package.version);
}

// The switches SETUP.EXE takes from deployment tools (README: Unattended
// install); winget puts the folder and the log file in place of the tokens.
std::string InstallerSwitches()
{
    return "InstallerSwitches:\n" + Field("  ", "Silent", "/VERYSILENT /SUPPRESSMSGBOXES /NORESTART") +
           Field("  ", "SilentWithProgress", "/SILENT /SUPPRESSMSGBOXES /NORESTART") +
           Field("  ", "InstallLocation", "/DIR=\"<INSTALLPATH>\"") + Field("  ", "Log", "/LOG=\"<LOGPATH>\"");
}

// SETUP.EXE's exit codes other than success that winget can explain.
std::string ExpectedReturnCodes()
{
    struct ReturnCode {
        int code;
        const char* response;
    };
    static const std::array<ReturnCode, 5> codes = {{
        {1602, "cancelledByUser"},
        {1618, "installInProgress"},
        {112, "diskFull"},
        {3010, "rebootRequiredToFinish"},
        {1641, "rebootInitiated"},
    }};
    std::string text = "ExpectedReturnCodes:\n";
    for (const ReturnCode& code : codes)
        text += "- InstallerReturnCode: " + std::to_string(code.code) + "\n" + Field("  ", "ReturnResponse", code.response);
    return text;
}

// Values the install does not write are left out, so that winget matches
// the entry by what it really holds.
std::string AppsAndFeaturesEntries(const WingetPackage& package)
{
    if (!package.addRemoveEntry) return "";
    std::string text = "AppsAndFeaturesEntries:\n" + Field("- ", "DisplayName", package.displayName);
    if (!package.displayPublisher.empty()) text += Field("  ", "Publisher", package.displayPublisher);
    if (!package.displayVersion.empty()) text += Field("  ", "DisplayVersion", package.displayVersion);
    if (!package.productCode.empty()) text += Field("  ", "ProductCode", package.productCode);
    return text;
}

std::string Installers(const WingetPackage& package)
{
    return "Installers:\n" + Field("- ", "Architecture", package.architecture) +
           Field("  ", "InstallerUrl", package.installerUrl) + Field("  ", "InstallerSha256", package.installerSha256);
}

bool WriteText(const std::filesystem::path& file, const std::string& text, std::string& error)
{
    return WriteFileBytes(file, std::vector<uint8_t>(text.begin(), text.end()), error);
}

}  // namespace

std::string WingetIdentifierFrom(const std::string& publisher, const std::string& keyName)
{
    return AsciiWord(publisher, "Publisher") + "." + AsciiWord(keyName, "Package");
}

std::string WingetIdentifierProblem(const std::string& identifier)
{
    if (Utf8Length(identifier) > 128) return "it is longer than 128 characters";
    size_t parts = 0;
    size_t start = 0;
    for (;;) {
        const size_t dot = identifier.find('.', start);
        const std::string part = identifier.substr(start, dot == std::string::npos ? std::string::npos : dot - start);
        if (const std::string problem = IdentifierPartProblem(part); !problem.empty()) return problem;
        ++parts;
        if (dot == std::string::npos) break;
        start = dot + 1;
    }
    if (parts < 2 || parts > 8) return "it must have two to eight parts between dots, as Publisher.Package";
    return "";
}

WingetPackage WingetPackageFromScript(const Profile& script)
{
    const EntryNames names = ReadEntryNames(script);
    const std::string version = script.Read("Product", "Version");
    const std::string publisher = script.Read("Product", "Publisher");
    const std::string url = script.Read("Product", "URL");

    WingetPackage package;
    package.identifier = WingetIdentifierFrom(publisher, names.keyName);
    package.version = OrPlaceholder(Utf8FromCp932(version), kWingetUnknownVersion);
    package.name = Utf8FromCp932(names.displayName);
    package.publisher = OrPlaceholder(Utf8FromCp932(publisher), kWingetUnknownPublisher);
    if (IsWebAddress(url)) package.publisherUrl = Utf8FromCp932(url);
    package.license = kWingetUnknownLicense;
    // [TopMessage] Message1 greets the person who sets the program up ("sets
    // up ..."); it does not describe the program, so the author writes that.
    package.shortDescription = kWingetUnknownDescription;
    package.installerUrl = kWingetUnknownInstallerUrl;
    package.installerSha256 = kWingetUnknownInstallerSha256;
    package.addRemoveEntry = !IsSetupOnly(names.unSetupTitle);
    package.productCode = Utf8FromCp932(names.keyName);
    package.displayName = package.name;
    package.displayPublisher = Utf8FromCp932(publisher);
    package.displayVersion = Utf8FromCp932(version);
    return package;
}

std::vector<std::string> WingetPlaceholderFields(const WingetPackage& package)
{
    const std::array<std::pair<const char*, bool>, 6> fields = {{
        {"PackageVersion", package.version == kWingetUnknownVersion},
        {"Publisher", package.publisher == kWingetUnknownPublisher},
        {"License", package.license == kWingetUnknownLicense},
        {"ShortDescription", package.shortDescription == kWingetUnknownDescription},
        {"InstallerUrl", package.installerUrl == kWingetUnknownInstallerUrl},
        {"InstallerSha256", package.installerSha256 == kWingetUnknownInstallerSha256},
    }};
    std::vector<std::string> names;
    for (const auto& [name, unknown] : fields)
        if (unknown) names.push_back(name);
    return names;
}

std::string YamlScalar(const std::string& text)
{
    return NeedsQuotes(text) ? DoubleQuoted(text) : text;
}

std::string WingetVersionManifest(const WingetPackage& package)
{
    return Heading("version") + PackageFields(package) + Field("", "DefaultLocale", kWingetLocale) + Footing("version");
}

std::string WingetLocaleManifest(const WingetPackage& package)
{
    std::string text = Heading("defaultLocale") + PackageFields(package) + Field("", "PackageLocale", kWingetLocale) +
                       Field("", "Publisher", package.publisher);
    if (!package.publisherUrl.empty()) text += Field("", "PublisherUrl", package.publisherUrl);
    return text + Field("", "PackageName", package.name) + Field("", "License", package.license) +
           Field("", "ShortDescription", package.shortDescription) + Footing("defaultLocale");
}

// Scope machine: the install writes its entry under HKEY_LOCAL_MACHINE.
std::string WingetInstallerManifest(const WingetPackage& package)
{
    return Heading("installer") + PackageFields(package) + Field("", "InstallerType", "exe") +
           Field("", "Scope", "machine") + "InstallModes:\n- interactive\n- silent\n- silentWithProgress\n" +
           InstallerSwitches() + ExpectedReturnCodes() + AppsAndFeaturesEntries(package) + Installers(package) +
           Footing("installer");
}

std::optional<std::vector<std::filesystem::path>> WriteWingetManifests(const WingetPackage& package,
                                                                       const std::filesystem::path& folder,
                                                                       std::string& error)
{
    if (const std::string problem = WingetIdentifierProblem(package.identifier); !problem.empty()) {
        // Messages are Shift-JIS, as everywhere in the tool.
        error = "the package identifier " + Quoted(Cp932FromUtf8(package.identifier).value_or("?")) +
                " cannot be used: " + problem;
        return std::nullopt;
    }
    // The identifier is UTF-8 whatever the system's code page.
    const std::u8string stem(package.identifier.begin(), package.identifier.end());
    const std::array<std::pair<std::u8string, std::string>, 3> files = {{
        {stem + u8".yaml", WingetVersionManifest(package)},
        {stem + u8".locale." + std::u8string(kWingetLocale.begin(), kWingetLocale.end()) + u8".yaml",
         WingetLocaleManifest(package)},
        {stem + u8".installer.yaml", WingetInstallerManifest(package)},
    }};
    std::vector<std::filesystem::path> written;
    for (const auto& [name, text] : files) {
        written.push_back(folder / std::filesystem::path(name));
        if (!WriteText(written.back(), text, error)) return std::nullopt;
    }
    return written;
}
