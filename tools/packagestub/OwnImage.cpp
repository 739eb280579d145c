#include "OwnImage.h"

#include <string>

namespace {

// The full path of the running program; GetModuleFileNameW cuts a path that
// does not fit without saying so other than by filling the buffer.
std::wstring OwnPath()
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        if (path.size() >= 32768) return {};
        path.resize(path.size() * 2);
    }
}

}  // namespace

bool OwnImage::Open()
{
    const std::wstring path = OwnPath();
    if (path.empty()) return false;
    file_.Reset(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!file_ || !GetFileSizeEx(file_.Get(), &size) || size.QuadPart <= 0) return false;
    size_ = static_cast<uint64_t>(size.QuadPart);
    mapping_.Reset(CreateFileMappingW(file_.Get(), nullptr, PAGE_READONLY, 0, 0, nullptr));
    if (!mapping_) return false;
    view_.Reset(MapViewOfFile(mapping_.Get(), FILE_MAP_READ, 0, 0, 0));
    return view_.Valid();
}
