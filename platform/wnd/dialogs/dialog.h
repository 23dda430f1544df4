#pragma once
// CDialog: dialogs made from the dialog templates of the resource scripts.
// Modeless: Create(IDD, parent), possibly before the parent has a window (the
// dialog is then unowned). Modal: DoModal runs a nested message loop that
// EndDialog ends; cross-thread sends, posted messages and timers are served
// meanwhile.

#include <functional>

#include "platform/base/dialog_template.h"
#include "platform/wnd/core/wnd.h"

class CDialog;

// Dialog data exchange: DoDataExchange moves values between controls and
// members; m_bSaveAndValidate tells the direction.
class CDataExchange {
public:
    // window: the dialog or form view whose controls are exchanged.
    CDataExchange(CWnd* window, BOOL saveAndValidate)
        : m_bSaveAndValidate(saveAndValidate)
        , m_pDlgWnd(window)
    { }
    // Stops the exchange (the caller of UpdateData gets FALSE).
    [[noreturn]] void Fail();

    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;
};

// Binds control to the dialog's control id (subclassing it the first time).
void DDX_Control(CDataExchange* dx, int id, CWnd& control);
// The control's text and a member (ddx.cpp). A number that does not parse
// shows "Please enter an integer." and fails the exchange.
void DDX_Text(CDataExchange* dx, int id, CString& value);
void DDX_Text(CDataExchange* dx, int id, int& value);
// A check box's state (0, 1, 2) and a member.
void DDX_Check(CDataExchange* dx, int id, int& value);
// The index of the checked radio button of the group that starts at id (-1
// for none) and a member.
void DDX_Radio(CDataExchange* dx, int id, int& value);

class CDialog : public CWnd {
public:
    CDialog();
    explicit CDialog(UINT templateId, CWnd* parent = nullptr);
    ~CDialog() override;

    const MessageMap* GetMessageMap() const override;

    // Creates the modeless dialog of template templateId with its controls and
    // sends WM_INITDIALOG (OnInitDialog). The dialog shows itself only when the
    // template has WS_VISIBLE. FALSE when the template is missing or creation
    // fails. UI thread.
    virtual BOOL Create(UINT templateId, CWnd* parent = nullptr);
    BOOL CreateIndirect(const DialogTemplate& dialogTemplate, CWnd* parent = nullptr);

    // Creates the dialog of m_nIDTemplate, disables its owner, shows it, and
    // runs a nested loop until EndDialog; then destroys the window, enables
    // the owner and returns EndDialog's result (-1 when the dialog could not
    // be created). UI thread.
    virtual INT_PTR DoModal();
    // Ends a modal dialog with result (the loop ends when control returns to
    // it); a modeless dialog is only hidden.
    void EndDialog(int result);

    // Called once the controls exist; the default runs UpdateData(FALSE).
    // Return TRUE to give the focus to the first control.
    virtual BOOL OnInitDialog();
    // IDOK: UpdateData(TRUE), then EndDialog(IDOK) when it succeeds.
    virtual void OnOK();
    // IDCANCEL and WM_CLOSE: EndDialog(IDCANCEL).
    virtual void OnCancel();
    virtual void DoDataExchange(CDataExchange* dx);
    // Runs DoDataExchange; FALSE when the exchange failed.
    BOOL UpdateData(BOOL saveAndValidate = TRUE);

    // Dialog keys: Tab and Shift+Tab move the focus to the next (previous)
    // visible, enabled WS_TABSTOP control, unless the focused control wants
    // the Tab key itself (DLGC_WANTTAB). TRUE when the key was used.
    BOOL PreTranslateMessage(MSG* msg) override;

    // Dialog units of the dialog's font to pixels.
    void MapDialogRect(LPRECT rect) const;
    // TRUE while DoModal's loop runs.
    BOOL IsModal() const { return m_bModal; }

    UINT m_nIDTemplate = 0;
    CWnd* m_pParentWnd = nullptr;

private:
    LRESULT OnInitDialogMessage(WPARAM wParam, LPARAM lParam);
    void OnCloseMessage();
    BOOL CreateFromTemplate(const DialogTemplate& dialogTemplate, CWnd* parent, BOOL forceHidden);

    int m_baseUnitX = 6;
    int m_baseUnitY = 13;
    BOOL m_bModal = FALSE;
    BOOL m_bEnded = FALSE;
    int m_nModalResult = -1;
    void* m_pLoop = nullptr;
};

// Runs exchange over window's controls in the direction given; FALSE when
// the exchange failed (CDataExchange::Fail).
BOOL AfxRunDataExchange(
    CWnd* window, BOOL saveAndValidate, const std::function<void(CDataExchange*)>& exchange);

// Creates the controls of a dialog template as children of parent, their
// rectangles turned into pixels with the base units (pixels per 4 x 8 dialog
// units). The objects made for them belong to their windows. UI thread.
void AfxCreateDialogItems(CWnd* parent, const DialogTemplate& dialogTemplate, SIZE baseUnits);
// Gives the window the template's font (its controls get it when made).
void AfxApplyTemplateFont(HWND window, const DialogTemplate& dialogTemplate);

// Pixels per 4 horizontal and 8 vertical dialog units for a dialog font
// (the classic 8-point dialog font gives 6 x 13).
SIZE DialogBaseUnits(const char* fontName, int pointSize);
