// The label preview: notices, painting, mouse and keys, cassette commands.

#include "labeltool/tarnel_view.h"

#include <algorithm>

#include "labeltool/cassette_dlg.h"
#include "labeltool/file_bytes.h"
#include "labeltool/tarnel_messages.h"
#include "labeltool/unsaved_edits.h"
#include "platform/print/print_info.h"
#include "platform/wnd/core/cursor.h"
#include "platform/wnd/core/msgbox.h"
#include "platform/wnd/core/runtime_class.h"
#include "platform/wnd/dialogs/filedialog.h"
#include "platform/wnd/docview/winapp.h"

namespace {

const CSize kScrollSize(500, 450);
constexpr int kMinPaintWidth = 700;
constexpr int kMinPaintHeight = 1700;
constexpr int kScreenDpi = 96;
constexpr const char* kCassetteFilter = "Label Info(*.cst)|*.cst||";
constexpr const char* kCassetteExtension = "cst";

// Paints into a bitmap of the target's clip box and copies it over once.
class CTarnelMemDC : public CDC {
public:
    explicit CTarnelMemDC(CDC* target)
        : m_target(target)
    {
        target->GetClipBox(&m_clip);
        CreateCompatibleDC(target);
        m_bitmap.CreateCompatibleBitmap(
            target, std::max<int>(m_clip.Width(), 1), std::max<int>(m_clip.Height(), 1));
        m_old = SelectObject(&m_bitmap);
        SetWindowOrg(m_clip.left, m_clip.top);
    }
    ~CTarnelMemDC() override
    {
        m_target->BitBlt(
            m_clip.left, m_clip.top, m_clip.Width(), m_clip.Height(), this, m_clip.left, m_clip.top, SRCCOPY);
        SelectObject(m_old);
    }

private:
    CDC* m_target;
    CRect m_clip;
    CBitmap m_bitmap;
    CBitmap* m_old = nullptr;
};

} // namespace

CTarnelView::CTarnelView()
    : m_dotPen(PS_DOT, 1, RGB(0, 0, 0))
    , m_bluePen(PS_SOLID, 1, RGB(0, 0, 255))
    , m_magentaPen(PS_DASH, 1, RGB(255, 0, 255))
{ }

CTarnelView::~CTarnelView() = default;

const CRuntimeClass* CTarnelView::GetThisClass()
{
    static const CRuntimeClass kClass { "CTarnelView", &AfxCreateObject<CTarnelView>,
        CScrollView::GetThisClass() };
    return &kClass;
}

const MessageMap* CTarnelView::GetMessageMap() const
{
    static const MessageMap kMap(CScrollView::GetMessageMap(),
        {
            OnWm<WM_LBUTTONDOWN, &CTarnelView::OnLButtonDown>(),
            OnWm<WM_KEYDOWN, &CTarnelView::OnKeyDown>(),
            OnWm<WM_MOUSEMOVE, &CTarnelView::OnMouseMove>(),
            OnCommandMsg<&CTarnelView::OnCassetteOpen>(ID_CASSETTE_OPEN),
            OnCommandMsg<&CTarnelView::OnCassetteSaveAs>(ID_CASSETTE_SAVE_AS),
            OnCommandMsg<&CTarnelView::OnCassetteDialog>(ID_CASSETTE_DIALOG),
            OnCommandMsg<&CView::OnFilePrint>(ID_FILE_PRINT),
            OnCommandMsg<&CView::OnFilePrintPreview>(ID_FILE_PRINT_PREVIEW),
        });
    return &kMap;
}

CTarnelDoc* CTarnelView::GetDocument() const
{
    return DynamicDownCast<CTarnelDoc>(m_pDocument);
}

void CTarnelView::OnInitialUpdate()
{
    SetScrollSizes(MM_TEXT, kScrollSize);
    if (CTarnelDoc* doc = GetDocument(); doc && doc->Items().empty())
        for (int item = 0; item < kLabelItemCount; ++item)
            if (IsPreviewItem(item))
                doc->AddHead(BuildLabelItem(item, LabelParameterTable(), LabelOrigin(m_cassette)));
    CScrollView::OnInitialUpdate();
}

void CTarnelView::RebuildItems()
{
    m_tracker.Clear();
    if (CTarnelDoc* doc = GetDocument())
        for (const auto& item : doc->Items())
            RebuildLabelItem(*item, LabelParameterTable(), LabelOrigin(m_cassette));
}

void CTarnelView::ApplySizeNotice(const LabelChangeNotice& notice)
{
    if (notice.kind == LabelChangeKind::Gap) {
        m_cassette.gap = static_cast<std::uint16_t>(YDotsFromTenths(notice.value));
    } else if (notice.item == kSizeCodeLength) {
        m_cassette.labelLength = static_cast<std::uint16_t>(LabelLengthDots(notice.value));
    } else if (notice.item == kSizeCodeWidth) {
        m_cassette.labelWidth = static_cast<std::uint16_t>(notice.value * 8);
    }
}

void CTarnelView::ApplyNotices()
{
    CTarnelDoc* doc = GetDocument();
    for (const LabelChangeNotice& notice : LabelChangeNotices().Take()) {
        if (notice.kind == LabelChangeKind::WholeLabel) {
            // A whole label brings its width with it; a typed length leaves
            // the typed width.
            if (notice.item == kSizeCodeLength) {
                ApplySizeNotice({ kSizeCodeLength, LabelChangeKind::LabelSize, notice.value, 0 });
                ApplySizeNotice({ kSizeCodeWidth, LabelChangeKind::LabelSize,
                    static_cast<int>(LabelParameterTable()[kValueLabelWidth]), 0 });
            }
            RebuildItems();
        } else if (notice.kind == LabelChangeKind::LabelSize || notice.kind == LabelChangeKind::Gap) {
            ApplySizeNotice(notice);
        } else if (CLabelTextItem* item = doc ? doc->FindItem(static_cast<int>(notice.item)) : nullptr) {
            ApplyItemNotice(*item, notice, LabelParameterTable(), LabelOrigin(m_cassette));
        }
    }
}

void CTarnelView::OnDraw(CDC* dc)
{
    ApplyNotices();
    if (dc->IsPrinting()) {
        PaintPicture(dc);
        return;
    }
    CTarnelMemDC memory(dc);
    PaintPicture(&memory);
}

void CTarnelView::PaintPicture(CDC* dc)
{
    CRect client;
    GetClientRect(&client);
    const CPoint scroll = GetScrollPosition();
    dc->FillSolidRect(0, 0, std::max<int>(client.Width() + scroll.x, kMinPaintWidth),
        std::max<int>(client.Height() + scroll.y, kMinPaintHeight), RGB(255, 255, 255));
    const CPoint origin = LabelOrigin(m_cassette);
    const int saved = dc->SaveDC();
    CString caption;
    caption.Format("LABEL SIZE %d X %d", XTenthsFromDots(m_cassette.labelWidth),
        m_cassette.labelLength * 145 / 100 + 11);
    dc->SetBkMode(TRANSPARENT);
    dc->TextOut(origin.x, 4, caption);
    dc->SelectObject(&m_magentaPen);
    const POINT area[] = { origin, { origin.x + m_cassette.tphWidth, origin.y },
        { origin.x + m_cassette.tphWidth, origin.y + m_cassette.labelLength },
        { origin.x, origin.y + m_cassette.labelLength }, origin };
    dc->Polyline(area, 5);
    dc->SelectObject(&m_bluePen);
    if (CTarnelDoc* doc = GetDocument())
        for (const auto& item : doc->Items())
            item->Draw(dc);
    dc->RestoreDC(saved);
    m_tracker.DrawAll(dc);
}

void CTarnelView::OnPrepareDC(CDC* dc, CPrintInfo* info)
{
    CScrollView::OnPrepareDC(dc, info);
    if (!dc || !dc->IsPrinting())
        return;
    dc->SetMapMode(MM_ANISOTROPIC);
    dc->SetWindowExt(kScreenDpi, kScreenDpi);
    dc->SetViewportExt(dc->GetDeviceCaps(LOGPIXELSX), dc->GetDeviceCaps(LOGPIXELSY));
}

BOOL CTarnelView::OnPreparePrinting(CPrintInfo* info)
{
    info->SetMaxPage(1);
    return DoPreparePrinting(info);
}

void CTarnelView::OnLButtonDown(UINT flags, CPoint point)
{
    SetFocus();
    m_tracker.SetScrollOffset(GetScrollPosition());
    if (m_tracker.HitTestAll(point) != CRectTracker::hitNothing) {
        if (m_tracker.TrackAll(this, point)) {
            if (CDocument* doc = GetDocument())
                doc->SetModifiedFlag();
            ReportMovedItems();
        }
        Invalidate();
        return;
    }
    SelectWithBand(flags, point);
    Invalidate();
}

void CTarnelView::SelectWithBand(UINT flags, CPoint point)
{
    if (!(flags & MK_CONTROL))
        m_tracker.Clear();
    CRectTracker band;
    const CPoint scroll = GetScrollPosition();
    CTarnelDoc* doc = GetDocument();
    if (!doc)
        return;
    if (band.TrackRubberBand(this, point, TRUE)) {
        CRect picture = band.m_rect;
        picture.OffsetRect(scroll.x, scroll.y);
        for (const auto& item : doc->Items()) {
            CRect inside;
            if (inside.IntersectRect(picture, item->m_rect) && inside == item->m_rect)
                m_tracker.Add(item.get());
        }
        return;
    }
    const CPoint at(point.x + scroll.x, point.y + scroll.y);
    for (const auto& item : doc->Items())
        if (item->m_rect.PtInRect(at)) {
            m_tracker.Add(item.get());
            return;
        }
}

void CTarnelView::OnKeyDown(UINT key, UINT, UINT)
{
    if (!m_tracker.MoveByKey(key))
        return;
    if (CDocument* doc = GetDocument())
        doc->SetModifiedFlag();
    ReportMovedItems();
    Invalidate();
}

void CTarnelView::OnMouseMove(UINT, CPoint)
{
    m_tracker.SetScrollOffset(GetScrollPosition());
    CPoint cursor;
    GetCursorPos(&cursor);
    ScreenToClient(&cursor);
    if (m_tracker.HitTestAll(cursor) == CRectTracker::hitNothing || !m_tracker.SetCursor(this, HTCLIENT))
        ::SetCursor(LoadCursor(nullptr, IDC_ARROW));
}

void CTarnelView::ReportMovedItems()
{
    CTarnelDoc* doc = GetDocument();
    if (!doc)
        return;
    const CPoint origin = LabelOrigin(m_cassette);
    CWnd* main = AfxGetMainWnd();
    for (const auto& item : doc->Items()) {
        if (!item->m_moved)
            continue;
        item->m_moved = FALSE;
        item->m_rect = ClampItemRect(item->m_rect, origin);
        item->m_trackRect = item->m_rect;
        if (main)
            main->SendMessage(
                WM_LABEL_ITEM_MOVED, ItemMovedWParam(item->m_item), ItemMovedLParam(item->m_rect, origin));
    }
}

void CTarnelView::OnCassetteOpen()
{
    if (!SaveModifiedCassette())
        return;
    CFileDialog dialog(TRUE, kCassetteExtension, nullptr, OFN_HIDEREADONLY, kCassetteFilter, this);
    dialog.m_ofn.lpstrTitle = "Open the Casette Info File";
    if (dialog.DoModal() != IDOK)
        return;
    if (AfxMessageBox("Initialized screen.\nContinue?", MB_OKCANCEL) != IDOK)
        return;
    ReadCassetteFile(dialog.GetPathName());
}

BOOL CTarnelView::SaveCassetteAs()
{
    CFileDialog dialog(
        FALSE, kCassetteExtension, nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, kCassetteFilter, this);
    dialog.m_ofn.lpstrTitle = "Save as Casette Info";
    return dialog.DoModal() == IDOK && WriteCassetteFile(dialog.GetPathName());
}

BOOL CTarnelView::IsCassetteModified() const
{
    return m_cassette.leftExtra != m_savedCassette.leftExtra
        || m_cassette.bottomExtra != m_savedCassette.bottomExtra
        || m_cassette.tphWidth != m_savedCassette.tphWidth;
}

BOOL CTarnelView::SaveModifiedCassette()
{
    return SaveEditsFirst(IsCassetteModified(), "cassette", [this] { return SaveCassetteAs(); });
}

BOOL CTarnelView::WriteCassetteFile(const CString& path)
{
    if (!ReplaceFile(path, EncodeCassetteFile(m_cassette))) {
        AfxMessageBox("Can not make file");
        return FALSE;
    }
    m_savedCassette = m_cassette;
    AfxMessageBox("Success Casette save.");
    return TRUE;
}

BOOL CTarnelView::ReadCassetteFile(const CString& path)
{
    const std::optional<ByteBuffer> bytes = ReadExistingFile(path, kCassetteFileSize);
    if (!bytes) {
        AfxMessageBox("Can not open the file");
        return FALSE;
    }
    CassetteGeometry read = m_cassette;
    if (const CassetteFileError error = DecodeCassetteFile(*bytes, read); error != CassetteFileError::None) {
        AfxMessageBox(CassetteFileErrorText(error));
        return FALSE;
    }
    if (const std::vector<CString> misfits = CheckCassetteGeometry(read); !misfits.empty()) {
        AfxMessageBox(misfits.front());
        return FALSE;
    }
    m_cassette = m_savedCassette = read;
    if (CWnd* main = AfxGetMainWnd())
        main->SendMessage(WM_CASSETTE_LOADED);
    LabelChangeNotices().Post({ 0, LabelChangeKind::WholeLabel, 0, 0 });
    SendSizesToViewer();
    Invalidate();
    AfxMessageBox("Success file open.");
    return TRUE;
}

void CTarnelView::OnCassetteDialog()
{
    CCassetteDlg dialog(m_cassette, this);
    if (dialog.DoModal() == IDOK)
        ApplyCassette(dialog.GetCassette());
}

void CTarnelView::ApplyCassette(const CassetteGeometry& cassette)
{
    const int across = cassette.leftExtra - m_cassette.leftExtra;
    const int along = m_cassette.bottomExtra - cassette.bottomExtra;
    if (CTarnelDoc* doc = GetDocument())
        for (const auto& item : doc->Items()) {
            item->m_rect.OffsetRect(across, along);
            item->m_trackRect = item->m_rect;
        }
    m_cassette = cassette;
    SendSizesToViewer();
    Invalidate();
}

void CTarnelView::SendSizesToViewer()
{
    CWnd* main = AfxGetMainWnd();
    if (!main)
        return;
    const auto code = [](UINT size, UINT kind) { return static_cast<WPARAM>((size << 8) | kind); };
    main->SendMessage(
        WM_LABEL_ITEM_MOVED, code(kSizeCodeLength, 91), LabelLengthMillimetres(m_cassette.labelLength));
    main->SendMessage(
        WM_LABEL_ITEM_MOVED, code(kSizeCodeWidth, 91), XTenthsFromDots(m_cassette.labelWidth) / 10);
    main->SendMessage(WM_LABEL_ITEM_MOVED, code(kSizeCodeLength, 93), YTenthsFromDots(m_cassette.gap));
}
