#pragma once
// Embedded resources keyed by (type, id), the stand-in for a module's resource
// section. Resource files are compiled into the programs at build time (see
// calvorn_embed_resources in cmake/Calvorn.cmake) and register themselves here
// before main runs. The same id may name resources of different types.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/base/types.h"

// Called by the generated registration code; data must live for the program's
// lifetime. A second registration of the same (type, id) replaces the first.
void AfxRegisterResource(const char* type, UINT id, const std::uint8_t* data, std::size_t size);

// Bytes of a resource; an empty span when there is none.
std::span<const std::uint8_t> AfxGetResource(const char* type, UINT id);

// Ids of every resource of the type, in ascending order.
std::vector<UINT> AfxEnumResourceIds(const char* type);

// Handle-style access in the shape the application code uses.
struct ResourceInfo;
using HRSRC = const ResourceInfo*;
using HGLOBAL = const ResourceInfo*;
using HINSTANCE = void*;

HINSTANCE AfxGetResourceHandle();
// Named resource types are compared exactly ("MDB", "EXCEL"). NULL when missing.
HRSRC FindResource(HINSTANCE module, UINT id, const char* type);
HGLOBAL LoadResource(HINSTANCE module, HRSRC resource);
const void* LockResource(HGLOBAL loaded);
DWORD SizeofResource(HINSTANCE module, HRSRC resource);

// MAKEINTRESOURCE(id) yields the id itself in this layer.
constexpr UINT MAKEINTRESOURCE(UINT id)
{
    return id;
}
