#pragma once
// CDefaultValueDlg (dialog 214): a manager's default values for new items
// (mode 0, "Default Value Setup") or the values that Information Change
// writes into every item of the manager (mode 1). OK writes the settings
// files (manager_settings.h) and returns IDOK; a refused field or a failed
// write keeps the dialog open.

#include <array>

#include "db/item_schema.h"
#include "resources/calvorn_ids.h"
#include "shell/dialog_helpers.h"

// One of the fifteen item fields of the dialog, in the order of their columns
// (kItemValueColumns): its check box and edit. The test Default Value Setup
// runs when it is ticked is its column's (db/item_columns.h).
struct DefaultValueField {
    int box;
    int edit;
};
extern const std::array<DefaultValueField, kItemValueCount> kDefaultValueFields;

class CDefaultValueDlg : public CIconOkCancelDlg {
public:
    static constexpr int kModeDefaultValue = 0;
    static constexpr int kModeInformationChange = 1;

    explicit CDefaultValueDlg(CWnd* parent = nullptr);

    const MessageMap* GetMessageMap() const override;
    BOOL OnInitDialog() override;
    void OnOK() override;

    void OnMasterCheck();
    // 1 when every test of a ticked field passes (or the master box is not
    // ticked), else 0; each failure shows its message and takes the focus.
    int ValidateFields();
    void EnableFields(BOOL enable);
    // 1 when the manager's default values are on.
    int ReadDefaultValueFile();
    // Ticks and fills the fields named in the check-value file.
    void LoadDefaultCheckValues();
    BOOL MakeDirectoryPath(const CString& path);

    int m_nMode = kModeDefaultValue;
    CString m_strUserId;

private:
    BOOL IsTicked(int box) const;
    // Writes the value and index files of the ticked fields; FALSE (after a
    // message) when a file could not be written.
    BOOL WriteValueFiles(const char* valueStem, const char* indexStem);
};
