#pragma once
// Guard of the window layer's internal headers: they hold Qt types and the
// window table, and only platform/ compiles with CALVORN_PLATFORM_INTERNAL.

#ifndef CALVORN_PLATFORM_INTERNAL
#error "platform-internal header: include it from platform/ only"
#endif
