#pragma once
// CFormView: a view whose content is a dialog template: the template's
// controls are created in the view when its window is, at the template's
// positions (dialog units of its font). Data exchange works as in dialogs;
// the initial update fills the controls (UpdateData(FALSE)). UI thread.

#include "platform/wnd/dialogs/dialog.h"
#include "platform/wnd/docview/view.h"

class CFormView : public CView {
public:
    explicit CFormView(UINT templateId);
    ~CFormView() override;

    static const CRuntimeClass* GetThisClass();
    const CRuntimeClass* GetRuntimeClass() const override { return GetThisClass(); }

    // Creates the view window, then the template's controls. FALSE when the
    // template is missing.
    BOOL Create(LPCTSTR className, LPCTSTR windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id,
        void* context = nullptr) override;

    void OnInitialUpdate() override;
    virtual void DoDataExchange(CDataExchange* dx);
    // FALSE when the exchange failed.
    BOOL UpdateData(BOOL saveAndValidate = TRUE);
    // The template's size in pixels.
    CSize GetTotalSize() const { return m_totalSize; }

    UINT m_nIDTemplate;

private:
    CSize m_totalSize;
};
