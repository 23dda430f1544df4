// The bitmap background dialog: placements, the shaped window region and
// dragging by the client area.

#include "controls/bitmap_background_dlg.h"

#include <vector>

#include "platform/base/resource.h"
#include "platform/gdi/icon.h"
#include "platform/gdi/rgn.h"
#include "platform/wnd/core/cursor.h"
#include "platform/wnd/core/paint_dc.h"
#include "platform/wnd/core/window_region.h"

CBitmapBackgroundDlg::CBitmapBackgroundDlg() = default;

CBitmapBackgroundDlg::CBitmapBackgroundDlg(UINT templateId, CWnd* parent)
    : CDialog(templateId, parent)
{ }

namespace {

// The template id a name gives: "#130" or "130"; 0 for other names.
UINT TemplateIdOf(LPCTSTR name)
{
    if (!name)
        return 0;
    const char* digits = name[0] == '#' ? name + 1 : name;
    if (!*digits)
        return 0;
    unsigned long id = 0;
    for (const char* p = digits; *p; ++p) {
        if (*p < '0' || *p > '9' || id > 0xFFFF)
            return 0;
        id = id * 10 + static_cast<unsigned long>(*p - '0');
    }
    return id <= 0xFFFF ? static_cast<UINT>(id) : 0;
}

} // namespace

CBitmapBackgroundDlg::CBitmapBackgroundDlg(LPCTSTR templateName, CWnd* parent)
    : CDialog(TemplateIdOf(templateName), parent)
{ }

CBitmapBackgroundDlg::~CBitmapBackgroundDlg()
{
    FreeBackground();
}

const MessageMap* CBitmapBackgroundDlg::GetMessageMap() const
{
    static const MessageMap kMap(CDialog::GetMessageMap(),
        {
            OnMessage<&CBitmapBackgroundDlg::OnEraseBkgndMessage>(WM_ERASEBKGND),
            OnWm<WM_PAINT, &CBitmapBackgroundDlg::OnPaint>(),
            OnWm<WM_SIZE, &CBitmapBackgroundDlg::OnSize>(),
            OnWm<WM_LBUTTONDOWN, &CBitmapBackgroundDlg::OnLButtonDown>(),
        });
    return &kMap;
}

void CBitmapBackgroundDlg::FreeBackground()
{
    if (m_bitmap)
        DeleteObject(m_bitmap);
    m_bitmap = nullptr;
    if (m_region) {
        if (GetSafeHwnd())
            SetWindowRgn(GetSafeHwnd(), nullptr, FALSE);
        DeleteObject(m_region);
        m_region = nullptr;
    }
    m_width = 0;
    m_height = 0;
}

DWORD CBitmapBackgroundDlg::LoadBackground(UINT bitmapId, COLORREF transparent)
{
    auto bitmap = static_cast<HBITMAP>(LoadImage(AfxGetResourceHandle(), bitmapId, IMAGE_BITMAP, 0, 0, 0));
    return SetBackground(bitmap, transparent);
}

DWORD CBitmapBackgroundDlg::SetBackground(HBITMAP bitmap, COLORREF transparent)
{
    FreeBackground();
    if (!bitmap) {
        if (GetSafeHwnd())
            Invalidate(TRUE);
        return 0;
    }
    m_bitmap = bitmap;
    BITMAP info;
    if (!GetObject(bitmap, sizeof(info), &info)) {
        FreeBackground();
        return 1;
    }
    m_width = info.bmWidth;
    m_height = info.bmHeight;
    if (transparent != kNoTransparency) {
        m_region = BuildRegion(bitmap, transparent);
        if (!m_region) {
            FreeBackground();
            return 3;
        }
        if (GetSafeHwnd())
            SetWindowRgn(GetSafeHwnd(), m_region, FALSE);
    }
    if (GetSafeHwnd())
        Invalidate(TRUE);
    return 0;
}

HRGN CBitmapBackgroundDlg::BuildRegion(HBITMAP bitmap, COLORREF transparent)
{
    BITMAP info;
    if (!GetObject(bitmap, sizeof(info), &info) || info.bmWidth <= 0 || info.bmHeight <= 0)
        return nullptr;
    // The whole width is read: rounding it down to a multiple of 4 would cut
    // off the right-hand columns.
    const int width = info.bmWidth;
    const int height = info.bmHeight;
    const int stride = (width * 3 + 3) & ~3;
    std::vector<BYTE> pixels(static_cast<size_t>(stride) * static_cast<size_t>(height));
    BITMAPINFO header {};
    header.bmiHeader.biWidth = width;
    header.bmiHeader.biHeight = -height;
    header.bmiHeader.biPlanes = 1;
    header.bmiHeader.biBitCount = 24;
    header.bmiHeader.biCompression = BI_RGB;
    HDC screen = GdiCreateScreenDC();
    const int rows
        = GetDIBits(screen, bitmap, 0, static_cast<UINT>(height), pixels.data(), &header, DIB_RGB_COLORS);
    DeleteDC(screen);
    if (rows != height)
        return nullptr;
    const BYTE red = GetRValue(transparent);
    const BYTE green = GetGValue(transparent);
    const BYTE blue = GetBValue(transparent);
    CRgn region;
    region.CreateRectRgn(0, 0, width, height);
    CRgn cut;
    for (int y = 0; y < height; ++y) {
        const BYTE* row = pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(stride);
        int x = 0;
        while (x < width) {
            const auto matches = [&](int at) {
                const BYTE* p = row + at * 3;
                return p[0] == blue && p[1] == green && p[2] == red;
            };
            if (!matches(x)) {
                ++x;
                continue;
            }
            // A run of transparent pixels goes out of the region in one step.
            const int start = x;
            while (x < width && matches(x))
                ++x;
            cut.DeleteObject();
            cut.CreateRectRgn(start, y, x, y + 1);
            region.CombineRgn(&region, &cut, RGN_XOR);
        }
    }
    return static_cast<HRGN>(region.Detach());
}

DWORD CBitmapBackgroundDlg::SetDrawMode(DWORD mode, BOOL repaint)
{
    const BYTE placement = LOBYTE(mode);
    if (placement >= kDrawModeCount)
        return 2;
    m_drawMode = placement;
    if (repaint == TRUE && GetSafeHwnd())
        Invalidate(TRUE);
    return 0;
}

DWORD CBitmapBackgroundDlg::SetDragByClientArea(DWORD drag)
{
    m_dragByClientArea = drag;
    return 0;
}

DWORD CBitmapBackgroundDlg::SizeWindowToBackground(BOOL repaint)
{
    CRect window;
    CRect client;
    GetWindowRect(&window);
    GetClientRect(&client);
    const int extraX = window.Width() - client.Width();
    const int extraY = window.Height() - client.Height();
    if ((GetStyle() & WS_CHILD) && GetParent())
        GetParent()->ScreenToClient(&window);
    MoveWindow(window.left, window.top, m_width + extraX, m_height + extraY, repaint);
    m_drawMode = kCenter;
    return 0;
}

void CBitmapBackgroundDlg::OnBackgroundDrawn(CDC*) { }

void CBitmapBackgroundDlg::DrawBitmap(CDC* target, CDC* source, const CRect& client)
{
    const int w = client.Width();
    const int h = client.Height();
    const int bw = m_width;
    const int bh = m_height;
    const auto copy = [&](int x, int y) { target->BitBlt(x, y, bw, bh, source, 0, 0, SRCCOPY); };
    switch (m_drawMode) {
    case kTile:
        for (int y = 0; y < h; y += bh)
            for (int x = 0; x < w; x += bw)
                copy(x, y);
        break;
    case kCenter:
        copy((w - bw) / 2, (h - bh) / 2);
        break;
    case kStretch:
        target->StretchBlt(0, 0, w, h, source, 0, 0, bw, bh, SRCCOPY);
        break;
    case kTileTop:
        for (int x = 0; x < w; x += bw)
            copy(x, 0);
        break;
    case kTileBottom:
        for (int x = 0; x < w; x += bw)
            copy(x, h - bh);
        break;
    case kTileLeft:
        for (int y = 0; y < h; y += bh)
            copy(0, y);
        break;
    case kTileRight:
        for (int y = 0; y < h; y += bh)
            copy(w - bw, y);
        break;
    case kTopLeft:
        copy(0, 0);
        break;
    case kTopRight:
        copy(w - bw, 0);
        break;
    case kTopCenter:
        copy((w - bw) / 2, 0);
        break;
    case kBottomLeft:
        copy(0, h - bh);
        break;
    case kBottomRight:
        copy(w - bw, h - bh);
        break;
    case kBottomCenter:
        copy((w - bw) / 2, h - bh);
        break;
    default:
        break;
    }
}

LRESULT CBitmapBackgroundDlg::OnEraseBkgndMessage(WPARAM wParam, LPARAM)
{
    const LRESULT result = Default();
    CDC* screen = CDC::FromHandle(reinterpret_cast<HDC>(wParam));
    if (!m_bitmap || !screen || m_width <= 0 || m_height <= 0)
        return result;
    CRect client;
    GetClientRect(&client);
    CDC memory;
    CDC source;
    CBitmap canvas;
    memory.CreateCompatibleDC(screen);
    source.CreateCompatibleDC(screen);
    canvas.CreateCompatibleBitmap(screen, client.Width(), client.Height());
    CBitmap* oldCanvas = memory.SelectObject(&canvas);
    memory.FillSolidRect(&client, screen->GetBkColor());
    HGDIOBJ oldSource = source.SelectObject(m_bitmap);
    DrawBitmap(&memory, &source, client);
    screen->BitBlt(0, 0, client.Width(), client.Height(), &memory, 0, 0, SRCCOPY);
    OnBackgroundDrawn(&memory);
    source.SelectObject(oldSource);
    memory.SelectObject(oldCanvas);
    return result;
}

void CBitmapBackgroundDlg::OnPaint()
{
    // The background is erased as the paint begins.
    CPaintDC dc(this);
    if (dc.GetSafeHdc())
        SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
}

void CBitmapBackgroundDlg::OnSize(UINT type, int cx, int cy)
{
    CDialog::OnSize(type, cx, cy);
    if (m_bitmap)
        Invalidate(TRUE);
}

void CBitmapBackgroundDlg::OnLButtonDown(UINT, CPoint point)
{
    if (m_dragByClientArea == 1) {
        // WM_NCLBUTTONDOWN carries the point in screen coordinates: the move
        // starts from it.
        ClientToScreen(&point);
        PostMessage(
            WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(static_cast<WORD>(point.x), static_cast<WORD>(point.y)));
    }
    Default();
}
