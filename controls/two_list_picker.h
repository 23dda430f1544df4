#pragma once
// CTwoListPicker: the moves of a two-list picker, lines taken from a list of
// candidates into a list of chosen lines (Select, Remove, Select all). The
// dialog owns both lists and routes its buttons here. UI thread.

#include <vector>

#include "platform/base/cstring.h"

class CListBox;

class CTwoListPicker {
public:
    // Where Select puts the candidate among the chosen lines.
    enum class Place { End, Top };

    // Both lists must outlive the picker.
    CTwoListPicker(CListBox& candidates, CListBox& chosen);
    CTwoListPicker(const CTwoListPicker&) = delete;
    CTwoListPicker& operator=(const CTwoListPicker&) = delete;

    // The selected candidate; FALSE when none is selected.
    BOOL GetCandidate(CString& line) const;
    // The selected candidate added to the chosen lines; FALSE when none is
    // selected.
    BOOL Select(Place place);
    // The selected chosen line deleted; FALSE when none is selected.
    BOOL Remove();
    // Every candidate chosen, in order (all), or none.
    void SelectAll(BOOL all);
    // The chosen lines, in order.
    [[nodiscard]] std::vector<CString> GetChosen() const;

private:
    CListBox& m_candidates;
    CListBox& m_chosen;
};
