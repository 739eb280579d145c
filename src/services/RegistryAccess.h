// The registry layer of the install: one short-lived object per entry that
// selects a root, creates or opens one key and reads or writes its values.
// Creating a key and writing a value raise SetupError with the layer's own
// texts when the system refuses; opening, reading, testing and deleting a
// value report by result. Each key it creates and each value it writes or
// deletes is recorded in the journal it is handed, before the change.
#pragma once

#include "services/ChangeJournal.h"
#include "services/Win32Registry.h"

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

class RegistryAccess {
public:
    RegistryAccess(HKEY root, ChangeJournal& journal);

    // Creates the key path below the root (an existing key is fine) without
    // opening it. Raises "ｷｰ <path> の作成に失敗しました".
    void CreateKey(const std::string& path);

    // Makes the key path below the root the current key, creating it when
    // `create` is set. False when it cannot; the current key is then none.
    bool OpenKey(const std::string& path, bool create);
    void CloseKey();

    // A REG_DWORD value; nothing when missing or of another type.
    std::optional<int32_t> ReadInteger(const std::string& name) const;

    // Each raises "'<name>' の設定に失敗しました" when no key is open or the
    // system refuses the value. The empty name is the key's default value.
    void WriteString(const std::string& name, const std::string& value);
    void WriteExpandString(const std::string& name, const std::string& value);
    void WriteInteger(const std::string& name, int32_t value);
    // The four bytes of `value` in memory order, as REG_BINARY.
    void WriteBinary(const std::string& name, uint32_t value);

    bool DeleteValue(const std::string& name);

private:
    void WriteValue(const std::string& name, DWORD type, const void* data, DWORD size);
    // Raises the write failure of `name` unless `status` is success.
    static void Check(const std::string& name, LONG status);
    // Records the value as it stands in the journal.
    void JournalBefore(const std::string& name) const;

    HKEY root_;
    ChangeJournal* journal_;
    RegKey current_;
    std::string currentPath_;  // below the root, for the journal
};
