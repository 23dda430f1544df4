#include "platform/base/resource.h"

#include <map>
#include <mutex>
#include <utility>

struct ResourceInfo {
    std::string type;
    UINT id = 0;
    const std::uint8_t* data = nullptr;
    std::size_t size = 0;
};

namespace {

struct Registry {
    std::mutex mutex;
    std::map<std::pair<std::string, UINT>, ResourceInfo> entries;
};

Registry& GetRegistry()
{
    static Registry registry;
    return registry;
}

} // namespace

void AfxRegisterResource(const char* type, UINT id, const std::uint8_t* data, std::size_t size)
{
    Registry& r = GetRegistry();
    std::lock_guard lock(r.mutex);
    r.entries[{ type, id }] = ResourceInfo { type, id, data, size };
}

std::span<const std::uint8_t> AfxGetResource(const char* type, UINT id)
{
    const HRSRC info = FindResource(nullptr, id, type);
    if (!info)
        return {};
    return { info->data, info->size };
}

std::vector<UINT> AfxEnumResourceIds(const char* type)
{
    std::vector<UINT> ids;
    if (!type)
        return ids;
    Registry& r = GetRegistry();
    std::lock_guard lock(r.mutex);
    for (const auto& [key, info] : r.entries)
        if (key.first == type)
            ids.push_back(key.second);
    return ids;
}

HINSTANCE AfxGetResourceHandle()
{
    static int module;
    return &module;
}

HRSRC FindResource(HINSTANCE, UINT id, const char* type)
{
    if (!type)
        return nullptr;
    Registry& r = GetRegistry();
    std::lock_guard lock(r.mutex);
    const auto it = r.entries.find({ type, id });
    return it == r.entries.end() ? nullptr : &it->second;
}

HGLOBAL LoadResource(HINSTANCE, HRSRC resource)
{
    return resource;
}

const void* LockResource(HGLOBAL loaded)
{
    return loaded ? loaded->data : nullptr;
}

DWORD SizeofResource(HINSTANCE, HRSRC resource)
{
    return resource ? static_cast<DWORD>(resource->size) : 0;
}
