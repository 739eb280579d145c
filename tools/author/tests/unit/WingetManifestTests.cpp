// The winget manifest that `package` writes beside the installer: its values
// from the Shift-JIS script, and (natively) the written files loaded with a
// YAML library, field by field and in the order winget documents.
#include <doctest/doctest.h>

#include "WingetManifest.h"
#include "support/Scratch.h"

#ifdef ORVAUTHOR_HAVE_YAML
#include <yaml-cpp/yaml.h>
#endif

#include <algorithm>
#include <array>

namespace {

// Narrow literals are Shift-JIS in this build; expected UTF-8 is spelt u8"".
std::string Utf8(const char8_t* text)
{
    return reinterpret_cast<const char*>(text);
}

WingetPackage FromScript(const std::string& text)
{
    return WingetPackageFromScript(ParseSetupScript(text));
}

const std::string kSampleScript =
    "[Title]\r\n"
    "Setup=Orvane サンプルビューア\r\n"
    "UnSetup=Orvane サンプルビューアの削除\r\n"
    "UnSetupKey=OrvaneSampleViewer\r\n"
    "UnSetupDisplay=Orvane サンプルビューア\r\n"
    "[Product]\r\n"
    "Version=1.20\r\n"
    "Publisher=Orvane\r\n"
    "URL=https://orvane.example/viewer\r\n"
    "Icon=(App)\\SAMPLEVW.EXE\r\n"
    "License=フリーソフト\r\n"
    "Description=テキストを表示するビューア\r\n";

}  // namespace

TEST_CASE("winget: the package takes the script's names and [Product] values, in UTF-8")
{
    const WingetPackage package = FromScript(kSampleScript);
    CHECK(package.identifier == "Orvane.OrvaneSampleViewer");
    CHECK(package.version == "1.20");
    CHECK(package.name == Utf8(u8"Orvane サンプルビューア"));
    CHECK(package.publisher == "Orvane");
    CHECK(package.publisherUrl == "https://orvane.example/viewer");
    CHECK(package.addRemoveEntry);
    CHECK(package.productCode == "OrvaneSampleViewer");
    CHECK(package.displayName == Utf8(u8"Orvane サンプルビューア"));
    CHECK(package.displayPublisher == "Orvane");
    CHECK(package.displayVersion == "1.20");
    CHECK(package.architecture == "x64");
    CHECK(package.license == Utf8(u8"フリーソフト"));
    CHECK(package.shortDescription == Utf8(u8"テキストを表示するビューア"));
    // Japanese texts, a Japanese default locale.
    CHECK(package.locale == "ja-JP");
    // Only the download address is left for the command to give.
    CHECK(WingetFieldProblems(package) ==
          std::vector<std::string>{"InstallerUrl is missing: give --url, the address the package is downloaded from"});
}

TEST_CASE("winget: the display name falls back as SETUP.EXE's Add/Remove entry does")
{
    CHECK(FromScript("[Other]\r\nX=1\r\n").displayName == "Orvane");
    CHECK(FromScript("[Title]\r\nSetup=セットアップ\r\n").displayName == Utf8(u8"セットアップ"));
    CHECK(FromScript("[Title]\r\nSetup=A\r\nUnSetup=B\r\n").displayName == "B");
    CHECK(FromScript("[Title]\r\nSetup=A\r\nUnSetup=B\r\nUnSetupKey=C\r\n").displayName == "C");
    CHECK(FromScript("[Title]\r\nSetup=A\r\nUnSetup=B\r\nUnSetupKey=C\r\nUnSetupDisplay=D\r\n").displayName == "D");
    // The key name follows the same chain, without UnSetupDisplay.
    CHECK(FromScript("[Title]\r\nSetup=A\r\nUnSetupDisplay=D\r\n").productCode == "A");
    CHECK(FromScript("[Title]\r\nSetup=A\r\nUnSetupDisplay=D\r\n").identifier == "Publisher.A");
    // The profile reader's rules: case-blind names, blanks and one pair of
    // quotes stripped, the first section and key of a name win.
    const WingetPackage read = FromScript(
        "[TITLE]\r\n unsetupdisplay = \" Quoted Name \" \r\nUnSetupDisplay=Second\r\n"
        "[product]\r\nVERSION = '2.0'\r\n[Product]\r\nPublisher=Never\r\n");
    CHECK(read.name == " Quoted Name ");
    CHECK(read.version == "2.0");
    CHECK(read.publisher.empty());
}

TEST_CASE("winget: what the script does not say is named with what gives it, and the options give it")
{
    WingetPackage package = FromScript("[Title]\r\nSetup=Viewer\r\n");
    CHECK(package.version.empty());
    CHECK(package.publisher.empty());
    CHECK(package.publisherUrl.empty());
    CHECK(package.displayVersion.empty());
    CHECK(package.displayPublisher.empty());
    CHECK(package.identifier == "Publisher.Viewer");
    CHECK(package.locale == "en-US");
    CHECK(WingetFieldProblems(package) ==
          std::vector<std::string>{
              "PackageVersion is missing: give [Product] Version in the script",
              "Publisher is missing: give [Product] Publisher in the script",
              "License is missing: give [Product] License in the script, or --license",
              "ShortDescription is missing: give [Product] Description in the script, or --description",
              "InstallerUrl is missing: give --url, the address the package is downloaded from",
          });
    WingetOptions options;
    options.license = "MIT";
    options.description = Utf8(u8"小さなビューア");
    options.installerUrl = "https://orvane.example/setup.exe";
    options.publisherUrl = "https://orvane.example/";
    options.locale = "ja-JP";
    ApplyWingetOptions(package, options);
    CHECK(package.license == "MIT");
    CHECK(package.locale == "ja-JP");
    CHECK(package.publisherUrl == "https://orvane.example/");
    CHECK(WingetFieldProblems(package).size() == 2);

    // Only http and https addresses are taken from the script (winget
    // refuses others); a Japanese publisher alone makes the locale ja-JP.
    CHECK(FromScript("[Product]\r\nURL=www.orvane.example\r\n").publisherUrl.empty());
    CHECK(FromScript("[Product]\r\nURL=HTTP://orvane.example\r\n").publisherUrl == "HTTP://orvane.example");
    CHECK(FromScript("[Product]\r\nPublisher=オルヴァン\r\n").locale == "ja-JP");
    // A "Setup Only." script makes no Add/Remove entry, and names no
    // product code.
    CHECK_FALSE(FromScript("[Title]\r\nUnSetup=Viewer setup only.\r\n").addRemoveEntry);
    const std::string setupOnly = WingetInstallerManifest(FromScript("[Title]\r\nUnSetup=Setup Only.\r\n"));
    CHECK(setupOnly.find("AppsAndFeatures") == std::string::npos);
    CHECK(setupOnly.find("ProductCode") == std::string::npos);
    CHECK(WingetInstallerManifest(package).find("\nAppsAndFeaturesEntries:\n") != std::string::npos);
}

TEST_CASE("winget: values the repository's schema refuses are named")
{
    WingetPackage package = FromScript(kSampleScript);
    package.installerUrl = "https://orvane.example/setup.exe";
    REQUIRE(WingetFieldProblems(package).empty());
    const auto problemWith = [&](auto change) {
        WingetPackage changed = package;
        change(changed);
        const auto problems = WingetFieldProblems(changed);
        return problems.size() == 1 ? problems[0] : std::string("(") + std::to_string(problems.size()) + " problems)";
    };
    CHECK(problemWith([](WingetPackage& p) { p.version = "1.0/beta"; }) ==
          "PackageVersion \"1.0/beta\" holds one of \\ / : * ? \" < > | or a control character: [Product] Version in the "
          "script");
    CHECK(problemWith([](WingetPackage& p) { p.license = "BS"; }) ==
          "License \"BS\" is shorter than 3 characters: [Product] License in the script, or --license");
    CHECK(problemWith([](WingetPackage& p) { p.shortDescription = std::string(257, 'x'); }) ==
          "ShortDescription is longer than 256 characters: [Product] Description in the script, or --description");
    // Characters, not bytes: 256 Japanese characters are 768 bytes of UTF-8.
    CHECK(problemWith([](WingetPackage& p) {
              p.shortDescription.clear();
              for (int i = 0; i < 256; ++i) p.shortDescription += Utf8(u8"表");
          }) == "(0 problems)");
    CHECK(problemWith([](WingetPackage& p) { p.installerUrl = "ftp://orvane.example/setup.exe"; }).starts_with(
        "InstallerUrl \"ftp://orvane.example/setup.exe\" is no http:// or https:// address"));
    CHECK(problemWith([](WingetPackage& p) { p.publisherUrl = "https://"; }).starts_with("PublisherUrl"));
    CHECK(problemWith([](WingetPackage& p) { p.identifier = "Orvane Sample"; }).starts_with(
        "PackageIdentifier \"Orvane Sample\" cannot be used"));
    for (const std::string locale : {"en-US", "ja-JP", "ja", "zh-Hant-TW", "x-klingon", "i-default"}) {
        CAPTURE(locale);
        CHECK(problemWith([&](WingetPackage& p) { p.locale = locale; }) == "(0 problems)");
    }
    for (const std::string locale : {"Japanese", "j", "ja_JP", "ja-", "ja-JP-", "en-US-123456789", "-JP"}) {
        CAPTURE(locale);
        CHECK(problemWith([&](WingetPackage& p) { p.locale = locale; }).starts_with("PackageLocale"));
    }
}

TEST_CASE("winget: the identifier takes only single-byte letters and digits, never a trail byte")
{
    // サ (0x83 0x54) and プ (0x83 0x76) have the trail bytes "T" and "v".
    CHECK(WingetIdentifierFrom("Orvane Soft, Inc.", "サンプルViewer 2") == "OrvaneSoftInc.Viewer2");
    CHECK(WingetIdentifierFrom("株式会社オルヴァン", "ｻﾝﾌﾟﾙ") == "Publisher.Package");
    CHECK(WingetIdentifierFrom("", "") == "Publisher.Package");
    const std::string longKey(40, 'K');
    CHECK(WingetIdentifierFrom("P", longKey) == "P." + std::string(32, 'K'));
    CHECK(WingetIdentifierProblem(WingetIdentifierFrom("P", longKey)).empty());
}

TEST_CASE("winget: identifiers that winget would refuse are named")
{
    CHECK(WingetIdentifierProblem("Orvane.OrvaneSampleViewer").empty());
    CHECK(WingetIdentifierProblem("A.B.C.D.E.F.G.H").empty());
    CHECK(WingetIdentifierProblem(Utf8(u8"Orvane.サンプル")).empty());
    CHECK(WingetIdentifierProblem(Utf8(u8"P.") + std::string(32, 'x')).empty());
    for (const std::string refused : {"NoDot", "A..B", ".A.B", "A.B.", "A.B C", "A.B:C", "A.<B>", "A.B/C", "A.B\tC",
                                      "A.B.C.D.E.F.G.H.I"}) {
        CAPTURE(refused);
        CHECK_FALSE(WingetIdentifierProblem(refused).empty());
    }
    CHECK_FALSE(WingetIdentifierProblem("P." + std::string(33, 'x')).empty());
    const std::string part(32, 'x');
    CHECK_FALSE(WingetIdentifierProblem(part + "." + part + "." + part + "." + part).empty());  // 131 characters
}

TEST_CASE("winget: a YAML value is quoted only when a reader could take it for something else")
{
    for (const std::string plain : {"Orvane", "exe", "x64", "Orvane.OrvaneSampleViewer", "https://orvane.example/a#b",
                                    "/VERYSILENT /SUPPRESSMSGBOXES /NORESTART", "v1.0", "a:b", "C3PO"}) {
        CAPTURE(plain);
        CHECK(YamlScalar(plain) == plain);
    }
    CHECK(YamlScalar(Utf8(u8"Orvane サンプルビューア")) == Utf8(u8"Orvane サンプルビューア"));
    for (const std::string quoted : {"1.0", "1", "-1", ".5", "1e5", "0x1F", "2024-01-01", "12:30", "yes", "No", "ON",
                                     "off", "y", "true", "False", "null", "~", ".inf", ".NaN", "", " lead", "trail ",
                                     "a: b", "a #b", "key:", "#x", "- x", "-x", "?x", "[x]", "{x}", "*x", "&x", "!x",
                                     "|x", ">x", "%x", "@x", "`x", ",x", "'x'", "<version>", "a<b"}) {
        CAPTURE(quoted);
        CHECK(YamlScalar(quoted) == "\"" + quoted + "\"");
    }
    CHECK(YamlScalar("/LOG=\"<LOGPATH>\"") == "\"/LOG=\\\"<LOGPATH>\\\"\"");
    CHECK(YamlScalar("C:\\Program Files") == "\"C:\\\\Program Files\"");
    CHECK(YamlScalar("a\tb\r\nc\x01") == "\"a\\tb\\r\\nc\\x01\"");
    CHECK(YamlScalar("a\xC2\x85" "b\xE2\x80\xA8" "c") == "\"a\\u0085b\\u2028c\"");
}

TEST_CASE("winget: the three files are UTF-8 without a mark, with LF line ends and the schema line first")
{
    const WingetPackage package = FromScript(kSampleScript);
    const std::array<std::pair<std::string, std::string>, 3> files = {{
        {"version", WingetVersionManifest(package)},
        {"defaultLocale", WingetLocaleManifest(package)},
        {"installer", WingetInstallerManifest(package)},
    }};
    for (const auto& [type, text] : files) {
        CAPTURE(type);
        CHECK(text.starts_with("# yaml-language-server: $schema=https://aka.ms/winget-manifest." + type +
                               ".1.12.0.schema.json\n"));
        CHECK(text.ends_with("ManifestType: " + type + "\nManifestVersion: \"1.12.0\"\n"));
        CHECK(text.find('\r') == std::string::npos);
        CHECK((text.find(Utf8(u8"\nPackageName: Orvane サンプルビューア\n")) != std::string::npos) == (type == "defaultLocale"));
    }
}

TEST_CASE("winget: the files are written under the identifier's names; a refused identifier writes nothing")
{
    Scratch scratch("winget");
    std::string error;
    WingetPackage package = FromScript(kSampleScript);
    package.installerUrl = "https://orvane.example/setup.exe";
    package.installerSha256 = std::string(64, 'A');
    const auto written = WriteWingetManifests(package, scratch.Path(), error);
    REQUIRE_MESSAGE(written.has_value(), error);
    REQUIRE(written->size() == 3);
    CHECK((*written)[0] == scratch / "Orvane.OrvaneSampleViewer.yaml");
    CHECK((*written)[1] == scratch / "Orvane.OrvaneSampleViewer.locale.ja-JP.yaml");
    CHECK((*written)[2] == scratch / "Orvane.OrvaneSampleViewer.installer.yaml");
    CHECK(ReadBytes((*written)[0]) == BytesOf(WingetVersionManifest(package)));
    CHECK(ReadBytes((*written)[1]) == BytesOf(WingetLocaleManifest(package)));
    CHECK(ReadBytes((*written)[2]) == BytesOf(WingetInstallerManifest(package)));

    Scratch refused("winget-refused");
    package.identifier = "Orvane Sample";
    package.license.clear();
    CHECK_FALSE(WriteWingetManifests(package, refused.Path(), error).has_value());
    CHECK(error.find("Orvane Sample") != std::string::npos);
    CHECK(error.find("\nLicense is missing") != std::string::npos);
    CHECK(std::filesystem::is_empty(refused.Path()));
    package.license = "MIT";

    package.identifier = "Orvane.Sample";
    error.clear();
    CHECK_FALSE(WriteWingetManifests(package, scratch / "MISSING", error).has_value());
    CHECK_FALSE(error.empty());
}

#ifdef ORVAUTHOR_HAVE_YAML

namespace {

std::string Text(const YAML::Node& node)
{
    REQUIRE(node.IsScalar());
    return node.as<std::string>();
}

YAML::Node LoadWritten(const std::filesystem::path& file)
{
    const std::vector<uint8_t> bytes = ReadBytes(file);
    return YAML::Load(std::string(bytes.begin(), bytes.end()));
}

// A package whose values need every kind of care: a colon, quotes, "#", a
// backslash, a number-like version, Japanese text.
WingetPackage AwkwardPackage()
{
    WingetPackage package = FromScript(
        "[Title]\r\nUnSetupKey=Orvane: Viewer\r\nUnSetupDisplay=表示: \"Viewer\" #1\r\n"
        "[Product]\r\nVersion=2.10\r\nPublisher=Orvane \"Soft\": 東京\r\nURL=https://orvane.example/?a=1#top\r\n"
        "License=GPL-2.0-or-later\r\nDescription=Views: \"text\" #1\r\n");
    package.installerUrl = "https://orvane.example/download/setup.exe";
    package.installerSha256 = "1234567890123456789012345678901234567890123456789012345678901E10";
    return package;
}

std::vector<std::string> KeysOf(const YAML::Node& map)
{
    std::vector<std::string> keys;
    for (const auto& entry : map) keys.push_back(entry.first.as<std::string>());
    return keys;
}

// True when `keys` come in the order of `documented` (which also lists the
// fields not written), each at most once, and none is undocumented.
bool InDocumentedOrder(const std::vector<std::string>& keys, const std::vector<std::string>& documented)
{
    auto next = documented.begin();
    for (const std::string& key : keys) {
        next = std::find(next, documented.end(), key);
        if (next == documented.end()) return false;
        ++next;
    }
    return true;
}

}  // namespace

TEST_CASE("winget: each written file loads as YAML and gives back every value")
{
    Scratch scratch("winget-yaml");
    std::string error;
    const WingetPackage package = AwkwardPackage();
    CHECK(package.identifier == "OrvaneSoft.OrvaneViewer");
    const auto written = WriteWingetManifests(package, scratch.Path(), error);
    REQUIRE(written.has_value());

    const YAML::Node version = LoadWritten((*written)[0]);
    CHECK(version.size() == 5);
    CHECK(Text(version["PackageIdentifier"]) == "OrvaneSoft.OrvaneViewer");
    CHECK(Text(version["PackageVersion"]) == "2.10");
    // Quoted ("!"), so that no reader takes the version for the number 2.1.
    CHECK(version["PackageVersion"].Tag() == "!");
    CHECK(version["ManifestVersion"].Tag() == "!");
    CHECK(Text(version["DefaultLocale"]) == "ja-JP");
    CHECK(Text(version["ManifestType"]) == "version");
    CHECK(Text(version["ManifestVersion"]) == "1.12.0");

    const YAML::Node locale = LoadWritten((*written)[1]);
    CHECK(locale.size() == 10);
    CHECK(Text(locale["PackageIdentifier"]) == "OrvaneSoft.OrvaneViewer");
    CHECK(Text(locale["PackageVersion"]) == "2.10");
    CHECK(Text(locale["PackageLocale"]) == "ja-JP");
    CHECK(Text(locale["Publisher"]) == Utf8(u8"Orvane \"Soft\": 東京"));
    CHECK(Text(locale["PublisherUrl"]) == "https://orvane.example/?a=1#top");
    CHECK(Text(locale["PackageName"]) == Utf8(u8"表示: \"Viewer\" #1"));
    CHECK(Text(locale["License"]) == "GPL-2.0-or-later");
    CHECK(Text(locale["ShortDescription"]) == "Views: \"text\" #1");
    CHECK(Text(locale["ManifestType"]) == "defaultLocale");
    CHECK(Text(locale["ManifestVersion"]) == "1.12.0");

    const YAML::Node installer = LoadWritten((*written)[2]);
    CHECK(installer.size() == 13);
    CHECK(Text(installer["PackageIdentifier"]) == "OrvaneSoft.OrvaneViewer");
    CHECK(Text(installer["PackageVersion"]) == "2.10");
    CHECK(Text(installer["InstallerType"]) == "exe");
    CHECK(Text(installer["Scope"]) == "machine");
    CHECK(installer["InstallModes"].as<std::vector<std::string>>() ==
          std::vector<std::string>{"interactive", "silent", "silentWithProgress"});
    const YAML::Node switches = installer["InstallerSwitches"];
    CHECK(switches.size() == 5);
    CHECK(Text(switches["Silent"]) == "/VERYSILENT /SUPPRESSMSGBOXES /NORESTART");
    CHECK(Text(switches["SilentWithProgress"]) == "/SILENT /SUPPRESSMSGBOXES /NORESTART");
    CHECK(Text(switches["Log"]) == "/LOG=\"<LOGPATH>\"");
    CHECK(Text(switches["InstallLocation"]) == "/DIR=\"<INSTALLPATH>\"");
    CHECK(Text(installer["UpgradeBehavior"]) == "install");
    // winget repairs by running the installer again with its Repair switch.
    CHECK(Text(installer["RepairBehavior"]) == "installer");
    CHECK(Text(switches["Repair"]) == "/REPAIR");

    const YAML::Node codes = installer["ExpectedReturnCodes"];
    REQUIRE(codes.IsSequence());
    const std::vector<std::pair<int, std::string>> expected = {
        {1602, "cancelledByUser"}, {1618, "installInProgress"}, {1638, "downgrade"}, {112, "diskFull"},
        {3010, "rebootRequiredToFinish"}, {1641, "rebootInitiated"}};
    REQUIRE(codes.size() == expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        CAPTURE(i);
        CHECK(codes[i].size() == 2);
        CHECK(codes[i]["InstallerReturnCode"].as<int>() == expected[i].first);
        CHECK(Text(codes[i]["ReturnResponse"]) == expected[i].second);
    }

    const YAML::Node entries = installer["AppsAndFeaturesEntries"];
    REQUIRE(entries.size() == 1);
    CHECK(entries[0].size() == 4);
    CHECK(Text(entries[0]["DisplayName"]) == Utf8(u8"表示: \"Viewer\" #1"));
    CHECK(Text(entries[0]["Publisher"]) == Utf8(u8"Orvane \"Soft\": 東京"));
    CHECK(Text(entries[0]["DisplayVersion"]) == "2.10");
    CHECK(Text(entries[0]["ProductCode"]) == "Orvane: Viewer");

    const YAML::Node installers = installer["Installers"];
    REQUIRE(installers.size() == 1);
    CHECK(installers[0].size() == 5);
    CHECK(Text(installers[0]["Architecture"]) == "x64");
    CHECK(Text(installers[0]["InstallerUrl"]) == "https://orvane.example/download/setup.exe");
    CHECK(Text(installers[0]["InstallerSha256"]) == package.installerSha256);
    CHECK(Text(installers[0]["ProductCode"]) == "Orvane: Viewer");
    CHECK(Text(installers[0]["ElevationRequirement"]) == "elevationRequired");
    CHECK(Text(installer["ManifestType"]) == "installer");
    CHECK(Text(installer["ManifestVersion"]) == "1.12.0");
}

TEST_CASE("winget: an entry without [Product] values, or none at all, loads as such")
{
    const YAML::Node bare = YAML::Load(WingetInstallerManifest(FromScript("[Title]\r\nSetup=Viewer\r\n")));
    REQUIRE(bare["AppsAndFeaturesEntries"].size() == 1);
    CHECK(KeysOf(bare["AppsAndFeaturesEntries"][0]) == std::vector<std::string>{"DisplayName", "ProductCode"});
    CHECK_FALSE(YAML::Load(WingetLocaleManifest(FromScript("")))["PublisherUrl"].IsDefined());

    const YAML::Node setupOnly = YAML::Load(WingetInstallerManifest(FromScript("[Title]\r\nUnSetup=Setup Only.\r\n")));
    CHECK_FALSE(setupOnly["AppsAndFeaturesEntries"].IsDefined());
    REQUIRE(setupOnly["Installers"].IsSequence());
    CHECK_FALSE(setupOnly["Installers"][0]["ProductCode"].IsDefined());
    CHECK(Text(setupOnly["Installers"][0]["ElevationRequirement"]) == "elevationRequired");
}

TEST_CASE("winget: every quoted or plain value reads back as the same text")
{
    for (const std::string value :
         {"1.0", "1", "0x1F", "1e5", "2024-01-01", "12:30", "yes", "No", "null", "~", ".inf", "", " lead", "trail ",
          "a: b", "a #b", "key:", "#x", "- x", "?x", "[x]", "{x}", "*x", "&x", "!x", "|x", ">x", "%x", "@x", "`x",
          ",x", "'x'", "\"x\"", "<version>", "a:b", "https://orvane.example/a#b", "C:\\Program Files\\", "a\tb\r\nc",
          "\x01\x1f\x7f", "a\xC2\x85" "b\xE2\x80\xA8" "c\xE2\x80\xA9" "d\xEF\xBB\xBF" "e"}) {
        CAPTURE(value);
        const YAML::Node loaded = YAML::Load("Key: " + YamlScalar(value) + "\n");
        CHECK(Text(loaded["Key"]) == value);
        // The reader keeps the text of a plain number too; its tag tells
        // whether it will resolve the value as a string ("!": quoted).
        if (value.empty() || value[0] == '.' || (value[0] >= '0' && value[0] <= '9') || value == "yes" ||
            value == "No" || value == "null" || value == "~")
            CHECK(loaded["Key"].Tag() == "!");
    }
    const std::string japanese = Utf8(u8"ソフト: 「表示」 #1");
    CHECK(Text(YAML::Load("Key: " + YamlScalar(japanese) + "\n")["Key"]) == japanese);
}

TEST_CASE("winget: the fields of each file come in the order of winget's documentation")
{
    const std::vector<std::string> versionOrder = {"PackageIdentifier", "PackageVersion", "DefaultLocale",
                                                   "ManifestType", "ManifestVersion"};
    const std::vector<std::string> localeOrder = {
        "PackageIdentifier", "PackageVersion", "PackageLocale", "Publisher", "PublisherUrl", "PublisherSupportUrl",
        "PrivacyUrl", "Author", "PackageName", "PackageUrl", "License", "LicenseUrl", "Copyright", "CopyrightUrl",
        "ShortDescription", "Description", "Moniker", "Tags", "Agreements", "ReleaseNotes", "ReleaseNotesUrl",
        "PurchaseUrl", "InstallationNotes", "Documentations", "Icons", "ManifestType", "ManifestVersion"};
    const std::vector<std::string> installerOrder = {
        "PackageIdentifier", "PackageVersion", "Channel", "InstallerLocale", "Platform", "MinimumOSVersion",
        "InstallerType", "NestedInstallerType", "NestedInstallerFiles", "Scope", "InstallModes", "InstallerSwitches",
        "InstallerSuccessCodes", "ExpectedReturnCodes", "UpgradeBehavior", "Commands", "Protocols", "FileExtensions",
        "Dependencies", "PackageFamilyName", "ProductCode", "Capabilities", "RestrictedCapabilities", "Markets",
        "InstallerAbortsTerminal", "ReleaseDate", "InstallLocationRequired", "RequireExplicitUpgrade",
        "DisplayInstallWarnings", "UnsupportedOSArchitectures", "UnsupportedArguments", "AppsAndFeaturesEntries",
        "ElevationRequirement", "InstallationMetadata", "DownloadCommandProhibited", "RepairBehavior", "Installers",
        "ManifestType", "ManifestVersion"};
    const std::vector<std::string> switchesOrder = {"Silent", "SilentWithProgress", "Interactive", "InstallLocation",
                                                    "Log", "Upgrade", "Custom", "Repair"};
    const std::vector<std::string> returnCodeOrder = {"InstallerReturnCode", "ReturnResponse", "ReturnResponseUrl"};
    const std::vector<std::string> entryOrder = {"DisplayName", "Publisher", "DisplayVersion", "ProductCode",
                                                 "UpgradeCode", "InstallerType"};
    const std::vector<std::string> installerEntryOrder = {
        "InstallerLocale", "Platform", "MinimumOSVersion", "Architecture", "InstallerType", "NestedInstallerType",
        "NestedInstallerFiles", "Scope", "InstallerUrl", "InstallerSha256", "SignatureSha256", "InstallModes",
        "InstallerSwitches", "InstallerSuccessCodes", "ExpectedReturnCodes", "UpgradeBehavior", "Commands",
        "Protocols", "FileExtensions", "Dependencies", "PackageFamilyName", "ProductCode", "Capabilities",
        "RestrictedCapabilities", "Markets", "InstallerAbortsTerminal", "ReleaseDate", "InstallLocationRequired",
        "RequireExplicitUpgrade", "DisplayInstallWarnings", "UnsupportedOSArchitectures", "UnsupportedArguments",
        "AppsAndFeaturesEntries", "ElevationRequirement"};

    // The check itself must see a wrong order.
    CHECK_FALSE(InDocumentedOrder({"PackageVersion", "PackageIdentifier"}, versionOrder));
    CHECK_FALSE(InDocumentedOrder({"PackageIdentifier", "Unknown"}, versionOrder));

    const WingetPackage package = AwkwardPackage();
    const YAML::Node version = YAML::Load(WingetVersionManifest(package));
    const YAML::Node locale = YAML::Load(WingetLocaleManifest(package));
    const YAML::Node installer = YAML::Load(WingetInstallerManifest(package));
    CHECK(KeysOf(version) == versionOrder);
    CHECK(KeysOf(locale) == std::vector<std::string>{"PackageIdentifier", "PackageVersion", "PackageLocale",
                                                     "Publisher", "PublisherUrl", "PackageName", "License",
                                                     "ShortDescription", "ManifestType", "ManifestVersion"});
    CHECK(InDocumentedOrder(KeysOf(locale), localeOrder));
    CHECK(InDocumentedOrder(KeysOf(installer), installerOrder));
    CHECK(InDocumentedOrder(KeysOf(installer["InstallerSwitches"]), switchesOrder));
    for (const auto& code : installer["ExpectedReturnCodes"]) CHECK(InDocumentedOrder(KeysOf(code), returnCodeOrder));
    CHECK(InDocumentedOrder(KeysOf(installer["AppsAndFeaturesEntries"][0]), entryOrder));
    CHECK(InDocumentedOrder(KeysOf(installer["Installers"][0]), installerEntryOrder));
}

#endif

TEST_CASE("winget: a script for all users or for one has an installer for each; one for the user alone needs no elevation")
{
    const std::string script = "[Title]\r\nUnSetupKey=OrvaneTiny\r\n[Product]\r\nVersion=1.0\r\nPublisher=Orvane\r\n"
                               "License=MIT\r\nDescription=The smallest package\r\nScope=";
    WingetPackage either = FromScript(script + "Either\r\n");
    either.installerUrl = "https://orvane.example/setup.exe";
    either.installerSha256 = std::string(64, 'A');
    const std::string manifest = WingetInstallerManifest(either);
    CHECK(manifest.find("\nScope:") == std::string::npos);
    const size_t installers = manifest.find("Installers:\n");
    REQUIRE(installers != std::string::npos);
    const std::string node = "  InstallerUrl: https://orvane.example/setup.exe\n  InstallerSha256: " +
                             std::string(64, 'A') + "\n";
    CHECK(manifest.substr(installers, manifest.find("ManifestType:") - installers) == "Installers:\n- Architecture: x64\n" + node +
                                             "  Scope: user\n  InstallerSwitches:\n    Custom: /CURRENTUSER\n"
                                             "  ProductCode: OrvaneTiny\n"
                                             "- Architecture: x64\n" + node +
                                             "  Scope: machine\n  InstallerSwitches:\n    Custom: /ALLUSERS\n"
                                             "  ProductCode: OrvaneTiny\n  ElevationRequirement: elevationRequired\n");

    WingetPackage user = FromScript(script + "User\r\n");
    const std::string userManifest = WingetInstallerManifest(user);
    CHECK(userManifest.find("\nScope: user\n") != std::string::npos);
    CHECK(userManifest.find("ElevationRequirement") == std::string::npos);
    CHECK(userManifest.find("Custom") == std::string::npos);
    CHECK(WingetInstallerManifest(FromScript(script + "\r\n")).find("\nScope: machine\n") != std::string::npos);
}
