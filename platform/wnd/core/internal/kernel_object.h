#pragma once
// The shared state behind a HANDLE. Guarded by the kernel lock in sync.cpp.

#include "platform/wnd/core/internal/platform_only.h"

struct KernelObject {
    enum class Kind { OwnedEvent, FreeEvent, Thread };
    Kind kind = Kind::OwnedEvent;
    bool manualReset = false;
    bool signalled = false;
};

namespace kernel_internal {
// Sets or clears the signal and wakes the waiters.
void SetSignalled(KernelObject* object, bool signalled);
bool IsSignalled(const KernelObject* object);
} // namespace kernel_internal
