#include "install/RefusedPaths.h"

std::string PathFaultReason(PathFault fault)
{
    switch (fault) {
    case PathFault::None: break;
    case PathFault::Unrepresentable:
        return "フォルダ名にシフトJISで表せない文字が含まれているため，処理をスキップしました．";
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
    const std::string shown = WithoutUnrepresentableMarks(path);
    run.failures.AddReason(tag, shown, PathFaultReason(fault));
    run.Log("Refused: " + tag + shown + ": " + PathFaultReason(fault));
    return true;
}
