#pragma once
// CItemDefaults: the manager's item default values, read from the manager's
// settings files whenever asked. The switch file says whether they are in
// force; the unchecked columns make the Item screen's column list and tell
// the table bridge which columns the grid leaves out; the check values fill
// a new item row. The screen switch (column list), the rows, the table
// bridge, the synchronisation and the transfers ask.

#include <vector>

#include "platform/base/cstring.h"

class CWorkScreenState;

class CItemDefaults {
public:
    explicit CItemDefaults(CWorkScreenState& screen);
    CItemDefaults(const CItemDefaults&) = delete;
    CItemDefaults& operator=(const CItemDefaults&) = delete;

    // 1 while the logged-in manager's default values are in force, else 0.
    [[nodiscard]] int LoadDefaultValues() const;
    // "[name], ... [ID]" of the unchecked columns, "" for none.
    [[nodiscard]] CString BuildItemColumnList() const;
    // Reads the unchecked columns (entry 2(k-1) for item field k, "-1" else)
    // and the check values ((name, value) at entries 2(k-1), 2(k-1)+1).
    void LoadUncheckIndex();
    void LoadCheckValues();
    [[nodiscard]] const std::vector<CString>& GetUncheckColumns() const { return m_defaultColumns; }
    [[nodiscard]] const std::vector<CString>& GetCheckValues() const { return m_defaultValues; }

private:
    CWorkScreenState& m_screen;
    // 50 entries of (name, value) each.
    std::vector<CString> m_defaultColumns;
    std::vector<CString> m_defaultValues;
};
