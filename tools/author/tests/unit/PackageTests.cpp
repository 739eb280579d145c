// Packaging a distribution as one file: the payload read back through the
// format's own reader (the one the stub checks a package with), the script
// without its disk changes, and what stops a package.
#include <doctest/doctest.h>

#include "Package.h"
#include "PackageFormat.h"
#include "ScriptModel.h"
#include "Sha256.h"
#include "support/Expander.h"
#include "support/Scratch.h"

#include <algorithm>

namespace {

class PackageFixture {
public:
    PackageFixture() : scratch_("package"), staging_(scratch_ / "staging")
    {
        std::filesystem::create_directories(Source());
        std::filesystem::create_directories(staging_);
        request_.sourceFolder = Source();
        request_.script = Source() / "SETUP.INI";
        request_.setupExe = scratch_ / "SETUP.EXE";
        request_.stub = scratch_ / "ORVSTUB.EXE";
        request_.output = scratch_ / "Setup.exe";
        WriteText(request_.setupExe, "MZ setup program");
        WriteText(request_.stub, "MZ stub program");
    }

    std::filesystem::path Source() const { return scratch_ / "source"; }
    const std::filesystem::path& Output() const { return request_.output; }
    const Scratch& Folder() const { return scratch_; }

    void Add(const std::string& name, const std::string& contents = "")
    {
        WriteText(Named(Source(), name), contents.empty() ? "contents of " + name : contents);
    }

    PackagePlan Plan(const std::string& script)
    {
        WriteText(request_.script, script);
        return PlanPackage(Profile::Parse(script), script, request_, staging_);
    }

    void Package(const std::string& script)
    {
        const PackagePlan plan = Plan(script);
        REQUIRE(plan.problems.empty());
        std::vector<std::string> packed;
        std::string error;
        REQUIRE_MESSAGE(CarryOutPackage(plan, request_, staging_, packed, error), error);
    }

private:
    Scratch scratch_;
    std::filesystem::path staging_;
    PackageRequest request_;
};

// A package file in memory with its trailer and records; the records point
// into `bytes`.
struct ReadBack {
    std::vector<uint8_t> bytes;
    std::optional<PackageFormat::Trailer> trailer;
    std::vector<PackageFormat::Record> records;

    explicit ReadBack(const std::filesystem::path& file) : bytes(ReadBytes(file))
    {
        trailer = PackageFormat::ReadTrailer(bytes.data(), bytes.size());
        REQUIRE(trailer.has_value());
        const uint8_t* payload = bytes.data() + trailer->payloadOffset;
        CHECK(PackageFormat::Crc32Of(payload, trailer->payloadLength) == trailer->payloadCrc);
        auto read = PackageFormat::ReadRecords(payload, trailer->payloadLength, trailer->fileCount);
        REQUIRE(read.has_value());
        records = *read;
    }
    ReadBack(const ReadBack&) = delete;

    std::vector<std::string> Names() const
    {
        std::vector<std::string> names;
        for (const auto& record : records) names.emplace_back(record.name);
        return names;
    }
    std::string Data(const std::string& name) const
    {
        for (const auto& record : records)
            if (record.name == name) return std::string(reinterpret_cast<const char*>(record.data), record.size);
        FAIL("no record " << name);
        return {};
    }
};

std::vector<uint8_t> Payload(const std::vector<std::pair<std::string, std::string>>& files)
{
    std::vector<uint8_t> payload;
    for (const auto& [name, data] : files) {
        PackageFormat::AppendRecordHeader(payload, name, data.size(), 0,
                                          PackageFormat::Crc32Of(BytesOf(data).data(), data.size()));
        payload.insert(payload.end(), data.begin(), data.end());
    }
    return payload;
}

}  // namespace

TEST_CASE("A package holds the distribution flat behind the stub, its script without disk changes")
{
    PackageFixture fixture;
    const std::string display = "\x95\x5C\x8E\xA6";  // 表示, trail byte "\"
    fixture.Add("A.EXE");
    fixture.Add("B.DAT", "data, data, data, data");
    fixture.Add(display + ".TXT");
    fixture.Add("README.TXT");
    const auto stamp = std::filesystem::last_write_time(fixture.Source() / "A.EXE") - std::chrono::hours(24 * 300);
    std::filesystem::last_write_time(fixture.Source() / "A.EXE", stamp);
    const std::string head = "; the \x95\x5C\x8E\xA6 sample\r\n[Readme]\r\nFile=README.TXT\r\n[CopyFile]\r\n"
                             "File1=(App)\\A.EXE\r\n";
    const std::string script = head + "File2=(Dch)(App)\\B.DA_\r\nFile3= \"(Dch)(App)\\" + display +
                               ".TXT\"\r\nFile4=(App)\\A.EXE\r\n[Other]\r\nKey=(Dch)stays\r\n";
    fixture.Package(script);

    const ReadBack package(fixture.Output());
    const std::string stub = "MZ stub program";
    CHECK(package.trailer->payloadOffset == stub.size());
    CHECK(std::equal(stub.begin(), stub.end(), package.bytes.begin()));
    // A.EXE is on disks 1 and 3 and SETUP.EXE on 1 and 3: each is packed once.
    CHECK(package.Names() ==
          std::vector<std::string>{"SETUP.INI", "SETUP.EXE", "README.TXT", "A.EXE", "B.DA_", display + ".TXT"});
    for (const auto& record : package.records)
        CHECK(PackageFormat::Crc32Of(record.data, record.size) == record.crc);

    const std::string packaged = package.Data("SETUP.INI");
    CHECK(packaged == head + "File2=(App)\\B.DA_\r\nFile3= \"(App)\\" + display +
                          ".TXT\"\r\nFile4=(App)\\A.EXE\r\n[Other]\r\nKey=(Dch)stays\r\n");
    for (const auto& entry : ReadCopyEntries(Profile::Parse(packaged))) CHECK(entry.disk == 1);

    CHECK(package.Data("SETUP.EXE") == "MZ setup program");
    CHECK(package.Data("A.EXE") == "contents of A.EXE");
    WriteText(fixture.Folder() / "B.DA_", package.Data("B.DA_"));
    CHECK(ExpandIndependently(fixture.Folder() / "B.DA_") == BytesOf("data, data, data, data"));
    // The author's time stamp travels as a FILETIME, for the installer's
    // overwrite decision.
    const auto& a = *std::find_if(package.records.begin(), package.records.end(),
                                  [](const auto& record) { return record.name == "A.EXE"; });
    const auto sinceUnix = std::chrono::duration<int64_t, std::ratio<1, 10000000>>(
        static_cast<int64_t>(a.writeTime) - 116444736000000000LL);
    const auto back = std::chrono::file_clock::from_sys(
        std::chrono::sys_time<std::chrono::duration<int64_t, std::ratio<1, 10000000>>>(sinceUnix));
    CHECK(std::chrono::abs(back - stamp) < std::chrono::microseconds(1));
}

TEST_CASE("The package's checks find a cut-off file, a changed byte and names that are not plain")
{
    CHECK(PackageFormat::Crc32Of(BytesOf("123456789").data(), 9) == 0xCBF43926u);  // the CRC-32 check value

    std::vector<uint8_t> file = BytesOf("MZ stub");
    const std::vector<uint8_t> payload = Payload({{"SETUP.EXE", "program"}, {"\x95\x5C\x8E\xA6.TXT", "text"}});
    file.insert(file.end(), payload.begin(), payload.end());
    const auto trailer =
        PackageFormat::TrailerBytes({7, payload.size(), 2, PackageFormat::Crc32Of(payload.data(), payload.size())});
    file.insert(file.end(), trailer.begin(), trailer.end());

    const auto read = PackageFormat::ReadTrailer(file.data(), file.size());
    REQUIRE(read.has_value());
    CHECK(PackageFormat::ReadRecords(file.data() + 7, payload.size(), 2).has_value());
    CHECK_FALSE(PackageFormat::ReadRecords(file.data() + 7, payload.size(), 3).has_value());
    CHECK_FALSE(PackageFormat::ReadRecords(file.data() + 7, payload.size() - 1, 2).has_value());
    CHECK_FALSE(PackageFormat::ReadTrailer(file.data(), file.size() - 1).has_value());
    CHECK_FALSE(PackageFormat::ReadTrailer(file.data(), file.size() / 2).has_value());
    std::vector<uint8_t> extra = file;
    extra.insert(extra.end() - 32, 'x');  // one byte more than the trailer says
    CHECK_FALSE(PackageFormat::ReadTrailer(extra.data(), extra.size()).has_value());
    file[7 + 14] ^= 1;  // a byte of the first file's data
    CHECK(PackageFormat::Crc32Of(file.data() + 7, payload.size()) != read->payloadCrc);

    // A device name opened the device: NUL took the file's bytes, CON, AUX
    // and COM1 failed as a disk that is full.
    for (const std::string name : {"..\\SETUP.EXE", "A/B", "C:X", "..", "A..B", "A.", "", "\x95", "NUL", "con",
                                   "AUX.TXT", "COM1", "Lpt9.dat", "CONIN$"})
        CHECK_FALSE_MESSAGE(PackageFormat::ReadRecords(Payload({{name, "x"}}).data(), Payload({{name, "x"}}).size(), 1),
                            name);
    CHECK(PackageFormat::IsPlainFileName("\x83\x7C\x81\x5B\x83\x67.EXE"));  // ポート, trail byte "|"
    for (const char* name : {"NULL.DAT", "CONSOLE.TXT", "COM10", "AUXILIARY"}) CHECK_MESSAGE(PackageFormat::IsPlainFileName(name), name);
}

TEST_CASE("A package is refused as a whole for what layout refuses and for a file outside the one folder")
{
    PackageFixture fixture;
    fixture.Add("A.EXE");
    WriteText(fixture.Output(), "an older package");

    PackagePlan plan = fixture.Plan("[CopyFile]\r\nFile1=(App)\\A.EXE\r\nFile2=(Dch)(App)\\MISSING.EXE\r\n");
    const auto mentions = [&](const std::string& words) {
        return std::any_of(plan.problems.begin(), plan.problems.end(),
                           [&](const std::string& p) { return p.find(words) != std::string::npos; });
    };
    CHECK(plan.problems.size() == 1);
    CHECK(mentions("File2: \"MISSING.EXE\" is not a file in the source folder"));

    // A readme in a folder of its own has no place in the one folder.
    std::filesystem::remove(fixture.Folder() / "ORVSTUB.EXE");
    std::filesystem::create_directories(fixture.Source() / "DOCS");
    WriteText(fixture.Source() / "DOCS" / "README.TXT", "read me");
    plan = fixture.Plan("[Readme]\r\nFile=DOCS\\README.TXT\r\n[CopyFile]\r\nFile1=(App)\\A.EXE\r\n");
    CHECK(plan.problems.size() == 2);
    CHECK(mentions("\"DOCS\\README.TXT\" is not a plain file name"));
    CHECK(mentions("package stub (ORVSTUB.EXE) not found"));
    CHECK(ReadBytes(fixture.Output()) == BytesOf("an older package"));
}

#ifndef _WIN32
TEST_CASE("orvauthor package: exit 0 with the package, 1 with nothing written, 2 on wrong arguments")
{
    Scratch scratch("cli-package");
    std::filesystem::create_directories(scratch / "source");
    WriteText(scratch / "source" / "A.EXE", "a");
    WriteText(scratch / "SETUP.EXE", "MZ setup");
    WriteText(scratch / "STUB.EXE", "MZ stub");
    const auto run = [&](const std::string& script, const std::string& output) {
        WriteText(scratch / "source" / "SETUP.INI", script);
        return RunShell(ShellQuoted(ORVAUTHOR_PROGRAM) + " package --setup-exe " + ShellQuoted(scratch / "SETUP.EXE") +
                        " --stub " + ShellQuoted(scratch / "STUB.EXE") + " " + ShellQuoted(scratch / "source") + " " +
                        ShellQuoted(scratch / output) + " >/dev/null 2>&1");
    };
    CHECK(run("[CopyFile]\r\nFile1=(App)\\A.EXE\r\n", "good.exe") == 0);
    CHECK(ReadBack(scratch / "good.exe").Names() == std::vector<std::string>{"SETUP.INI", "SETUP.EXE", "A.EXE"});
    // Its winget manifests beside it name the package by its SHA-256.
    std::string error;
    const auto hash = FileSha256Hex(scratch / "good.exe", error);
    REQUIRE(hash);
    const std::vector<uint8_t> bytes = ReadBytes(scratch / "good.winget" / "Publisher.Orvane.installer.yaml");
    const std::string installer(bytes.begin(), bytes.end());
    // Quoted or not, as YAML needs it for these digits.
    const size_t field = installer.find("InstallerSha256: ");
    REQUIRE(field != std::string::npos);
    const std::string line = installer.substr(field, installer.find('\n', field) - field);
    CHECK((line == "InstallerSha256: " + *hash || line == "InstallerSha256: \"" + *hash + "\""));
    CHECK(std::filesystem::exists(scratch / "good.winget" / "Publisher.Orvane.yaml"));
    CHECK(std::filesystem::exists(scratch / "good.winget" / "Publisher.Orvane.locale.en-US.yaml"));
    CHECK(run("[CopyFile]\r\nFile1=(App)\\B.EXE\r\n", "bad.exe") == 1);
    CHECK_FALSE(std::filesystem::exists(scratch / "bad.exe"));
    CHECK_FALSE(std::filesystem::exists(scratch / "bad.exe.partial"));
    CHECK(RunShell(ShellQuoted(ORVAUTHOR_PROGRAM) + " package " + ShellQuoted(scratch / "source") +
                   " >/dev/null 2>&1") == 2);
}
#endif
