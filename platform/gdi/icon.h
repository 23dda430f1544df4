#pragma once
// Icons: a colour image and an AND mask (1 = transparent). Icon resources are
// embedded PNG files of type "ICON" (alpha below half is transparent). An icon's
// hot spot is its centre, so width = 2 x xHotspot.

#include "platform/base/resource.h"
#include "platform/gdi/gdi_types.h"

// The icon resource at its own size; null when missing.
HICON LoadIcon(HINSTANCE module, UINT resourceId);
// IMAGE_ICON (scaled to cx x cy when not 0), IMAGE_CURSOR (a "CURSOR" resource,
// an image like an icon's, hot spot at its centre) or IMAGE_BITMAP; other
// types give null. Cast the result to HICON, HCURSOR or HBITMAP.
void* LoadImage(HINSTANCE module, UINT resourceId, UINT type, int cx, int cy, UINT flags);
BOOL DestroyIcon(HICON icon);
HICON CopyIcon(HICON icon);
// New mask and colour bitmaps that the caller deletes.
BOOL GetIconInfo(HICON icon, ICONINFO* info);
// Copies the mask and colour bitmaps (the caller keeps them). A null colour
// bitmap takes a double-height monochrome mask (AND half over XOR half).
HICON CreateIconIndirect(const ICONINFO* info);
BOOL DrawIcon(HDC dc, int x, int y, HICON icon);
// cx, cy 0: the icon's size. flags DI_NORMAL, DI_MASK or DI_IMAGE. A brush
// fills the icon's rectangle first.
BOOL DrawIconEx(HDC dc, int x, int y, HICON icon, int cx, int cy, UINT step, HBRUSH flickerFree, UINT flags);
// Size of an icon; (0, 0) for an invalid handle.
CSize GdiGetIconSize(HICON icon);
