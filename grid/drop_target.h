#pragma once
// Registers the grid window as a drop target and hands the drag events over
// the grid to the grid's own drag operations.

#include "grid/grid_defs.h"

class CGridCtrl;

class CGridDropTarget : public COleDropTarget {
public:
    // FALSE when already registered or when the window is not a grid.
    BOOL Register(CWnd* pWnd) override;
    void Revoke() override;

    DROPEFFECT OnDragEnter(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) override;
    DROPEFFECT OnDragOver(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) override;
    BOOL OnDrop(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT dropEffect, CPoint point) override;
    void OnDragLeave(CWnd* pWnd) override;
    DROPEFFECT OnDragScroll(CWnd* pWnd, DWORD dwKeyState, CPoint point) override;

private:
    BOOL IsOverGrid(CWnd* pWnd) const;

    CGridCtrl* m_pGridCtrl = nullptr;
    BOOL m_bRegistered = FALSE;
};
