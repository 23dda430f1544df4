#pragma once
// CGdiObject: the owner of a drawing-object handle (pen, brush, font, bitmap,
// region). The object deletes its handle when destroyed unless it was detached.
// Handles are process-wide; any thread may create and delete them.

#include "platform/gdi/gdi_types.h"

class CGdiObject {
public:
    CGdiObject() = default;
    virtual ~CGdiObject();
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;

    HGDIOBJ m_hObject = nullptr;

    HGDIOBJ GetSafeHandle() const { return m_hObject; }
    operator HGDIOBJ() const { return m_hObject; }

    // Takes ownership of a handle; FALSE when this object already holds one or the
    // handle is not a live drawing object.
    BOOL Attach(HGDIOBJ handle);
    // Gives up ownership; the handle stays valid.
    HGDIOBJ Detach();
    // Deletes the handle (stock objects are never deleted). FALSE without one.
    BOOL DeleteObject();
    // Copies the object's record (LOGPEN, LOGBRUSH, LOGFONT, BITMAP) into buffer;
    // returns the bytes written, or the size needed when buffer is null; 0 on error.
    int GetObject(int count, void* buffer) const;
    // OBJ_PEN, OBJ_BRUSH, OBJ_FONT, OBJ_BITMAP, OBJ_REGION; 0 without a handle.
    UINT GetObjectType() const;
    // Attaches a stock object (GetStockObject).
    BOOL CreateStockObject(int index);

    // The C++ object for a handle: the object that owns it, or a wrapper that lives
    // as long as the handle. Null for a null or stale handle.
    static CGdiObject* FromHandle(HGDIOBJ handle);

protected:
    // Sets m_hObject to a freshly made handle and links it to this object.
    BOOL AttachNew(HGDIOBJ handle);
};

// Handle-level calls of the drawing objects.
HGDIOBJ GetStockObject(int index);
BOOL DeleteObject(HGDIOBJ handle);
int GetObject(HGDIOBJ handle, int count, void* buffer);
DWORD GetObjectType(HGDIOBJ handle);
