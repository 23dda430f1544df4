#pragma once
// CPresetSheetPrint: the work screen's printing. The screen switch sets the
// print kind; the Print button (57607) takes the key texts, asks for the
// scale model ("PQ" or "Q") and the view's print run then draws the
// preset-key sheet, a drawing of the scale's keyboard with the keys' texts.

#include <array>
#include <vector>

#include "platform/base/cstring.h"
#include "screens/preset_sheet.h"

class CDC;
class CPrintInfo;
class CWnd;

class CPresetSheetPrint {
public:
    CPresetSheetPrint() = default;
    CPresetSheetPrint(const CPresetSheetPrint&) = delete;
    CPresetSheetPrint& operator=(const CPresetSheetPrint&) = delete;

    void SetPrintKind(const CString& kind) { m_strPrintKind = kind; }
    [[nodiscard]] const CString& GetPrintKind() const { return m_strPrintKind; }
    // The Print command's first steps: the sheet's texts emptied, the kind
    // "PresetPrint", the model asked for (dialog owned by owner), then the
    // key texts broken into their lines where the keys on screen break them
    // (shownLineStarts, per key; a key without them at six bytes). FALSE when
    // the model was not chosen.
    [[nodiscard]] BOOL PrepareSheet(CWnd* owner, const std::vector<CString>& keyTexts,
        const std::vector<std::vector<int>>& shownLineStarts = {});
    // Draws what the print kind names, at the printer's resolution.
    void Print(CDC* dc, CPrintInfo* info) const;
    void DrawPresetSheet(CDC* dc, CPrintInfo* info, const CString& model, double scale) const;

private:
    CString m_strPrintKind;
    // The model code ("PQ", "Q"), the key texts and their lines.
    CString m_strModelCode;
    std::array<CString, 60> m_presetTexts;
    std::array<PresetKeyLines, 60> m_presetLines;
};
