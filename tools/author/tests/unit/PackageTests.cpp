// Packaging a distribution as one file: the payload read back through the
// format's own reader (the one the stub checks a package with), the script
// without its disk changes, where the payload is found in a signed file,
// what a signing command may change, and what stops a package.
#include <doctest/doctest.h>

#include "CopyPrediction.h"
#include "Package.h"
#include "Sha256File.h"
#include "SignatureCheck.h"
#include "packageformat/PackageFormat.h"
#include "packageformat/Sha256.h"
#include "support/Expander.h"
#include "support/Scratch.h"

#include <algorithm>

namespace {

class PackageFixture {
public:
    PackageFixture() : scratch_("package"), work_(scratch_ / "work")
    {
        std::filesystem::create_directories(Source());
        std::filesystem::create_directories(work_);
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
        return PlanPackage(ParseSetupScript(script), script, request_, work_);
    }

    void Package(const std::string& script)
    {
        const PackagePlan plan = Plan(script);
        REQUIRE(plan.problems.empty());
        std::vector<std::string> packed;
        std::string error;
        REQUIRE_MESSAGE(CarryOutPackage(plan, request_, work_, packed, error), error);
    }

private:
    Scratch scratch_;
    std::filesystem::path work_;
    PackageRequest request_;
};

PackageFormat::Digest DigestOf(const uint8_t* bytes, uint64_t size)
{
    Sha256 digest;
    digest.Add(bytes, static_cast<size_t>(size));
    return digest.Finish();
}

// A package file in memory with its trailer and records; the records point
// into `bytes`.
struct ReadBack {
    std::vector<uint8_t> bytes;
    std::optional<PackageFormat::Trailer> trailer;
    std::vector<PackageFormat::Record> records;

    explicit ReadBack(const std::filesystem::path& file) : bytes(ReadBytes(file))
    {
        trailer = PackageFormat::FindTrailer(bytes.data(), bytes.size());
        REQUIRE(trailer.has_value());
        const uint8_t* payload = bytes.data() + trailer->payloadOffset;
        CHECK(DigestOf(payload, trailer->payloadLength) == trailer->payloadSha256);
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
    for (const auto& copy : PredictCopies(ParseSetupScript(packaged))) CHECK(copy.disk == 1);

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

namespace {

// The smallest file the PE reader takes for a 64-bit Windows program: the
// MZ header pointing at "PE", a file header and an optional header with its
// 16 data directory entries, padded with `extra` bytes.
std::vector<uint8_t> MinimalProgram(size_t extra)
{
    std::vector<uint8_t> file(0x40 + 24 + 240 + extra, 0);
    file[0] = 'M';
    file[1] = 'Z';
    file[0x3C] = 0x40;
    file[0x40] = 'P';
    file[0x41] = 'E';
    file[0x40 + 20] = 240;  // SizeOfOptionalHeader
    file[0x58] = 0x0B;      // PE32+
    file[0x59] = 0x02;
    file[0x58 + 108] = 16;  // NumberOfRvaAndSizes
    return file;
}

constexpr size_t kSecurityEntry = 0x58 + 112 + 4 * 8;

// `file` as a signing tool leaves it: zero bytes up to an 8-byte boundary,
// then a certificate table of `tableSize` bytes that the security entry
// names, with a new checksum.
std::vector<uint8_t> Signed(std::vector<uint8_t> file, size_t tableSize = 24)
{
    file.resize((file.size() + 7) / 8 * 8, 0);
    const size_t table = file.size();
    for (int i = 0; i < 4; ++i) {
        file[kSecurityEntry + i] = static_cast<uint8_t>(table >> (8 * i));
        file[kSecurityEntry + 4 + i] = static_cast<uint8_t>(tableSize >> (8 * i));
        file[0x58 + 64 + i] = 0xA5;  // the checksum
    }
    std::vector<uint8_t> certificate(tableSize, 0x30);
    // WIN_CERTIFICATE: length, revision 2.0, PKCS#7 SignedData.
    certificate[0] = static_cast<uint8_t>(tableSize);
    certificate[1] = certificate[2] = certificate[3] = 0;
    certificate[4] = 0x00;
    certificate[5] = 0x02;
    certificate[6] = 0x02;
    certificate[7] = 0x00;
    file.insert(file.end(), certificate.begin(), certificate.end());
    return file;
}

// A whole package in memory: `stub`, the records of `files`, the trailer.
std::vector<uint8_t> PackageBytes(std::vector<uint8_t> stub, const std::vector<std::pair<std::string, std::string>>& files)
{
    const std::vector<uint8_t> payload = Payload(files);
    const uint64_t offset = stub.size();
    stub.insert(stub.end(), payload.begin(), payload.end());
    const auto trailer = PackageFormat::TrailerBytes(
        {offset, payload.size(), static_cast<uint32_t>(files.size()), DigestOf(payload.data(), payload.size())});
    stub.insert(stub.end(), trailer.begin(), trailer.end());
    return stub;
}

}  // namespace

TEST_CASE("The package's checks find a cut-off file, a changed byte and names that are not plain")
{
    CHECK(PackageFormat::Crc32Of(BytesOf("123456789").data(), 9) == 0xCBF43926u);  // the CRC-32 check value

    std::vector<uint8_t> file = PackageBytes(BytesOf("MZ stub"), {{"SETUP.EXE", "program"}, {"\x95\x5C\x8E\xA6.TXT", "text"}});
    const size_t payloadSize = file.size() - 7 - PackageFormat::kTrailerSize;
    const auto read = PackageFormat::FindTrailer(file.data(), file.size());
    REQUIRE(read.has_value());
    CHECK(read->payloadOffset == 7);
    CHECK(PackageFormat::ReadRecords(file.data() + 7, payloadSize, 2).has_value());
    CHECK_FALSE(PackageFormat::ReadRecords(file.data() + 7, payloadSize, 3).has_value());
    CHECK_FALSE(PackageFormat::ReadRecords(file.data() + 7, payloadSize - 1, 2).has_value());
    CHECK_FALSE(PackageFormat::FindTrailer(file.data(), file.size() - 1).has_value());
    CHECK_FALSE(PackageFormat::FindTrailer(file.data(), file.size() / 2).has_value());
    std::vector<uint8_t> extra = file;
    extra.insert(extra.end() - PackageFormat::kTrailerSize, 'x');  // one byte more than the trailer says
    CHECK_FALSE(PackageFormat::FindTrailer(extra.data(), extra.size()).has_value());
    extra = file;
    extra.push_back(0);  // a byte after the trailer of a file that is not signed
    CHECK_FALSE(PackageFormat::FindTrailer(extra.data(), extra.size()).has_value());
    file[7 + 14] ^= 1;  // a byte of the first file's data
    CHECK(DigestOf(file.data() + 7, payloadSize) != read->payloadSha256);

    // A device name opened the device: NUL took the file's bytes, CON, AUX
    // and COM1 failed as a disk that is full.
    for (const std::string name : {"..\\SETUP.EXE", "A/B", "C:X", "..", "A..B", "A.", "", "\x95", "NUL", "con",
                                   "AUX.TXT", "COM1", "Lpt9.dat", "CONIN$"})
        CHECK_FALSE_MESSAGE(PackageFormat::ReadRecords(Payload({{name, "x"}}).data(), Payload({{name, "x"}}).size(), 1),
                            name);
    CHECK(PackageFormat::IsPlainFileName("\x83\x7C\x81\x5B\x83\x67.EXE"));  // ポート, trail byte "|"
    for (const char* name : {"NULL.DAT", "CONSOLE.TXT", "COM10", "AUXILIARY"}) CHECK_MESSAGE(PackageFormat::IsPlainFileName(name), name);
}

TEST_CASE("A signed package's payload is found before its certificate table, with or without alignment bytes")
{
    const std::vector<std::pair<std::string, std::string>> files = {{"SETUP.INI", "[Title]"}};
    for (size_t extra = 0; extra < 8; ++extra) {
        CAPTURE(extra);
        const std::vector<uint8_t> unsigned_ = PackageBytes(MinimalProgram(extra), files);
        const std::vector<uint8_t> signed_ = Signed(unsigned_);
        const auto trailer = PackageFormat::FindTrailer(signed_.data(), signed_.size());
        REQUIRE(trailer.has_value());
        CHECK(trailer->payloadOffset == MinimalProgram(extra).size());
        CHECK(trailer->payloadSha256 == PackageFormat::FindTrailer(unsigned_.data(), unsigned_.size())->payloadSha256);
        CHECK(AppendedSignatureProblem(unsigned_, signed_).empty());
    }
    const std::vector<uint8_t> unsigned_ = PackageBytes(MinimalProgram(3), files);
    const std::vector<uint8_t> signed_ = Signed(unsigned_);
    const size_t table = signed_.size() - 24;

    // A byte after the trailer that is no alignment byte, a table that does
    // not end the file, a table in the middle: damaged.
    std::vector<uint8_t> changed = signed_;
    changed[table - 1] = 1;
    CHECK_FALSE(PackageFormat::FindTrailer(changed.data(), changed.size()).has_value());
    changed = signed_;
    changed.push_back(0);
    CHECK_FALSE(PackageFormat::FindTrailer(changed.data(), changed.size()).has_value());
    CHECK_FALSE(PeSignature::ReadLayout(changed.data(), changed.size()).has_value());

    // What a signing command may not do: sign nothing, change a byte of the
    // content or of a header, cut or lengthen the content.
    CHECK(AppendedSignatureProblem(unsigned_, unsigned_).find("is not signed") != std::string::npos);
    changed = signed_;
    changed[0x40 + 24 + 240] ^= 1;  // the first byte after the headers
    CHECK(AppendedSignatureProblem(unsigned_, changed) == "was changed at byte 328, not only signed");
    changed = signed_;
    changed[0x58 + 8] ^= 1;  // a header field other than the checksum
    CHECK(AppendedSignatureProblem(unsigned_, changed).find("was changed at byte") != std::string::npos);
    changed = Signed(std::vector<uint8_t>(unsigned_.begin(), unsigned_.end() - 8));
    CHECK(AppendedSignatureProblem(unsigned_, changed).find("was changed in length") != std::string::npos);
    std::vector<uint8_t> longer = unsigned_;
    longer.insert(longer.end(), 16, 0);
    CHECK(AppendedSignatureProblem(unsigned_, Signed(longer)).find("was changed in length") != std::string::npos);
    changed = signed_;
    changed[table + 6] = 0x01;  // an X.509 certificate, not a signature
    CHECK(AppendedSignatureProblem(unsigned_, changed).find("no Authenticode signature") != std::string::npos);
    CHECK(AppendedSignatureProblem(BytesOf("MZ stub"), signed_).find("is no Windows program") != std::string::npos);
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
TEST_CASE("orvauthor package: exit 0 with the package and its manifests, 1 with nothing written or no manifests, 2 on wrong arguments")
{
    Scratch scratch("cli-package");
    std::filesystem::create_directories(scratch / "source");
    WriteText(scratch / "source" / "A.EXE", "a");
    WriteText(scratch / "SETUP.EXE", "MZ setup");
    WriteText(scratch / "STUB.EXE", "MZ stub");
    const auto run = [&](const std::string& script, const std::string& output, const std::string& options = "") {
        WriteText(scratch / "source" / "SETUP.INI", script);
        return RunShell(ShellQuoted(ORVAUTHOR_PROGRAM) + " package --setup-exe " + ShellQuoted(scratch / "SETUP.EXE") +
                        " --stub " + ShellQuoted(scratch / "STUB.EXE") + " " + options + " " +
                        ShellQuoted(scratch / "source") + " " + ShellQuoted(scratch / output) + " >" +
                        ShellQuoted(scratch / "out.txt") + " 2>&1");
    };
    const std::string copy = "[CopyFile]\r\nFile1=(App)\\A.EXE\r\n";
    const std::string product = "[Product]\r\nVersion=1.0\r\nPublisher=Orvane\r\n";
    CHECK(run(copy + product + "License=MIT\r\nDescription=A viewer\r\n", "good.exe",
              "--url https://orvane.example/good.exe") == 0);
    CHECK(ReadBack(scratch / "good.exe").Names() == std::vector<std::string>{"SETUP.INI", "SETUP.EXE", "A.EXE"});
    // Its winget manifests beside it name the package by its SHA-256.
    std::string error;
    const auto hash = FileSha256Hex(scratch / "good.exe", error);
    REQUIRE(hash);
    const std::vector<uint8_t> bytes = ReadBytes(scratch / "good.winget" / "Orvane.Orvane.installer.yaml");
    const std::string installer(bytes.begin(), bytes.end());
    // Quoted or not, as YAML needs it for these digits.
    const size_t field = installer.find("InstallerSha256: ");
    REQUIRE(field != std::string::npos);
    const std::string line = installer.substr(field, installer.find('\n', field) - field);
    CHECK((line == "InstallerSha256: " + *hash || line == "InstallerSha256: \"" + *hash + "\""));
    CHECK(std::filesystem::exists(scratch / "good.winget" / "Orvane.Orvane.yaml"));
    CHECK(std::filesystem::exists(scratch / "good.winget" / "Orvane.Orvane.locale.en-US.yaml"));

    // Without a license the package is made, its manifests are not, and the
    // field is named with what gives it; the options fill what the script
    // lacks.
    CHECK(run(copy + product + "Description=A viewer\r\n", "nolicense.exe", "--url https://orvane.example/x.exe") == 1);
    CHECK(ReadBack(scratch / "nolicense.exe").Names().size() == 3);
    CHECK_FALSE(std::filesystem::exists(scratch / "nolicense.winget"));
    const std::vector<uint8_t> output = ReadBytes(scratch / "out.txt");
    const std::string said(output.begin(), output.end());
    CHECK(said.find("orvauthor: License is missing: give [Product] License in the script, or --license\n") !=
          std::string::npos);
    CHECK(said.find("the package is made; its winget manifests are not") != std::string::npos);
    CHECK(said.find(" is missing") == said.rfind(" is missing"));  // the one field
    CHECK(run(copy + product + "Description=A viewer\r\n", "nolicense.exe",
              "--url https://orvane.example/x.exe --license Proprietary") == 0);
    CHECK(std::filesystem::exists(scratch / "nolicense.winget" / "Orvane.Orvane.installer.yaml"));

    CHECK(run("[CopyFile]\r\nFile1=(App)\\B.EXE\r\n", "bad.exe") == 1);
    CHECK_FALSE(std::filesystem::exists(scratch / "bad.exe"));
    CHECK_FALSE(std::filesystem::exists(scratch / "bad.exe.partial"));
    CHECK(RunShell(ShellQuoted(ORVAUTHOR_PROGRAM) + " package " + ShellQuoted(scratch / "source") +
                   " >/dev/null 2>&1") == 2);
}
#endif
