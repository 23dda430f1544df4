#include "platform/wnd/core/cursor.h"

#include <QApplication>
#include <QCursor>
#include <QWidget>

#include "platform/gdi/icon.h"
#include "platform/wnd/core/internal/wnd_internal.h"

namespace {

HCURSOR g_current = nullptr;
bool g_positionSet = false;
POINT g_position;
bool g_clipped = false;
RECT g_clip;

struct Shape {
    UINT_PTR id;
    Qt::CursorShape shape;
};
constexpr Shape kShapes[] = {
    { IDC_ARROW, Qt::ArrowCursor },
    { IDC_IBEAM, Qt::IBeamCursor },
    { IDC_WAIT, Qt::WaitCursor },
    { IDC_CROSS, Qt::CrossCursor },
    { IDC_SIZENWSE, Qt::SizeFDiagCursor },
    { IDC_SIZENESW, Qt::SizeBDiagCursor },
    { IDC_SIZEWE, Qt::SizeHorCursor },
    { IDC_SIZENS, Qt::SizeVerCursor },
    { IDC_SIZEALL, Qt::SizeAllCursor },
    { IDC_NO, Qt::ForbiddenCursor },
    { IDC_HAND, Qt::PointingHandCursor },
};

} // namespace

HCURSOR LoadCursor(void*, UINT_PTR id)
{
    for (const Shape& shape : kShapes) {
        if (shape.id == id)
            return reinterpret_cast<HCURSOR>(id);
    }
    return nullptr;
}

UINT_PTR GetStandardCursorId(HCURSOR cursor)
{
    const auto id = reinterpret_cast<UINT_PTR>(cursor);
    for (const Shape& shape : kShapes) {
        if (shape.id == id)
            return id;
    }
    return 0;
}

HCURSOR SetCursor(HCURSOR cursor)
{
    const HCURSOR previous = g_current;
    g_current = cursor;
    const UINT_PTR id = GetStandardCursorId(cursor);
    QWidget* target = QWidget::mouseGrabber();
    if (!target)
        target = QApplication::widgetAt(QCursor::pos());
    if (target && id != 0) {
        for (const Shape& shape : kShapes) {
            if (shape.id == id)
                target->setCursor(shape.shape);
        }
    }
    return previous;
}

BOOL DestroyCursor(HCURSOR cursor)
{
    if (GetStandardCursorId(cursor) != 0)
        return TRUE;
    if (g_current == cursor && cursor)
        g_current = nullptr;
    return DestroyIcon(cursor);
}

HCURSOR GetCursor()
{
    return g_current;
}

BOOL GetCursorPos(POINT* point)
{
    if (!point)
        return FALSE;
    if (g_positionSet) {
        *point = g_position;
        return TRUE;
    }
    const QPoint pos = QCursor::pos();
    point->x = pos.x();
    point->y = pos.y();
    return TRUE;
}

BOOL SetCursorPos(int x, int y)
{
    g_positionSet = true;
    g_position.x = x;
    g_position.y = y;
    return TRUE;
}

DWORD GetMessagePos()
{
    POINT point;
    GetCursorPos(&point);
    return MAKELONG(static_cast<WORD>(point.x), static_cast<WORD>(point.y));
}

BOOL ClipCursor(const RECT* rect)
{
    g_clipped = rect != nullptr;
    if (rect)
        g_clip = *rect;
    return TRUE;
}

BOOL GetClipCursor(RECT* rect)
{
    if (!g_clipped || !rect)
        return FALSE;
    *rect = g_clip;
    return TRUE;
}

CWaitCursor::CWaitCursor()
{
    if (qApp)
        QApplication::setOverrideCursor(Qt::WaitCursor);
}

CWaitCursor::~CWaitCursor()
{
    if (qApp)
        QApplication::restoreOverrideCursor();
}
