#include "WingetManifest.h"

#include "FileData.h"
#include "Quoted.h"
#include "SystemText.h"
#include "script/ExitCodes.h"
#include "script/RunSwitches.h"
#include "script/ShiftJis.h"
#include "script/TextCase.h"

#include <array>
#include <cstring>
#include <string_view>

namespace {

bool IsWebAddress(const std::string& url)
{
    return StartsWithText(url, "http://") || StartsWithText(url, "https://");
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

bool IsAscii(const std::string& text)
{
    for (const char c : text)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

bool IsAsciiLetters(const std::string& text, size_t from, size_t to)
{
    for (size_t i = from; i < to; ++i)
        if (!((text[i] >= 'A' && text[i] <= 'Z') || (text[i] >= 'a' && text[i] <= 'z'))) return false;
    return true;
}

// winget's locale: a language of 2 or 3 letters (or "i-" or "x-" and
// letters), then parts of 1 to 8 letters after "-", at most 20 characters
// ("ja-JP", "en-US", "zh-Hant-TW").
bool IsLocale(const std::string& locale)
{
    if (locale.empty() || locale.size() > 20) return false;
    std::vector<std::string> parts;
    for (size_t at = 0;;) {
        const size_t dash = locale.find('-', at);
        parts.push_back(locale.substr(at, dash == std::string::npos ? std::string::npos : dash - at));
        if (dash == std::string::npos) break;
        at = dash + 1;
    }
    size_t next = 1;
    const std::string& first = parts[0];
    if ((first == "i" || first == "I" || first == "x" || first == "X") && parts.size() > 1) {
        const size_t limit = (first == "x" || first == "X") ? 8 : 20;
        if (parts[1].empty() || parts[1].size() > limit || !IsAsciiLetters(parts[1], 0, parts[1].size()))
            return false;
        next = 2;
    } else if (first.size() < 2 || first.size() > 3 || !IsAsciiLetters(first, 0, first.size())) {
        return false;
    }
    for (size_t i = next; i < parts.size(); ++i)
        if (parts[i].empty() || parts[i].size() > 8 || !IsAsciiLetters(parts[i], 0, parts[i].size())) return false;
    return true;
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

// --- What the repository requires ------------------------------------------

// A value in a message, which is Shift-JIS like every message of the tool.
std::string Shown(const std::string& utf8)
{
    return Quoted(Cp932FromUtf8(utf8).value_or(utf8));
}

// A text field whose length winget's schema bounds (in characters); a
// minimum of 0 makes it optional. Empty when it is fine.
std::string LengthProblem(const char* field, const std::string& value, size_t minimum, size_t maximum,
                          const char* source)
{
    const size_t length = Utf8Length(value);
    if (value.empty()) return minimum == 0 ? "" : std::string(field) + " is missing: give " + source;
    if (length < minimum)
        return std::string(field) + " " + Shown(value) + " is shorter than " + std::to_string(minimum) +
               " characters: " + source;
    if (length > maximum)
        return std::string(field) + " is longer than " + std::to_string(maximum) + " characters: " + source;
    return "";
}

bool HasControlCharacter(const std::string& text)
{
    for (const char c : text)
        if (static_cast<unsigned char>(c) < 0x20) return true;
    return false;
}

std::string VersionProblem(const std::string& version)
{
    const char* source = "[Product] Version in the script";
    if (const std::string problem = LengthProblem("PackageVersion", version, 1, 128, source); !problem.empty())
        return problem;
    if (version.find_first_of("\\/:*?\"<>|") != std::string::npos || HasControlCharacter(version))
        return "PackageVersion " + Shown(version) + " holds one of \\ / : * ? \" < > | or a control character: " +
               source;
    return "";
}

// An address winget takes: http or https, at most 2048 characters.
std::string UrlProblem(const char* field, const std::string& url, bool required, const char* source)
{
    if (url.empty()) return required ? std::string(field) + " is missing: give " + source : "";
    if (!IsWebAddress(url) || url.find("://") + 3 == url.size())
        return std::string(field) + " " + Shown(url) + " is no http:// or https:// address: " + source;
    if (Utf8Length(url) > 2048) return std::string(field) + " is longer than 2048 characters: " + source;
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
    return "InstallerSwitches:\n" + Field("  ", "Silent", QuietSwitches) +
           Field("  ", "SilentWithProgress", ProgressOnlySwitches) +
           Field("  ", "InstallLocation", "/DIR=\"<INSTALLPATH>\"") + Field("  ", "Log", "/LOG=\"<LOGPATH>\"") +
           Field("  ", "Repair", "/REPAIR");
}

// SETUP.EXE's exit codes other than success that winget can explain.
std::string ExpectedReturnCodes()
{
    struct ReturnCode {
        int code;
        const char* response;
    };
    static const std::array<ReturnCode, 6> codes = {{
        {ExitCode::Cancelled, "cancelledByUser"},
        {ExitCode::AlreadyRunning, "installInProgress"},
        {ExitCode::DowngradeRefused, "downgrade"},
        {ExitCode::NotEnoughSpace, "diskFull"},
        {ExitCode::RestartNeeded, "rebootRequiredToFinish"},
        {ExitCode::RestartStarted, "rebootInitiated"},
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

// One installer: where to get it and its entry's key name (by which winget
// tells it is installed). An install for all users needs an administrator
// (it writes HKEY_LOCAL_MACHINE and the Windows folder); one for the
// current user needs none. Where the script allows both, each node says
// its scope and passes the switch that chooses it.
std::string InstallerNode(const WingetPackage& package, ScopeChoice scope)
{
    std::string text = Field("- ", "Architecture", package.architecture) +
                       Field("  ", "InstallerUrl", package.installerUrl) +
                       Field("  ", "InstallerSha256", package.installerSha256);
    if (package.scope == ScopeChoice::Either) {
        const bool machine = scope == ScopeChoice::Machine;
        text += Field("  ", "Scope", machine ? "machine" : "user") + "  InstallerSwitches:\n" +
                Field("    ", "Custom", machine ? "/ALLUSERS" : "/CURRENTUSER");
    }
    if (package.addRemoveEntry) text += Field("  ", "ProductCode", package.productCode);
    if (scope == ScopeChoice::Machine) text += Field("  ", "ElevationRequirement", "elevationRequired");
    return text;
}

std::string Installers(const WingetPackage& package)
{
    if (package.scope == ScopeChoice::Either)
        return "Installers:\n" + InstallerNode(package, ScopeChoice::User) + InstallerNode(package, ScopeChoice::Machine);
    return "Installers:\n" + InstallerNode(package, package.scope);
}

// The scope of the whole manifest when it has one installer.
std::string ManifestScope(const WingetPackage& package)
{
    if (package.scope == ScopeChoice::Either) return "";
    return Field("", "Scope", package.scope == ScopeChoice::User ? "user" : "machine");
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

WingetPackage WingetPackageFromScript(const SetupScript& script)
{
    // The names SETUP.EXE gives the install's Add/Remove entry.
    const ScriptHeader& names = script.header;
    const std::string& version = script.product.version;
    const std::string& publisher = script.product.publisher;
    const std::string& url = script.product.url;

    WingetPackage package;
    package.identifier = WingetIdentifierFrom(publisher, names.addRemoveKey);
    package.version = Utf8FromCp932(version);
    package.name = Utf8FromCp932(names.addRemoveName);
    package.publisher = Utf8FromCp932(publisher);
    // Japanese texts are described as Japanese.
    package.locale = IsAscii(package.name) && IsAscii(package.publisher) ? "en-US" : "ja-JP";
    if (IsWebAddress(url)) package.publisherUrl = Utf8FromCp932(url);
    package.license = Utf8FromCp932(script.product.license);
    // [TopMessage] Message1 greets the person who sets the program up ("sets
    // up ..."); it does not describe the program: [Product] Description does.
    package.shortDescription = Utf8FromCp932(script.product.description);
    package.addRemoveEntry = !IsSetupOnly(names.unSetupTitle);
    package.scope = ReadScopeChoice(script.profile);
    package.productCode = Utf8FromCp932(names.addRemoveKey);
    package.displayName = package.name;
    package.displayPublisher = package.publisher;
    package.displayVersion = package.version;
    return package;
}

void ApplyWingetOptions(WingetPackage& package, const WingetOptions& options)
{
    const auto replace = [](std::string& value, const std::string& option) {
        if (!option.empty()) value = option;
    };
    replace(package.identifier, options.identifier);
    replace(package.installerUrl, options.installerUrl);
    replace(package.license, options.license);
    replace(package.shortDescription, options.description);
    replace(package.publisherUrl, options.publisherUrl);
    replace(package.locale, options.locale);
}

std::vector<std::string> WingetFieldProblems(const WingetPackage& package)
{
    std::vector<std::string> problems;
    const auto note = [&](const std::string& problem) {
        if (!problem.empty()) problems.push_back(problem);
    };
    if (const std::string problem = WingetIdentifierProblem(package.identifier); !problem.empty())
        note("PackageIdentifier " + Shown(package.identifier) + " cannot be used: " + problem +
             "; give another with --id");
    note(VersionProblem(package.version));
    if (!IsLocale(package.locale))
        note("PackageLocale " + Shown(package.locale) + " is no locale such as ja-JP or en-US: --locale");
    note(LengthProblem("Publisher", package.publisher, 2, 256, "[Product] Publisher in the script"));
    note(UrlProblem("PublisherUrl", package.publisherUrl, false, "--publisher-url or [Product] URL in the script"));
    note(LengthProblem("PackageName", package.name, 2, 256, "[Title] UnSetupDisplay in the script"));
    note(LengthProblem("License", package.license, 3, 512, "[Product] License in the script, or --license"));
    note(LengthProblem("ShortDescription", package.shortDescription, 3, 256,
                       "[Product] Description in the script, or --description"));
    note(UrlProblem("InstallerUrl", package.installerUrl, true, "--url, the address the package is downloaded from"));
    return problems;
}

std::string YamlScalar(const std::string& text)
{
    return NeedsQuotes(text) ? DoubleQuoted(text) : text;
}

std::string WingetVersionManifest(const WingetPackage& package)
{
    return Heading("version") + PackageFields(package) + Field("", "DefaultLocale", package.locale) +
           Footing("version");
}

std::string WingetLocaleManifest(const WingetPackage& package)
{
    std::string text = Heading("defaultLocale") + PackageFields(package) +
                       Field("", "PackageLocale", package.locale) + Field("", "Publisher", package.publisher);
    if (!package.publisherUrl.empty()) text += Field("", "PublisherUrl", package.publisherUrl);
    return text + Field("", "PackageName", package.name) + Field("", "License", package.license) +
           Field("", "ShortDescription", package.shortDescription) + Footing("defaultLocale");
}

// Scope machine: the install writes its entry under HKEY_LOCAL_MACHINE
// (user: under HKEY_CURRENT_USER; both: one installer each). A newer
// version installs over an older one, into its folder; the same version
// repairs when the installer is run again with /REPAIR.
std::string WingetInstallerManifest(const WingetPackage& package)
{
    return Heading("installer") + PackageFields(package) + Field("", "InstallerType", "exe") +
           ManifestScope(package) + "InstallModes:\n- interactive\n- silent\n- silentWithProgress\n" +
           InstallerSwitches() + ExpectedReturnCodes() + Field("", "UpgradeBehavior", "install") +
           AppsAndFeaturesEntries(package) + Field("", "RepairBehavior", "installer") + Installers(package) + Footing("installer");
}

std::optional<std::vector<std::filesystem::path>> WriteWingetManifests(const WingetPackage& package,
                                                                       const std::filesystem::path& folder,
                                                                       std::string& error)
{
    if (const auto problems = WingetFieldProblems(package); !problems.empty()) {
        for (const std::string& problem : problems) error += (error.empty() ? "" : "\n") + problem;
        return std::nullopt;
    }
    // The identifier is UTF-8 whatever the system's code page.
    const std::u8string stem(package.identifier.begin(), package.identifier.end());
    const std::array<std::pair<std::u8string, std::string>, 3> files = {{
        {stem + u8".yaml", WingetVersionManifest(package)},
        {stem + u8".locale." + std::u8string(package.locale.begin(), package.locale.end()) + u8".yaml",
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
