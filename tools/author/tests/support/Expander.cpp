#include "support/Expander.h"

#include "support/Scratch.h"
#include "SystemText.h"

#include <cstdlib>
#include <string>

#ifdef _WIN32
#include <windows.h>
#include <lzexpand.h>
#endif

int RunShell(const std::string& commandLine)
{
    const int status = std::system(commandLine.c_str());
#ifdef _WIN32
    return status;
#else
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
}

std::string ShellQuoted(const std::filesystem::path& path)
{
    std::string quoted = "'";
    for (const char c : path.string()) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

#ifdef _WIN32

namespace {

// Closes an LZ32 handle when the expansion ends.
class LzHandle {
public:
    explicit LzHandle(INT handle) : handle_(handle) {}
    ~LzHandle()
    {
        if (handle_ >= 0) LZClose(handle_);
    }
    LzHandle(const LzHandle&) = delete;
    LzHandle& operator=(const LzHandle&) = delete;
    INT Get() const { return handle_; }

private:
    INT handle_;
};

}  // namespace

std::optional<std::vector<uint8_t>> ExpandIndependently(const std::filesystem::path& compressed)
{
    Scratch scratch("lz32");
    const std::filesystem::path target = scratch / "EXPAND.OVX";
    LONG copied = 0;
    {
        OFSTRUCT sourceInfo{};
        OFSTRUCT targetInfo{};
        // The names as SETUP.EXE passes them: Shift-JIS.
        const std::string sourceName = DisplayPath(compressed);
        const std::string targetName = DisplayPath(target);
        LzHandle source(LZOpenFileA(const_cast<char*>(sourceName.c_str()), &sourceInfo, OF_READ | OF_SHARE_EXCLUSIVE));
        LzHandle destination(LZOpenFileA(const_cast<char*>(targetName.c_str()), &targetInfo, OF_CREATE));
        if (source.Get() < 0 || destination.Get() < 0) return std::nullopt;
        copied = LZCopy(source.Get(), destination.Get());
    }
    if (copied < 0) return std::nullopt;
    return ReadBytes(target);
}

#else

std::optional<std::vector<uint8_t>> ExpandIndependently(const std::filesystem::path& compressed)
{
    Scratch scratch("msexpand");
    const std::filesystem::path target = scratch / "expanded";
    if (RunShell("msexpand < " + ShellQuoted(compressed) + " > " + ShellQuoted(target)) != 0) return std::nullopt;
    return ReadBytes(target);
}

#endif
