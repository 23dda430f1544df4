#pragma once
// The label data viewer: a dialog bar (template 138) on the frame's left in
// which the user edits the label values. Every edit is read at once and
// announced to the preview as a change notice; moved items and cassette
// changes come back as values. It also keeps the scale and file numbers,
// the RS-232 Alone/Multi choice, the Tx/Rx lamps, the terminal settings and
// the label file commands.

#include "controls/status_lamp.h"
#include "labeltool/label_values.h"
#include "platform/wnd/dialogbar.h"

// A dialog bar that fills its controls from its members once it is built
// (WM_BAR_INITDATA, posted to itself on creation), then runs OnInitDialogBar.
class CInitDialogBar : public CDialogBar {
public:
    CInitDialogBar();
    ~CInitDialogBar() override;

    const MessageMap* GetMessageMap() const override;
    BOOL Create(CWnd* parent, UINT templateId, UINT style, UINT id) override;

    virtual void DoDataExchange(CDataExchange* dx);
    // FALSE when the exchange failed (its box has been shown).
    BOOL UpdateData(BOOL saveAndValidate = TRUE);
    virtual BOOL OnInitDialogBar();

protected:
    LRESULT OnInitData(WPARAM wParam, LPARAM lParam);
};

// A send or receive lamp: a cell of bitmap 134 (3 columns, 8 rows of 32 x 32).
class CLedLamp : public CStatusLamp {
public:
    static constexpr UINT kBitmap = 134;
    static constexpr int kIdleRow = 32;
    static constexpr int kOffColumn = 1;

    CLedLamp();
    // Colour row (pixels), column and index added to the row; repaints at once.
    void SetState(int colourOffset, int column, int index) { SetImage(colourOffset, column, index); }
};

class CLabelDataBar : public CInitDialogBar {
public:
    static constexpr UINT IDD = 138;

    CLabelDataBar();
    ~CLabelDataBar() override;

    const MessageMap* GetMessageMap() const override;
    BOOL Create(CWnd* parent, UINT templateId, UINT style, UINT id) override;
    void DoDataExchange(CDataExchange* dx) override;

    // File > Open and File > Save As.
    void OnOpenLabelFile();
    void OnSaveLabelFileAs();
    // The label file at path, with its boxes; TRUE on success.
    BOOL ReadLabelFile(const CString& path);
    BOOL WriteLabelFile(const CString& path);

    const LabelValues& GetValues() const { return m_values; }
    int GetLinkMode() const { return m_linkMode; }
    int GetPortIndex() const { return m_portIndex; }
    void SetTransferMode(int mode) { m_transferMode = mode; }
    // Shows the values, then announces the label size values that are in
    // range (setting an edit's text from code notifies nothing).
    void RefreshControls();

    CLedLamp m_txLamp;
    CLedLamp m_rxLamp;

protected:
    void OnEditChanged(UINT id);
    void OnComboChanged(UINT id);
    void OnAlone();
    void OnMulti();
    LRESULT OnItemMoved(WPARAM wParam, LPARAM lParam);
    LRESULT OnCassetteChanged(WPARAM wParam, LPARAM lParam);
    void OnDestroy();

private:
    void FillCombos();
    void LoadTerminalSettings();
    void SaveTerminalSettings();
    void ExchangeValues(CDataExchange* dx);
    void Announce(const LabelChangeNotice& notice);
    void AnnounceFont(int item);
    void SetLinkMode(int mode);

    LabelValues m_values;
    // What the preview was last told of each value, so that an X or Y change
    // is announced as the distance from where the item stands.
    LabelValues m_announced;
    int m_scaleNumber = 98;
    int m_fileNumber = 1;
    int m_linkMode = 0;
    int m_transferMode = 0;
    // Terminal settings.
    int m_bkColor = 0xFF0000;
    int m_fgColor = 0xFFFF00;
    int m_pos = -1;
    int m_pointSize = 90;
    CString m_faceName = "Terminal";
    int m_onTop = 0;
    int m_portIndex = 0;
    int m_flow = 0;
};
