#include "services/JournalFormat.h"

#include "script/HexText.h"
#include "script/PathParts.h"
#include "script/TextCase.h"
#include "services/Digest.h"

#include <cstdlib>

namespace {

std::string Escaped(const std::string& field)
{
    std::string out;
    for (const char c : field) {
        switch (c) {
        case '\t': out += "%09"; break;
        case '\r': out += "%0D"; break;
        case '\n': out += "%0A"; break;
        case '%': out += "%25"; break;
        default: out += c;
        }
    }
    return out;
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::string Unescaped(const std::string& field)
{
    std::string out;
    for (size_t i = 0; i < field.size(); ++i) {
        const int high = field[i] == '%' && i + 1 < field.size() ? HexDigit(field[i + 1]) : -1;
        const int low = high >= 0 && i + 2 < field.size() ? HexDigit(field[i + 2]) : -1;
        if (low >= 0) {
            out += static_cast<char>(high * 16 + low);
            i += 2;
        } else {
            out += field[i];
        }
    }
    return out;
}

bool IsNumber(const std::string& text, bool hex)
{
    if (text.empty()) return false;
    for (const char c : text) {
        const bool digit = c >= '0' && c <= '9';
        if (!digit && !(hex && c >= 'A' && c <= 'F')) return false;
    }
    return true;
}

std::vector<BYTE> Bytes(const std::string& hex)
{
    std::vector<BYTE> bytes;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes.push_back(static_cast<BYTE>(HexDigit(hex[i]) * 16 + HexDigit(hex[i + 1])));
    return bytes;
}

// An earlier file kept where the journal puts it: OVJ<hex>.tmp beside the path.
bool KeptBeside(const std::string& path, const std::string& kept)
{
    const std::string name = AsciiUpper(FileNamePart(kept));
    return SameText(FolderPart(kept), FolderPart(path)) && name.size() > 7 &&
           name.compare(0, 3, "OVJ") == 0 && name.compare(name.size() - 4, 4, ".TMP") == 0 &&
           IsNumber(name.substr(3, name.size() - 7), true);
}

// A line's fields after its kind, each field known to be in its form.
std::optional<JournalEntry> EntryOfFields(const std::string& kind, const std::vector<std::string>& f)
{
    const size_t n = f.size();
    const auto path = [&](size_t at) { return at < n && IsAbsoluteFolder(f[at]); };
    // A plain handle, null for no root: GCC takes an optional<HKEY> here for
    // one that may be read uninitialized.
    const HKEY root = n > 0 ? RootNamed(f[0]).value_or(nullptr) : nullptr;
    if (kind == "folder" && n == 1 && path(0)) return FolderLine{f[0]};
    if (kind == "file" && n == 1 && path(0)) return FileLine{f[0]};
    if ((kind == "aside" || kind == "copy") && n == 2 && path(0) && KeptBeside(f[0], f[1]))
        return EarlierFileLine{f[0], f[1], kind == "copy"};
    if (kind == "key" && n == 2 && root && !f[1].empty()) return KeyLine{root, f[1]};
    if (kind == "value" && root && n == 4 && f[3] == "-") return ValueLine{root, f[1], f[2], std::nullopt};
    if (kind == "value" && root && n == 5 && IsNumber(f[3], false) && (f[4].empty() || IsNumber(f[4], true)) &&
        f[4].size() % 2 == 0) {
        const KeptValue before{static_cast<DWORD>(std::strtoul(f[3].c_str(), nullptr, 10)), Bytes(f[4])};
        return ValueLine{root, f[1], f[2], before};
    }
    if (kind == "ini" && n == 4 && path(0) && f[3] == "-") return IniLine{f[0], f[1], f[2], std::nullopt};
    if (kind == "ini" && n == 4 && path(0) && f[3].rfind('=', 0) == 0) return IniLine{f[0], f[1], f[2], f[3].substr(1)};
    if (kind == "registered" && n == 2 && path(0) && (f[1] == "0" || f[1] == "1"))
        return RegisteredLine{f[0], f[1] == "1"};
    return std::nullopt;
}

// The kind and fields of an entry's line, as the journal writes them.
struct LineFields {
    const char* kind;
    std::vector<std::string> fields;
};

LineFields FieldsOf(const JournalEntry& entry)
{
    struct Fields {
        LineFields operator()(const FolderLine& line) const { return {"folder", {line.path}}; }
        LineFields operator()(const FileLine& line) const { return {"file", {line.path}}; }
        LineFields operator()(const EarlierFileLine& line) const
        {
            return {line.copied ? "copy" : "aside", {line.path, line.kept}};
        }
        LineFields operator()(const KeyLine& line) const { return {"key", {RootName(line.root), line.path}}; }
        LineFields operator()(const ValueLine& line) const
        {
            LineFields out{"value", {RootName(line.root), line.path, line.name}};
            if (!line.before) {
                out.fields.push_back("-");
            } else {
                out.fields.push_back(std::to_string(line.before->type));
                out.fields.push_back(HexText(line.before->bytes.data(), line.before->bytes.size()));
            }
            return out;
        }
        LineFields operator()(const IniLine& line) const
        {
            return {"ini", {line.file, line.section, line.key, line.before ? "=" + *line.before : "-"}};
        }
        LineFields operator()(const RegisteredLine& line) const
        {
            return {"registered", {line.path, line.replacedEarlier ? "1" : "0"}};
        }
    };
    return std::visit(Fields{}, entry);
}

bool WriteAll(HANDLE file, const std::string& text)
{
    DWORD written = 0;
    return WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
           written == text.size();
}

}  // namespace

std::string JournalLineText(const std::string& kind, const std::vector<std::string>& fields)
{
    std::string text = kind;
    for (const std::string& field : fields) {
        text += '\t';
        text += Escaped(field);
    }
    return text;
}

std::vector<std::string> JournalLineFields(const std::string& text)
{
    std::vector<std::string> fields;
    size_t start = 0;
    for (;;) {
        const size_t tab = text.find('\t', start);
        fields.push_back(Unescaped(text.substr(start, tab == std::string::npos ? std::string::npos : tab - start)));
        if (tab == std::string::npos) return fields;
        start = tab + 1;
    }
}

std::string JournalSeal::Sealed(const std::string& text)
{
    last_ = Sha256Hex(last_ + text);
    return text + '\t' + last_;
}

bool JournalSeal::Accept(const std::string& line, std::string& text)
{
    const size_t tab = line.rfind('\t');
    if (tab == std::string::npos) return false;
    const std::string seal = Sha256Hex(last_ + line.substr(0, tab));
    if (seal.empty() || line.compare(tab + 1, std::string::npos, seal) != 0) return false;
    text = line.substr(0, tab);
    last_ = seal;
    return true;
}

bool WriteJournalLine(HANDLE file, JournalSeal& seal, const std::string& text, LineDurability durability)
{
    const std::string line = seal.Sealed(text) + "\r\n";
    return !seal.Last().empty() && WriteAll(file, line) &&
           (durability == LineDurability::Cached || FlushFileBuffers(file));
}

const char* KindOf(const JournalEntry& entry)
{
    return FieldsOf(entry).kind;
}

std::string JournalEntryText(const JournalEntry& entry)
{
    const LineFields line = FieldsOf(entry);
    return JournalLineText(line.kind, line.fields);
}

std::optional<JournalEntry> JournalEntryOf(const std::string& text, std::string& fault)
{
    const std::vector<std::string> fields = JournalLineFields(text);
    const std::string& kind = fields.front();
    std::optional<JournalEntry> entry = EntryOfFields(kind, {fields.begin() + 1, fields.end()});
    if (entry) return entry;
    const bool known = kind == "folder" || kind == "file" || kind == "aside" || kind == "copy" || kind == "key" ||
                       kind == "value" || kind == "ini" || kind == "registered";
    fault = known ? "a " + kind + " line not in its form" : "an unknown kind of line: " + kind;
    return std::nullopt;
}

std::string RootName(HKEY root)
{
    if (root == HKEY_CLASSES_ROOT) return "HKCR";
    if (root == HKEY_LOCAL_MACHINE) return "HKLM";
    if (root == HKEY_USERS) return "HKU";
    return "HKCU";
}

std::optional<HKEY> RootNamed(const std::string& name)
{
    if (name == "HKCR") return HKEY_CLASSES_ROOT;
    if (name == "HKLM") return HKEY_LOCAL_MACHINE;
    if (name == "HKU") return HKEY_USERS;
    if (name == "HKCU") return HKEY_CURRENT_USER;
    return std::nullopt;
}
