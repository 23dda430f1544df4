#include "controls/two_list_picker.h"

#include "platform/wnd/controls/listbox.h"

CTwoListPicker::CTwoListPicker(CListBox& candidates, CListBox& chosen)
    : m_candidates(candidates)
    , m_chosen(chosen)
{ }

BOOL CTwoListPicker::GetCandidate(CString& line) const
{
    return m_candidates.GetText(m_candidates.GetCurSel(), line) == LB_ERR ? FALSE : TRUE;
}

BOOL CTwoListPicker::Select(Place place)
{
    CString line;
    if (!GetCandidate(line))
        return FALSE;
    if (place == Place::Top)
        m_chosen.InsertString(0, line);
    else
        m_chosen.AddString(line);
    return TRUE;
}

BOOL CTwoListPicker::Remove()
{
    const int selected = m_chosen.GetCurSel();
    if (selected < 0)
        return FALSE;
    m_chosen.DeleteString(static_cast<UINT>(selected));
    return TRUE;
}

void CTwoListPicker::SelectAll(BOOL all)
{
    m_chosen.ResetContent();
    if (!all)
        return;
    CString line;
    for (int i = 0; i < m_candidates.GetCount(); ++i) {
        m_candidates.GetText(i, line);
        m_chosen.AddString(line);
    }
}

std::vector<CString> CTwoListPicker::GetChosen() const
{
    std::vector<CString> lines(static_cast<std::size_t>(m_chosen.GetCount()));
    for (int i = 0; i < m_chosen.GetCount(); ++i)
        m_chosen.GetText(i, lines[static_cast<std::size_t>(i)]);
    return lines;
}
