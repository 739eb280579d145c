// A registry key of the test's own below one root, removed with everything in
// it when the test ends, so that tests on one Wine prefix never meet.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

class ScratchKey {
public:
    // Software\OrvaneSetupTests\<purpose>-<process>-<n> below `root`, not yet
    // created.
    ScratchKey(HKEY root, const std::string& purpose);
    // The same path as `other`, below another root.
    ScratchKey(HKEY root, const ScratchKey& other) : root_(root), path_(other.path_) {}
    ~ScratchKey();
    ScratchKey(const ScratchKey&) = delete;
    ScratchKey& operator=(const ScratchKey&) = delete;

    HKEY Root() const { return root_; }
    // The key path below the root, without a trailing backslash.
    const std::string& Path() const { return path_; }
    std::string operator/(const std::string& subkey) const { return path_ + "\\" + subkey; }

private:
    HKEY root_;
    std::string path_;
};

bool KeyExists(HKEY root, const std::string& path);
// Creates the key path (all levels); false when the system refuses.
bool MakeKey(HKEY root, const std::string& path);

// A value as the system stores it: its type and its bytes.
struct StoredValue {
    DWORD type = REG_NONE;
    std::string bytes;
};
std::optional<StoredValue> ReadStoredValue(HKEY root, const std::string& path, const std::string& name);
bool StoreValue(HKEY root, const std::string& path, const std::string& name, DWORD type, const std::string& bytes);
