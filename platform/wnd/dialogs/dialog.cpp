// Dialogs from templates, modeless and modal.

#include "platform/wnd/dialogs/dialog.h"

#include <cmath>

#include <cstring>

#include <QEventLoop>
#include <QLabel>
#include <QPixmap>

#include "platform/base/exception.h"
#include "platform/base/resource_script.h"
#include "platform/gdi/dc_internal.h"
#include "platform/gdi/font_internal.h"
#include "platform/gdi/icon.h"
#include "platform/wnd/controls/edit.h"
#include "platform/wnd/controls/static.h"
#include "platform/wnd/core/app.h"
#include "platform/wnd/core/internal/dispatch_internal.h"
#include "platform/wnd/core/internal/window_state.h"
#include "platform/wnd/core/internal/wnd_internal.h"
#include "platform/wnd/dialogs/modal_script.h"

namespace {

int UnitMulDiv(int value, int numerator, int denominator)
{
    return static_cast<int>(std::lround(static_cast<double>(value) * numerator / denominator));
}

// The object that stands for a template control.
CWnd* MakeControl(const CString& className)
{
    if (CWnd* object = wnd_internal::MakeControlObject(className))
        return object;
    CString upper = className;
    upper.MakeUpper();
    if (upper == "EDIT")
        return new CEdit;
    return new CWnd;
}

// First visible, enabled control with WS_TABSTOP, or nullptr.
CWnd* FirstTabStop(HWND dialog)
{
    std::vector<HWND> children;
    {
        std::lock_guard lock(window_table::Mutex());
        if (std::shared_ptr<WindowState> state = window_table::FindLocked(dialog))
            children = state->children;
    }
    for (HWND child : children) {
        CWnd* object = CWnd::FromHandle(child);
        if (!object)
            continue;
        const DWORD style = object->GetStyle();
        if ((style & WS_CHILD) && (style & WS_TABSTOP) && (style & WS_VISIBLE) && !(style & WS_DISABLED))
            return object;
    }
    return nullptr;
}

// An icon static whose template names an icon resource shows that icon.
void ShowTemplateIcon(const DialogItemTemplate& item, HWND hwnd)
{
    constexpr DWORD kStaticType = 0x1F;
    if (!item.textResourceId || item.className.CompareNoCase("STATIC") != 0
        || (item.style & kStaticType) != SS_ICON)
        return;
    HICON icon = LoadIcon(nullptr, item.textResourceId);
    auto* label = icon ? qobject_cast<QLabel*>(wnd_internal::WidgetOf(hwnd)) : nullptr;
    if (label) {
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setPixmap(QPixmap::fromImage(GdiIconImage(icon)));
    }
}

} // namespace

// The template's font, as Windows hands it to the dialog and its controls.
void AfxApplyTemplateFont(HWND dialog, const DialogTemplate& dialogTemplate)
{
    if (dialogTemplate.fontPointSize <= 0)
        return;
    LOGFONT lf;
    lf.lfHeight = -UnitMulDiv(dialogTemplate.fontPointSize, 96, 72);
    lf.lfWeight = dialogTemplate.fontWeight;
    lf.lfItalic = dialogTemplate.fontItalic ? 1 : 0;
    lf.lfCharSet = dialogTemplate.fontCharset;
    std::strncpy(lf.lfFaceName, dialogTemplate.fontName.GetString(), LF_FACESIZE - 1);
    if (std::shared_ptr<WindowState> state = window_table::Find(dialog))
        state->font = lf;
    if (QWidget* widget = wnd_internal::WidgetOf(dialog))
        widget->setFont(GdiBuildFont(lf, 1.0, true));
}

SIZE DialogBaseUnits(const char* fontName, int pointSize)
{
    if (pointSize <= 0)
        return SIZE { 8, 16 }; // the system font
    const LONG cy = static_cast<LONG>(std::lround(13.0 * pointSize / 8.0));
    const CString face = fontName ? fontName : "";
    if (face.CompareNoCase("Courier New") == 0 || face.CompareNoCase("Courier") == 0) {
        // Fixed pitch: every character advances 0.6 of the pixel height.
        const long pixels = std::lround(pointSize * 96.0 / 72.0);
        return SIZE { static_cast<LONG>(std::lround(pixels * 0.6)), cy };
    }
    return SIZE { static_cast<LONG>(std::lround(6.0 * pointSize / 8.0)), cy };
}

void AfxCreateDialogItems(CWnd* parent, const DialogTemplate& dialogTemplate, SIZE baseUnits)
{
    const HWND self = parent->GetSafeHwnd();
    const std::shared_ptr<WindowState> parentState = window_table::Find(self);
    for (const DialogItemTemplate& item : dialogTemplate.items) {
        const CRect rect(UnitMulDiv(item.x, baseUnits.cx, 4), UnitMulDiv(item.y, baseUnits.cy, 8),
            UnitMulDiv(item.x + item.cx, baseUnits.cx, 4), UnitMulDiv(item.y + item.cy, baseUnits.cy, 8));
        CWnd* control = MakeControl(item.className);
        if (!control->CreateEx(item.exStyle, item.className, item.text, item.style | WS_CHILD, rect.left,
                rect.top, rect.Width(), rect.Height(), self, item.id)) {
            delete control;
            continue;
        }
        std::shared_ptr<WindowState> state = window_table::Find(control->GetSafeHwnd());
        if (!state) {
            delete control;
            continue;
        }
        state->ownedObjects.emplace_back(control);
        // The dialog hands each control its font.
        if (parentState)
            state->font = parentState->font;
        ShowTemplateIcon(item, state->hwnd);
    }
}

void CDataExchange::Fail()
{
    AfxThrowUserException();
}

void DDX_Control(CDataExchange* dx, int id, CWnd& control)
{
    if (control.GetSafeHwnd())
        return;
    if (!control.SubclassDlgItem(static_cast<UINT>(id), dx->m_pDlgWnd))
        dx->Fail();
}

CDialog::CDialog() = default;

CDialog::CDialog(UINT templateId, CWnd* parent)
    : m_nIDTemplate(templateId)
    , m_pParentWnd(parent)
{ }

CDialog::~CDialog()
{
    if (GetSafeHwnd())
        DestroyWindow();
}

const MessageMap* CDialog::GetMessageMap() const
{
    static const MessageMap kMap(CWnd::GetMessageMap(),
        {
            OnMessage<&CDialog::OnInitDialogMessage>(WM_INITDIALOG),
            OnCommandMsg<&CDialog::OnOK>(IDOK),
            OnCommandMsg<&CDialog::OnCancel>(IDCANCEL),
            OnWm<WM_CLOSE, &CDialog::OnCloseMessage>(),
        });
    return &kMap;
}

BOOL CDialog::Create(UINT templateId, CWnd* parent)
{
    const DialogTemplate* dialogTemplate = AfxFindDialogTemplate(templateId);
    if (!dialogTemplate)
        return FALSE;
    m_nIDTemplate = templateId;
    return CreateIndirect(*dialogTemplate, parent);
}

BOOL CDialog::CreateIndirect(const DialogTemplate& dialogTemplate, CWnd* parent)
{
    if (!AfxIsUiThread()) {
        BOOL created = FALSE;
        wnd_internal::RunOnUiThread([&] { created = CreateIndirect(dialogTemplate, parent); });
        return created;
    }
    m_pParentWnd = parent;
    if (!CreateFromTemplate(dialogTemplate, parent, FALSE))
        return FALSE;
    if (GetStyle() & WS_VISIBLE)
        return TRUE;
    return GetSafeHwnd() != nullptr;
}

BOOL CDialog::CreateFromTemplate(const DialogTemplate& dialogTemplate, CWnd* parent, BOOL forceHidden)
{
    if (GetSafeHwnd())
        return FALSE;
    const SIZE units = DialogBaseUnits(dialogTemplate.fontName, dialogTemplate.fontPointSize);
    m_baseUnitX = units.cx;
    m_baseUnitY = units.cy;
    CRect frame(dialogTemplate.x, dialogTemplate.y, dialogTemplate.x + dialogTemplate.cx,
        dialogTemplate.y + dialogTemplate.cy);
    MapDialogRect(&frame);
    const DWORD style = dialogTemplate.style;
    HWND parentHwnd = parent ? parent->GetSafeHwnd() : nullptr;
    if ((style & WS_CHILD) && !parentHwnd)
        return FALSE;
    const char* className
        = dialogTemplate.className.IsEmpty() ? "#32770" : dialogTemplate.className.GetString();
    if (!CreateEx(dialogTemplate.exStyle, className, dialogTemplate.caption, style & ~WS_VISIBLE, frame.left,
            frame.top, frame.Width(), frame.Height(), parentHwnd, 0))
        return FALSE;
    const HWND self = GetSafeHwnd();
    AfxApplyTemplateFont(self, dialogTemplate);
    AfxCreateDialogItems(this, dialogTemplate, SIZE { m_baseUnitX, m_baseUnitY });
    CWnd* first = FirstTabStop(self);
    const LRESULT focusDefault = dispatch_internal::Dispatch(
        self, WM_INITDIALOG, reinterpret_cast<WPARAM>(first ? first->GetSafeHwnd() : nullptr), 0);
    if (!IsWindow(self))
        return FALSE;
    if ((style & WS_VISIBLE) && !forceHidden) {
        if (style & DS_CENTER)
            CenterWindow();
        ShowWindow(SW_SHOW);
        if (focusDefault && first)
            first->SetFocus();
    }
    return TRUE;
}

INT_PTR CDialog::DoModal()
{
    if (GetSafeHwnd() || !AfxIsUiThread())
        return -1;
    const DialogTemplate* dialogTemplate = AfxFindDialogTemplate(m_nIDTemplate);
    if (!dialogTemplate)
        return -1;
    CWnd* owner = m_pParentWnd && m_pParentWnd->GetSafeHwnd() ? m_pParentWnd->GetTopLevelParent() : nullptr;
    m_bEnded = FALSE;
    m_bModal = TRUE;
    m_nModalResult = -1;
    // Like the owner, the dialog's parent is the top-level window: a dialog
    // inside a child view would share the disabled state of the frame.
    if (!CreateFromTemplate(*dialogTemplate, owner ? owner : m_pParentWnd, TRUE)) {
        m_bModal = FALSE;
        return -1;
    }
    const bool reenableOwner = owner && owner->IsWindowEnabled();
    if (reenableOwner)
        owner->EnableWindow(FALSE);
    if (!m_bEnded && GetSafeHwnd()) {
        CenterWindow(owner);
        ShowWindow(SW_SHOW);
        if (CWnd* first = FirstTabStop(GetSafeHwnd()))
            first->SetFocus();
        if (!modal_seam::RunScripted(*this, m_bEnded, m_nModalResult)) {
            QEventLoop loop;
            m_pLoop = &loop;
            if (!m_bEnded && GetSafeHwnd())
                loop.exec(QEventLoop::DialogExec);
            m_pLoop = nullptr;
        }
    }
    if (reenableOwner && IsWindow(owner->GetSafeHwnd()))
        owner->EnableWindow(TRUE);
    if (GetSafeHwnd()) {
        ShowWindow(SW_HIDE);
        DestroyWindow();
    }
    m_bModal = FALSE;
    return m_nModalResult;
}

void CDialog::EndDialog(int result)
{
    m_nModalResult = result;
    m_bEnded = TRUE;
    if (m_bModal) {
        if (m_pLoop)
            static_cast<QEventLoop*>(m_pLoop)->quit();
        return;
    }
    ShowWindow(SW_HIDE);
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

void CDialog::DoDataExchange(CDataExchange*) { }

BOOL AfxRunDataExchange(
    CWnd* window, BOOL saveAndValidate, const std::function<void(CDataExchange*)>& exchange)
{
    CDataExchange dx(window, saveAndValidate);
    try {
        exchange(&dx);
    } catch (CUserException* e) {
        e->Delete();
        return FALSE;
    }
    return TRUE;
}

BOOL CDialog::UpdateData(BOOL saveAndValidate)
{
    return AfxRunDataExchange(this, saveAndValidate, [this](CDataExchange* dx) { DoDataExchange(dx); });
}

void CDialog::MapDialogRect(LPRECT rect) const
{
    if (!rect)
        return;
    rect->left = UnitMulDiv(rect->left, m_baseUnitX, 4);
    rect->right = UnitMulDiv(rect->right, m_baseUnitX, 4);
    rect->top = UnitMulDiv(rect->top, m_baseUnitY, 8);
    rect->bottom = UnitMulDiv(rect->bottom, m_baseUnitY, 8);
}

LRESULT CDialog::OnInitDialogMessage(WPARAM, LPARAM)
{
    return OnInitDialog();
}

void CDialog::OnCloseMessage()
{
    OnCancel();
}
