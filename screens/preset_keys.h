#pragma once
// CPresetKeys: the preset key page of the work screen (hint 3). It owns the
// run-time controls of the page, children of the form under their ids: the
// 60 key edits 600-659, the hidden key-id edits 700-759 and the page combo
// 800. A key is checked and written when it loses the focus (EN_KILLFOCUS
// of 600-659), and the page is read again; there is no save command. A page
// chosen in the combo (CBN_SELCHANGE of 800) is read. The table bridge fills the keys
// (SetKey) and reads their ids (GetKeyId); the transfers and the
// synchronisation read the texts. It draws the sixth row's frame of the
// view's OnDraw.

#include <array>
#include <vector>

#include "platform/gdi/font.h"
#include "platform/wnd/controls/combobox.h"
#include "platform/wnd/controls/edit.h"
#include "platform/wnd/core/cmdtarget.h"
#include "screens/table_bridge.h"

class CDC;
class CWorkScreenDatabase;
class CWorkScreenState;

inline constexpr int kPresetKeyEdits = 60;

class CPresetKeys final : public CCmdTarget, public CPresetKeyPage {
public:
    explicit CPresetKeys(CWorkScreenState& screen, CWorkScreenDatabase& data);

    const MessageMap* GetMessageMap() const override;

    // Creates the key edits, the id edits and the page combo (once).
    void CreatePresetKeyEdits();
    // Shows (or hides) the keys of the model, the note 1145 and button 57607.
    void ShowPresetKeys(BOOL show);
    // Empties every key and id; the page becomes 0 until the next read.
    void ClearPresetKeys();
    // Places the page combo beside the keys, or hides it.
    void ShowPageCombo(BOOL show);
    // The page chosen in the combo becomes the page the reads and writes use.
    void TakeComboPage();
    [[nodiscard]] int GetPage() const override { return m_nPage; }
    // The combo's page once it exists, else the current page.
    [[nodiscard]] int GetComboPage() const;
    // 50 keys for model "1", else 60.
    [[nodiscard]] int GetKeyCount() const;
    // Every key's text, 60 entries (empty before the edits exist).
    [[nodiscard]] std::vector<CString> GetKeyTexts() const;
    // Where each line a key shows starts in its text, 60 entries (empty
    // before the edits exist).
    [[nodiscard]] std::vector<std::vector<int>> GetShownLineStarts() const;
    // Key number (1-60) filled from a read row, and its row id.
    void SetKey(int number, const CString& text, const CString& id) override;
    [[nodiscard]] CString GetKeyId(int number) const override;
    // While set, the sixth key row is framed on every repaint.
    void SetSheetFrame(BOOL framed) { m_bFramed = framed; }
    [[nodiscard]] BOOL HasSheetFrame() const { return m_bFramed; }
    // The font given to the key edits.
    [[nodiscard]] const CFont& GetKeyFont() const { return m_font; }
    void DrawSheetFrame(CDC* dc) const;

    // Checks and writes key keyIndex (0-59) as key keyNumber, then reads the
    // page again.
    void UpdatePresetKey(int keyIndex, int keyNumber);
    // 1 for a key whose first line is digits, 0 for an empty one, -1 else.
    [[nodiscard]] int CheckPresetKeyDigits(int keyIndex) const;
    // -1 (after saying so, with the focus on the key) at the first key that
    // fails, else 1.
    int CheckAllPresetKeyDigits();
    int CheckPresetItemNumbers();

private:
    // EN_KILLFOCUS of key id, CBN_SELCHANGE of the combo.
    void OnPresetKeyKillFocus(UINT id);
    void OnPresetPageChange();
    void ReadPage();

    CWorkScreenState& m_screen;
    CWorkScreenDatabase& m_data;
    std::array<CEdit, kPresetKeyEdits> m_keys; // IDC_PRESET_FIRST_KEY on
    std::array<CEdit, kPresetKeyEdits> m_keyIds; // IDC_PRESET_FIRST_KEY_ID on
    CFont m_font;
    CComboBox m_pageCombo; // IDC_PRESET_PAGE
    int m_nPage = 1;
    // "1" uses 50 keys; the model word is never changed.
    CString m_strModel = "2";
    BOOL m_bFramed = FALSE;
    // Set while a key is being checked and written (its message boxes move
    // the focus and would start the check again).
    int m_nBusy = 0;
};
