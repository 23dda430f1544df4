#pragma once
// Internal: a thread-safe table of live handles, each the address of the record
// it names, so stale or foreign handles are recognised and refused.

#include <memory>
#include <mutex>
#include <unordered_map>

template <typename Handle, typename Data> class HandleTable {
public:
    // Registers a record; its handle is its address.
    Handle Add(std::shared_ptr<Data> data)
    {
        if (!data)
            return nullptr;
        const Handle handle = reinterpret_cast<Handle>(data.get());
        std::lock_guard lock(m_mutex);
        m_live[handle] = std::move(data);
        return handle;
    }

    std::shared_ptr<Data> Find(Handle handle) const
    {
        if (!handle)
            return nullptr;
        std::lock_guard lock(m_mutex);
        const auto it = m_live.find(handle);
        return it == m_live.end() ? nullptr : it->second;
    }

    // Removes a handle when keep() does not hold for its record; returns the
    // record (to be released outside the lock), null when the handle is unknown
    // or kept.
    template <typename Keep> std::shared_ptr<Data> Take(Handle handle, Keep keep)
    {
        std::lock_guard lock(m_mutex);
        const auto it = m_live.find(handle);
        if (it == m_live.end() || keep(*it->second))
            return nullptr;
        std::shared_ptr<Data> data = std::move(it->second);
        m_live.erase(it);
        return data;
    }
    std::shared_ptr<Data> Take(Handle handle)
    {
        return Take(handle, [](const Data&) { return false; });
    }

    // Guards fields of the records that the table's users share.
    std::mutex& Mutex() const { return m_mutex; }

private:
    mutable std::mutex m_mutex;
    std::unordered_map<Handle, std::shared_ptr<Data>> m_live;
};
