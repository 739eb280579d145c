// The manifest that lets Windows Package Manager (winget) install a one-file
// installer: the multi-file set of winget's manifest schema 1.12.0 (the
// version the community repository merges), written beside the installer
// by `orvauthor package`.
//
//   <identifier>.yaml                   version: which package and version
//   <identifier>.locale.<locale>.yaml   defaultLocale: what people read about it
//   <identifier>.installer.yaml         installer: how to download and run it
//
// Every value is the author's own: the setup script's [Title] and [Product]
// (Shift-JIS, converted to UTF-8), or the command's options. Nothing is
// ever a placeholder: a field the repository requires that neither gives,
// or a value its schema refuses, is named, and the set is not written.
#pragma once

#include "script/SetupScript.h"

#include <filesystem>
#include <optional>
#include "script/InstallScope.h"

#include <string>
#include <vector>

inline const std::string kWingetManifestVersion = "1.12.0";

// Every value in UTF-8; an empty one was not given.
struct WingetPackage {
    std::string identifier;        // PackageIdentifier, "Publisher.Package"
    std::string version;           // PackageVersion
    std::string locale;            // PackageLocale of the default locale, as "ja-JP"
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

    // [Product] Scope: one installer for all users or for the current user,
    // or one of each for a script that allows both.
    ScopeChoice scope = ScopeChoice::Machine;
};

// What the command's options give, in UTF-8; an empty one leaves the
// script's value (or the default) in place, a given one replaces it.
struct WingetOptions {
    std::string identifier;    // --id
    std::string installerUrl;  // --url
    std::string license;       // --license
    std::string description;   // --description
    std::string publisherUrl;  // --publisher-url
    std::string locale;        // --locale
};

// The package as the script describes it: the display name as SETUP.EXE
// writes it ([Title] UnSetupDisplay, else the entry's key name: UnSetupKey,
// else UnSetup, else Setup, else "Orvane"), [Product] Version, Publisher,
// URL (only when it is http or https, the only kinds winget accepts),
// License and Description (the short description), the identifier from the
// publisher and the key name, and the default locale: ja-JP when the name
// or the publisher holds anything but ASCII, else en-US. The caller sets
// installerUrl and installerSha256.
WingetPackage WingetPackageFromScript(const SetupScript& script);

// The options laid over the script's values.
void ApplyWingetOptions(WingetPackage& package, const WingetOptions& options);

// One line per field that is required and missing, or whose value winget's
// schema refuses, each naming the key or option that gives it; empty when
// the manifest set can be written.
std::vector<std::string> WingetFieldProblems(const WingetPackage& package);

// "Publisher.Package" from the ASCII letters and digits of the two
// (Shift-JIS) texts; a text without any gives "Publisher" or "Package".
std::string WingetIdentifierFrom(const std::string& publisher, const std::string& keyName);

// Why winget would refuse `identifier` (two to eight parts of 1 to 32
// characters between dots, none of \ / : * ? " < > | blanks or control
// characters, at most 128 in all), or empty when it would not.
std::string WingetIdentifierProblem(const std::string& identifier);

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
// paths in the order above; nothing, with `error` set, when a field has a
// problem (WingetFieldProblems, one per line) or a file cannot be written.
std::optional<std::vector<std::filesystem::path>> WriteWingetManifests(const WingetPackage& package,
                                                                       const std::filesystem::path& folder,
                                                                       std::string& error);
