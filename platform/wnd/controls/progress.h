#pragma once
// CProgressCtrl: the progress bar common control ("msctls_progress32"). The
// range and position belong to the control object; the bar shows them. A
// position is kept within the range. UI thread.

#include "platform/wnd/core/wnd.h"

class CProgressCtrl : public CWnd {
public:
    // The first one makes dialog templates' progress bars CProgressCtrl
    // objects with a bar.
    CProgressCtrl();
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);

    // The range (0 to 100 at first); the position is brought into it.
    void SetRange32(int lower, int upper);
    void GetRange(int& lower, int& upper) const;
    // Sets the position, kept within the range; the position before.
    int SetPos(int pos);
    int GetPos() const { return m_pos; }

private:
    void SyncWidget() const;

    int m_lower = 0;
    int m_upper = 100;
    int m_pos = 0;
};
