// A registry key of the test's own below one root, removed with everything in
// it when the test ends, so that tests on one Wine prefix never meet.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

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
// A key that the system keeps only in memory: it refuses to create a lasting
// key below it (1021), on Windows as under Wine.
bool MakeVolatileKey(HKEY root, const std::string& path);

// A value as the system stores it: its type and its bytes.
struct StoredValue {
    DWORD type = REG_NONE;
    std::string bytes;
};
std::optional<StoredValue> ReadStoredValue(HKEY root, const std::string& path, const std::string& name);
bool StoreValue(HKEY root, const std::string& path, const std::string& name, DWORD type, const std::string& bytes);

// The text of a REG_SZ value up to its terminating zero; "<none>" when the
// value is missing or of another type.
std::string StoredText(HKEY root, const std::string& path, const std::string& name);

// A file extension of the test's own below HKEY_CLASSES_ROOT, which every
// test of the prefix shares: its key and the file type an install makes for
// it, removed before and after.
class ScratchExtension {
public:
    ScratchExtension();
    ~ScratchExtension();
    ScratchExtension(const ScratchExtension&) = delete;
    ScratchExtension& operator=(const ScratchExtension&) = delete;

    const std::string& Name() const { return name_; }  // without the dot
    std::string Key() const { return "." + name_; }
    std::string FileType() const { return name_ + "_auto_file"; }

private:
    void Remove() const;
    std::string name_;
};

// Shared-DLL counts of the test's own in the system's list, removed when the
// test ends.
class ScratchSharedCounts {
public:
    ScratchSharedCounts() = default;
    ~ScratchSharedCounts();
    ScratchSharedCounts(const ScratchSharedCounts&) = delete;
    ScratchSharedCounts& operator=(const ScratchSharedCounts&) = delete;

    // The path's count, whatever the test makes of it, goes at the end.
    const std::string& Watch(const std::string& path);
    // Stores `count` for the path, and watches it; throws (failing the test)
    // when the count cannot be stored.
    void Set(const std::string& path, DWORD count);
    // The count stored for the path; nothing when there is none or it is no
    // REG_DWORD.
    static std::optional<DWORD> Stored(const std::string& path);

private:
    std::vector<std::string> paths_;
};
