#include "services/JournalFormat.h"

#include "services/Digest.h"

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
