#pragma once
// CTarnelView: the label preview. It draws the cassette's print area and the
// label items at printer-dot scale, lets the user select items and move them
// with the mouse or the arrow keys (reporting each moved item to the main
// window), applies the viewer's change notices at each paint, keeps the
// cassette geometry with its file and dialog, and prints the same picture.

#include "labeltool/cassette.h"
#include "labeltool/multi_rect_tracker.h"
#include "labeltool/tarnel_doc.h"
#include "platform/gdi/pen.h"
#include "platform/wnd/docview/scrollview.h"

class CTarnelView : public CScrollView {
public:
    CTarnelView();
    ~CTarnelView() override;

    const MessageMap* GetMessageMap() const override;
    static const CRuntimeClass* GetThisClass();
    const CRuntimeClass* GetRuntimeClass() const override { return GetThisClass(); }

    CTarnelDoc* GetDocument() const;
    const CassetteGeometry& GetCassette() const { return m_cassette; }
    CMultiRectTracker& GetTracker() { return m_tracker; }

    // Builds the items from the parameter table.
    void OnInitialUpdate() override;
    // Applies the waiting notices, then paints (off screen unless printing).
    void OnDraw(CDC* dc) override;
    BOOL OnPreparePrinting(CPrintInfo* info) override;
    // On a printer a dot of the picture is a screen pixel (1/96 inch).
    void OnPrepareDC(CDC* dc, CPrintInfo* info = nullptr) override;

    // The Cassette menu.
    void OnCassetteOpen();
    void OnCassetteSaveAs() { (void)SaveCassetteAs(); }
    // The file dialog, then the file; TRUE when it was saved.
    BOOL SaveCassetteAs();
    // TRUE when the cassette's own values (left and bottom extra, TPH width)
    // differ from the ones last opened or saved; the label size goes with the
    // label's values.
    BOOL IsCassetteModified() const;
    // Before the cassette is dropped: asks to save it when it changed; FALSE
    // when the user stays.
    BOOL SaveModifiedCassette();
    void OnCassetteDialog();
    // File bytes in and out, with their boxes; TRUE on success.
    BOOL ReadCassetteFile(const CString& path);
    BOOL WriteCassetteFile(const CString& path);
    // Takes a new geometry from the dialog: items shift with the print area,
    // and the viewer gets the label length, width and gap.
    void ApplyCassette(const CassetteGeometry& cassette);

protected:
    void OnLButtonDown(UINT flags, CPoint point);
    void OnKeyDown(UINT key, UINT repeat, UINT flags);
    void OnMouseMove(UINT flags, CPoint point);

private:
    void ApplyNotices();
    void ApplySizeNotice(const LabelChangeNotice& notice);
    void RebuildItems();
    void PaintPicture(CDC* dc);
    void SelectWithBand(UINT flags, CPoint point);
    // Clamps every moved item, reports it to the main window and clears its flag.
    void ReportMovedItems();
    void SendSizesToViewer();

    CMultiRectTracker m_tracker;
    CPen m_dotPen;
    CPen m_bluePen;
    CPen m_magentaPen;
    CassetteGeometry m_cassette;
    CassetteGeometry m_savedCassette;
};
