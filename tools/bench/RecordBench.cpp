// Times the uninstall record: an earlier record of `earlier` DeleteFile
// entries is taken over and `files` newly installed files are added, then the
// record is written. With --reference the same record is also written key by
// key (one profile write per key, numbered by FindNumberedKey), timed and
// compared byte for byte.
//
// record_bench.exe [files] [earlier] [--reference]
#include "record/PreviousRecord.h"
#include "record/UninstallRecord.h"
#include "support/ReferenceRecordWriter.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

namespace {

double Seconds()
{
    LARGE_INTEGER frequency;
    LARGE_INTEGER now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

std::string MakeFolder(const std::string& path)
{
    CreateDirectoryA(path.c_str(), nullptr);
    return path;
}

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Japanese folder names with trail bytes 0x5C (表, ソ) and 0x7C (ポ); every
// third file shared, every fifth self-registering.
std::string FilePath(int i)
{
    std::string path = "C:\\Program Files\\表示ソフト\\ポ" + std::to_string(i % 17);
    path += "\\FILE" + std::to_string(i) + ".DLL";
    if (i % 3 == 0) path += ",/S";
    if (i % 5 == 0) path += i % 3 == 0 ? "/R" : ",/R";
    return path;
}

// An earlier record with `count` DeleteFile entries, written as text.
void WriteEarlierRecord(const std::string& path, int count, int offset)
{
    std::string text = "[DeleteFolder]\r\nFolder1=C:\\Program Files\\表示ソフト\\\r\n[DeleteFile]\r\n";
    for (int i = 1; i <= count; ++i) text += "File" + std::to_string(i) + "=" + FilePath(offset + i) + "\r\n";
    text += "[RestoreRelate]\r\nKey1=smp,\r\n";
    std::ofstream(path, std::ios::binary) << text;
}

struct Place {
    UninstallRecordInput input;
    explicit Place(const std::string& root)
    {
        const std::string app = MakeFolder(MakeFolder(root) + "APP\\");
        const std::string work = MakeFolder(root + "WORK\\");
        input = {app + "UNSETUP.INI", work, "1,0,0,0", "Bench Uninstall", "C:\\Program Files\\表示ソフト\\"};
    }
};

}  // namespace

int main(int argc, char** argv)
{
    NoJournal unjournaled;
    int files = 1000;
    int earlier = 1000;
    bool reference = false;
    int number = 0;
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]) == "--reference")
            reference = true;
        else if (number++ == 0)
            files = std::atoi(argv[i]);
        else
            earlier = std::atoi(argv[i]);
    }

    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string root = std::string(temp) + "orvbench-" + std::to_string(GetCurrentProcessId()) + "\\";
    MakeFolder(root);
    Place fast(root + "fast\\");
    // The earlier entries are distinct from the new files, so the record
    // grows to files + earlier entries.
    WriteEarlierRecord(fast.input.recordPath, earlier, files);

    const double start = Seconds();
    UninstallLists lists;
    RestoreSlots slots;
    LoadPreviousRecord(fast.input.recordPath, fast.input.workFolder + "UNSETUPB.INI", lists, slots, unjournaled);
    const double loaded = Seconds();
    for (int i = 1; i <= files; ++i) lists.deleteFileList.push_back(FilePath(i));
    lists.deleteFileList.push_back(fast.input.recordPath);
    const unsigned long result = WriteUninstallRecord(fast.input, lists, slots, nullptr);
    WriteUnSetupRegistryKey(fast.input.recordPath, "SOFTWARE\\Bench");
    WriteProgramId(fast.input.recordPath, "BENCH");
    const double written = Seconds();
    std::printf("record of %d files plus %d earlier entries (%zu DeleteFile items)\n", files, earlier,
                lists.deleteFileList.size());
    std::printf("  load earlier record: %.3f s\n", loaded - start);
    std::printf("  write record:        %.3f s%s\n", written - loaded, result == 0 ? "" : "  (NOT put in place)");
    std::printf("  total:               %.3f s\n", written - start);

    if (reference) {
        Place slow(root + "keybykey\\");
        const double before = Seconds();
        WriteRecordKeyByKey(slow.input, lists, slots);
        WriteUnSetupRegistryKey(slow.input.recordPath, "SOFTWARE\\Bench");
        WriteProgramId(slow.input.recordPath, "BENCH");
        const double after = Seconds();
        const bool same = ReadAll(slow.input.recordPath) == ReadAll(fast.input.recordPath);
        std::printf("  key-by-key writer:   %.3f s, record %s\n", after - before, same ? "identical" : "DIFFERENT");
    }

    std::string command = "cmd /c rmdir /s /q \"" + root.substr(0, root.size() - 1) + "\"";
    std::system(command.c_str());
    return result == 0 ? 0 : 1;
}
