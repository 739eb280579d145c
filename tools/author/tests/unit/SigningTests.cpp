// Signing with a real tool, as an author signs: a test CA and a
// code-signing certificate made here with openssl, Debian's osslsigncode as
// the signing command, and `osslsigncode verify` as the judge of the
// package and of the SETUP.EXE inside it. The real SETUP.EXE and package
// stub of the build are packed, so the signature is over real programs.
#include <doctest/doctest.h>

#ifndef _WIN32

#include "Sha256File.h"
#include "packageformat/PackageFormat.h"
#include "packageformat/Sha256.h"
#include "support/Expander.h"
#include "support/Scratch.h"

#include <string>

namespace {

// A CA and a code-signing certificate issued by it, valid for two days.
class TestCertificates {
public:
    TestCertificates() : folder_("certificates")
    {
        const std::string in = "cd " + ShellQuoted(folder_.Path()) + " && ";
        WriteText(folder_ / "signer.cnf",
                  "basicConstraints=CA:FALSE\nkeyUsage=critical,digitalSignature\nextendedKeyUsage=codeSigning\n");
        made_ = RunShell(in + "openssl req -x509 -newkey rsa:2048 -nodes -keyout ca.key -out ca.crt -days 2 "
                              "-subj '/CN=Orvane Test CA' -addext basicConstraints=critical,CA:TRUE "
                              "-addext keyUsage=critical,keyCertSign,cRLSign >/dev/null 2>&1") == 0 &&
                RunShell(in + "openssl req -newkey rsa:2048 -nodes -keyout signer.key -out signer.csr "
                              "-subj '/CN=Orvane Test Signer' >/dev/null 2>&1") == 0 &&
                RunShell(in + "openssl x509 -req -in signer.csr -CA ca.crt -CAkey ca.key -CAcreateserial "
                              "-out signer.crt -days 2 -extfile signer.cnf >/dev/null 2>&1") == 0;
    }

    bool Made() const { return made_; }

    // osslsigncode writes the signed program elsewhere: {signed}.
    std::string Command() const { return Signing() + " -in {file} -out {signed}"; }
    // The same with the input and output left to add.
    std::string Signing() const
    {
        return "osslsigncode sign -certs " + ShellQuoted(folder_ / "signer.crt") + " -key " +
               ShellQuoted(folder_ / "signer.key") + " -h sha256 -n 'Orvane Test'";
    }

    // The exit status of osslsigncode verify of `file` against the CA.
    int Verify(const std::filesystem::path& file) const
    {
        return RunShell("osslsigncode verify -CAfile " + ShellQuoted(folder_ / "ca.crt") + " -in " +
                        ShellQuoted(file) + " >/dev/null 2>&1");
    }

private:
    Scratch folder_;
    bool made_ = false;
};

// A distribution source with one file and every [Product] key.
class SignedPackageSource {
public:
    SignedPackageSource() : scratch_("signed-package")
    {
        std::filesystem::create_directories(scratch_ / "source");
        WriteText(scratch_ / "source" / "A.TXT", "a text");
        WriteText(scratch_ / "source" / "SETUP.INI",
                  "[Title]\r\nUnSetupKey=OrvaneSigned\r\n[Product]\r\nVersion=1.0\r\nPublisher=Orvane\r\n"
                  "License=MIT\r\nDescription=A signed package\r\n[CopyFile]\r\nFile1=(App)\\A.TXT\r\n");
    }

    const Scratch& Folder() const { return scratch_; }

    // `orvauthor package --sign COMMAND` into OUTPUT, with the build's own
    // SETUP.EXE and stub; its messages go to messages.txt.
    int Package(const std::string& command, const std::string& output) const
    {
        return RunShell(ShellQuoted(ORVAUTHOR_PROGRAM) + " package --setup-exe " + ShellQuoted(ORVANE_SETUP_EXE) +
                        " --stub " + ShellQuoted(ORVANE_PACKAGE_STUB) + " --url https://orvane.example/" + output +
                        " --sign " + ShellQuoted(command) + " " + ShellQuoted(scratch_ / "source") + " " +
                        ShellQuoted(scratch_ / output) + " >" + ShellQuoted(scratch_ / "messages.txt") + " 2>&1");
    }

    std::string Messages() const
    {
        const std::vector<uint8_t> bytes = ReadBytes(scratch_ / "messages.txt");
        return std::string(bytes.begin(), bytes.end());
    }

private:
    Scratch scratch_;
};

// The data of the record `name` of the package `file`, as the stub finds it.
std::string PackedFile(const std::filesystem::path& file, const std::string& name)
{
    const std::vector<uint8_t> bytes = ReadBytes(file);
    const auto trailer = PackageFormat::FindTrailer(bytes.data(), bytes.size());
    REQUIRE(trailer.has_value());
    Sha256 digest;
    digest.Add(bytes.data() + trailer->payloadOffset, static_cast<size_t>(trailer->payloadLength));
    REQUIRE(digest.Finish() == trailer->payloadSha256);
    const auto records =
        PackageFormat::ReadRecords(bytes.data() + trailer->payloadOffset, trailer->payloadLength, trailer->fileCount);
    REQUIRE(records.has_value());
    for (const auto& record : *records)
        if (record.name == name) return std::string(reinterpret_cast<const char*>(record.data), record.size);
    FAIL("no record " << name);
    return {};
}

}  // namespace

TEST_CASE("package --sign: osslsigncode signs SETUP.EXE and then the package; both verify, the payload is found")
{
    REQUIRE_MESSAGE(std::filesystem::exists(ORVANE_PACKAGE_STUB), "the main build makes SETUP.EXE and ORVSTUB.EXE");
    const TestCertificates certificates;
    REQUIRE(certificates.Made());
    const SignedPackageSource source;
    const Scratch& scratch = source.Folder();
    REQUIRE_MESSAGE(source.Package(certificates.Command(), "Signed.exe") == 0, source.Messages());

    CHECK(certificates.Verify(scratch / "Signed.exe") == 0);
    const std::string setup = PackedFile(scratch / "Signed.exe", "SETUP.EXE");
    WriteText(scratch / "SETUP.EXE", setup);
    CHECK(certificates.Verify(scratch / "SETUP.EXE") == 0);
    // Signed, not changed: the unsigned program is its signed content.
    const std::vector<uint8_t> original = ReadBytes(ORVANE_SETUP_EXE);
    CHECK(setup.size() > original.size());
    CHECK(certificates.Verify(ORVANE_SETUP_EXE) != 0);
    CHECK(PackedFile(scratch / "Signed.exe", "A.TXT") == "a text");

    // The manifest names the signed file, the one that is downloaded.
    std::string error;
    const auto hash = FileSha256Hex(scratch / "Signed.exe", error);
    REQUIRE(hash.has_value());
    const std::vector<uint8_t> manifest = ReadBytes(scratch / "Signed.winget" / "Orvane.OrvaneSigned.installer.yaml");
    const std::string text(manifest.begin(), manifest.end());
    // Quoted or not, as YAML needs it for these digits.
    CHECK((text.find("InstallerSha256: " + *hash + "\n") != std::string::npos ||
           text.find("InstallerSha256: \"" + *hash + "\"\n") != std::string::npos));
}

TEST_CASE("package --sign: a command that fails, signs nothing or changes more than it signs leaves nothing")
{
    const TestCertificates certificates;
    REQUIRE(certificates.Made());
    const SignedPackageSource source;
    const Scratch& scratch = source.Folder();
    WriteText(scratch / "Out.exe", "an older package");
    const auto refused = [&](const std::string& command, const std::string& said) {
        CAPTURE(command);
        CHECK(source.Package(command, "Out.exe") == 1);
        CHECK_MESSAGE(source.Messages().find(said) != std::string::npos, source.Messages());
        CHECK(ReadBytes(scratch / "Out.exe") == BytesOf("an older package"));
        CHECK_FALSE(std::filesystem::exists(scratch / "Out.exe.partial"));
        CHECK_FALSE(std::filesystem::exists(scratch / "Out.winget"));
    };
    refused("false {file}", "the signing command failed on SETUP.EXE (exit status 1)");
    refused("true {file}", "left SETUP.EXE unusable: it is not signed");
    refused("true {file} {signed}", "wrote no signed SETUP.EXE to {signed}");
    // Signs, then changes byte 200 of what it signed.
    WriteText(scratch / "tamper.sh", certificates.Signing() + " -in \"$1\" -out \"$2\" >/dev/null && "
                                     "printf X | dd of=\"$2\" bs=1 seek=200 conv=notrunc 2>/dev/null\n");
    refused("sh " + ShellQuoted(scratch / "tamper.sh") + " {file} {signed}", "it was changed at byte 200, not only signed");
    refused("osslsigncode sign", "names no {file}");
}

#endif
