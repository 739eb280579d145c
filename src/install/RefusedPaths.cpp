#include "install/RefusedPaths.h"

#include "text/MBUtils.h"

namespace {

// A path too long to be used is shown by its start: tens of kilobytes of
// one line would make the failure details unreadable.
std::string ShownPath(const std::string& path)
{
    constexpr size_t shownBytes = 80;
    if (path.size() <= LongestPath) return path;
    size_t end = 0;
    while (end < shownBytes) end += IsLeadByte(static_cast<unsigned char>(path[end])) ? 2 : 1;
    return path.substr(0, end) + "．．．";
}

}  // namespace

std::string PathFaultReason(PathFault fault)
{
    switch (fault) {
    case PathFault::None: break;
    case PathFault::NotAbsolute: return "絶対パスではないため，処理をスキップしました．";
    case PathFault::TokenLeft: return "置き換えられないキーワード（括弧）が含まれているため，処理をスキップしました．";
    case PathFault::BadCharacter: return "ファイル名に使えない文字が含まれているため，処理をスキップしました．";
    case PathFault::TooLong: return "パスが長すぎるため，処理をスキップしました．";
    }
    return {};
}

bool RefusePath(InstallRun& run, const std::string& tag, const std::string& path)
{
    const PathFault fault = FaultOfPath(path);
    if (fault == PathFault::None) return false;
    run.Failures.AddReason(tag, ShownPath(path), PathFaultReason(fault));
    return true;
}
