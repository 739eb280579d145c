// The journal's lines as typed entries: what the writer makes of each kind
// the reader takes back as the same entry, and a line out of its form is
// refused with the reason the undo logs.
#include <doctest/doctest.h>

#include "services/Digest.h"
#include "services/JournalFormat.h"

#include <windows.h>

#include <vector>

namespace {

std::optional<JournalEntry> ReadBack(const std::string& text, std::string& fault)
{
    fault.clear();
    return JournalEntryOf(text, fault);
}

}  // namespace

TEST_CASE("every kind of journal entry reads back as written, tabs, line ends and percent signs included")
{
    // "表" ends in the byte 0x5C, a backslash to a reader that is not
    // double-byte aware.
    const std::string folder = "C:\\表\\";
    const std::vector<JournalEntry> entries = {
        FolderLine{folder},
        FileLine{folder + "A\tB.TXT"},
        EarlierFileLine{folder + "A.DLL", folder + "OVJ1F.tmp", false},
        EarlierFileLine{folder + "A.DLL", folder + "OVJ20.tmp", true},
        KeyLine{HKEY_LOCAL_MACHINE, "Software\\表"},
        ValueLine{HKEY_CURRENT_USER, "Software\\A", "", std::nullopt},
        ValueLine{HKEY_CLASSES_ROOT, "A", "N\tX", KeptValue{REG_BINARY, {0x00, 0x5C, 0xFF}}},
        ValueLine{HKEY_USERS, "A", "%25", KeptValue{REG_SZ, {}}},
        IniLine{folder + "A.INI", "S", "K", std::nullopt},
        IniLine{folder + "A.INI", "S", "K", "a\r\nb%0D"},
        IniLine{folder + "A.INI", "S", "K", ""},
        RegisteredLine{folder + "A.DLL", true},
        RegisteredLine{folder + "A.DLL", false},
    };
    for (const JournalEntry& entry : entries) {
        const std::string text = JournalEntryText(entry);
        CAPTURE(text);
        std::string fault;
        const std::optional<JournalEntry> read = ReadBack(text, fault);
        CHECK(fault.empty());
        REQUIRE(read.has_value());
        CHECK(*read == entry);
        CHECK(text.find('\r') == std::string::npos);
        CHECK(text.find('\n') == std::string::npos);
    }
    // The form on disk stays as earlier runs wrote it.
    CHECK(JournalEntryText(entries[6]) == "value\tHKCR\tA\tN%09X\t3\t005CFF");
    CHECK(JournalEntryText(entries[9]) == "ini\t" + folder + "A.INI\tS\tK\t=a%0D%0Ab%250D");
    CHECK(JournalEntryText(entries[3]) == "copy\t" + folder + "A.DLL\t" + folder + "OVJ20.tmp");
}

TEST_CASE("a journal line out of its form is no entry, and says why")
{
    std::string fault;
    CHECK_FALSE(ReadBack("frob\tC:\\A", fault));
    CHECK(fault == "an unknown kind of line: frob");
    for (const std::string text : {"value\tHKXX\tA\tN\t-", "value\tHKLM\tA\tN\t1\t0", "value\tHKLM\tA\tN\t1\tab",
                                   "aside\tC:\\A.DLL\tD:\\OVJ1.tmp", "aside\tC:\\A.DLL\tC:\\KEPT.tmp",
                                   "file\tRELATIVE.TXT", "key\tHKLM\t", "ini\tC:\\A.INI\tS\tK\tx",
                                   "registered\tC:\\A.DLL\t2"}) {
        CAPTURE(text);
        CHECK_FALSE(ReadBack(text, fault));
        CHECK(fault == "a " + text.substr(0, text.find('\t')) + " line not in its form");
    }
}

TEST_CASE("the seals chain by SHA-256: a known digest, and a line changed or moved is refused")
{
    // FIPS 180-4's own example: the seal a journal written by any earlier
    // build carries is the same.
    CHECK(Sha256Hex("abc") == "BA7816BF8F01CFEA414140DE5DAE2223B00361A396177A9CB410FF61F20015AD");
    CHECK(Sha256Hex("") == "E3B0C44298FC1C149AFBF4C8996FB92427AE41E4649B934CA495991B7852B855");

    JournalSeal writer;
    const std::string first = writer.Sealed("file\tC:\\A.DAT");
    const std::string second = writer.Sealed("file\tC:\\B.DAT");
    CHECK(first == "file\tC:\\A.DAT\t" + Sha256Hex("file\tC:\\A.DAT"));

    JournalSeal reader;
    std::string text;
    CHECK_FALSE(reader.Accept(second, text));  // out of its place in the chain
    REQUIRE(reader.Accept(first, text));
    CHECK(text == "file\tC:\\A.DAT");
    std::string changed = second;
    changed[6] = 'D';
    CHECK_FALSE(reader.Accept(changed, text));
    CHECK(reader.Accept(second, text));
    CHECK(text == "file\tC:\\B.DAT");
}
