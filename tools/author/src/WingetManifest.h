// The manifest that lets Windows Package Manager (winget) install a one-file
// installer: the multi-file set of winget's manifest schema 1.6.0, written
// beside the installer by `orvauthor package`.
//
//   <identifier>.yaml                 version: which package and version
//   <identifier>.locale.en-US.yaml    defaultLocale: what people read about it
//   <identifier>.installer.yaml       installer: how to download and run it
//
// Its values come from the setup script, converted from Shift-JIS to UTF-8.
// What the script cannot tell (a license, a description, the download
// address) is written as a placeholder in angle brackets, for the author to
// replace before the manifest is submitted; a missing version stays a
// placeholder on purpose, since winget's validation refuses "<" in a version
// and so cannot let it pass unnoticed.
#pragma once

#include "Profile.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

inline const std::string kWingetManifestVersion = "1.6.0";
inline const std::string kWingetLocale = "en-US";

// Placeholders, in UTF-8 like every value of a package.
inline const std::string kWingetUnknownVersion = "<version>";
inline const std::string kWingetUnknownPublisher = "<publisher>";
inline const std::string kWingetUnknownLicense = "<license>";
inline const std::string kWingetUnknownDescription = "<short description>";
inline const std::string kWingetUnknownInstallerUrl = "<installer URL>";
inline const std::string kWingetUnknownInstallerSha256 = "<installer SHA-256>";

// Every value in UTF-8.
struct WingetPackage {
    std::string identifier;        // PackageIdentifier, "Publisher.Package"
    std::string version;           // PackageVersion
    std::string name;              // PackageName
    std::string publisher;         // Publisher
    std::string publisherUrl;      // PublisherUrl; empty: not written
    std::string license;           // License
    std::string shortDescription;  // ShortDescription
    std::string installerUrl;      // InstallerUrl
    std::string installerSha256;   // InstallerSha256, 64 hexadecimal digits
    // SETUP.EXE is built for 64-bit Windows (cmake/mingw-w64-x86_64.cmake).
    std::string architecture = "x64";

    // The Add/Remove entry as the install writes it, by which winget finds
    // the installed package. A "Setup Only." script makes no entry.
    bool addRemoveEntry = true;
    std::string productCode;       // the entry's key name (ProductCode)
    std::string displayName;       // DisplayName
    std::string displayPublisher;  // Publisher; empty: the install writes none
    std::string displayVersion;    // DisplayVersion; empty: the install writes none
};

// The package as the script describes it: the display name as SETUP.EXE
// writes it ([Title] UnSetupDisplay, else the entry's key name: UnSetupKey,
// else UnSetup, else Setup, else "Orvane"), [Product] Version, Publisher and
// URL (a URL only when it is http or https, the only kinds winget accepts),
// the identifier from the publisher and the key name, placeholders for the
// rest. The caller sets installerUrl and installerSha256, and may replace
// the identifier.
WingetPackage WingetPackageFromScript(const Profile& script);

// "Publisher.Package" from the ASCII letters and digits of the two
// (Shift-JIS) texts; a text without any gives "Publisher" or "Package".
std::string WingetIdentifierFrom(const std::string& publisher, const std::string& keyName);

// Why winget would refuse `identifier` (two to eight parts of 1 to 32
// characters between dots, none of \ / : * ? " < > | blanks or control
// characters, at most 128 in all), or empty when it would not.
std::string WingetIdentifierProblem(const std::string& identifier);

// The names of the manifest fields that still hold a placeholder.
std::vector<std::string> WingetPlaceholderFields(const WingetPackage& package);

// `text` as a YAML scalar that every YAML reader takes for this very string:
// as it is when that is safe, else in double quotes with escapes (a colon
// or " #" that could start a mapping or a comment, a leading indicator, a
// quote, "<", a value a reader would take for a number, a boolean or null
// such as 1.0 or yes, blanks at either end, control characters).
std::string YamlScalar(const std::string& text);

// The three files' texts: UTF-8 without a byte-order mark, LF line ends.
std::string WingetVersionManifest(const WingetPackage& package);
std::string WingetLocaleManifest(const WingetPackage& package);
std::string WingetInstallerManifest(const WingetPackage& package);

// Writes the three files into `folder` (which must exist) and gives their
// paths in the order above; nothing, with `error` set, when the identifier
// is refused or a file cannot be written.
std::optional<std::vector<std::filesystem::path>> WriteWingetManifests(const WingetPackage& package,
                                                                       const std::filesystem::path& folder,
                                                                       std::string& error);
