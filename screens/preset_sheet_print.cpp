// Printing: the preset-key sheet, a drawing of the scale's keyboard with the
// captions typed on the preset page, for the "PQ" (5 x 10 preset keys) or the
// "Q" model (6 x 10 preset keys and five columns of function keys). Sheet
// positions are in 1/600 inch and scaled to the printer's resolution.

#include "screens/preset_sheet_print.h"

#include <algorithm>
#include <cmath>

#include "db/mailbox_dlg.h"
#include "grid/grid_ctrl.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/font.h"
#include "platform/gdi/pen.h"
#include "platform/print/print_dialog.h"
#include "platform/print/print_info.h"
#include "screens/preset_sheet.h"
#include "screens/work_screen_context.h"
#include "shell/scale_dialogs.h"

namespace {

constexpr double kSheetDpi = 600.0;
constexpr COLORREF kSheetGray = RGB(127, 127, 127);
constexpr const char* kSheetFace = "굴림체";
// The key frames' pen, in device units at every resolution.
constexpr int kKeyPenWidth = 20;

// The function keys of the "Q" keyboard, rows 0 to 5, columns 10 to 14.
constexpr const char* kQFunctionKeys[30] = { " 설정", "원산지", " 메뉴", "SHIFT", "RESET", "  Ｘ", " 단가",
    " 정액", " 직전  취소", " 날짜  시간", "  7", "  8", "  9", " 용기", " 영점", "  4", "  5", "  6",
    " 자동  수동", " 이송", "  1", "  2", "  3", "○", " 호출", "  0", " 00", "  Ｃ", "○", " 발행" };

// The geometry of one model's sheet, in sheet units.
struct SheetGeometry {
    CRect outer;
    CRect second;
    int rows;
    int columns; // key columns, preset and function keys together
    int pitchX;
    int pitchY;
    int keyLeft;
    int keyTop;
    int keyWidth;
    int keyHeight;
    int corner;
    int fontHeight;
    int fontWidth;
    int textLeft;
    int textTops[kPresetSheetLines];
};

const SheetGeometry kPqSheet { CRect(100, 260, 4670, 2450), CRect(3200, 2450, 4300, 2900), 5, 10, 437, 425,
    280, 300, 437, 425, 90, 70, 45, 360, { 350, 440, 510, 590 } };
const SheetGeometry kQSheet { CRect(260, 260, 5950, 2620), CRect(2580, 2610, 3600, 3100), 6, 15, 376, 380,
    300, 300, 376, 380, 60, 60, 40, 380, { 350, 430, 510, 590 } };

// The captions of the Q sheet's function keys, columns 10 to 14.
void DrawQFunctionKeys(CDC* dc, const SheetGeometry& g, double scale)
{
    auto at = [scale](int units) { return static_cast<int>(std::lround(units * scale)); };
    int caption = 0;
    for (int r = 0; r < g.rows; ++r) {
        for (int c = 10; c < 15; ++c) {
            const PresetKeyLines lines = WrapPresetKeyText(kQFunctionKeys[caption++]);
            CFont keyFont;
            keyFont.CreateFont(at(85), at(53), 0, 0, 800, 0, 0, 0, 1, 0, 0, 0, 0, kSheetFace);
            CFont* previous = dc->SelectObject(&keyFont);
            dc->SetBkMode(TRANSPARENT);
            dc->TextOut(at(c * g.pitchX + 350), at(r * g.pitchY + 450), lines[0]);
            dc->TextOut(at(c * g.pitchX + 350), at(r * g.pitchY + 550), lines[1]);
            dc->SelectObject(previous);
        }
    }
}

} // namespace

BOOL CPresetSheetPrint::PrepareSheet(
    CWnd* owner, const std::vector<CString>& keyTexts, const std::vector<std::vector<int>>& shownLineStarts)
{
    for (std::size_t k = 0; k < m_presetTexts.size(); ++k) {
        m_presetTexts[k] = "";
        m_presetLines[k].fill(CString());
    }
    m_strPrintKind = "PresetPrint";
    m_strModelCode = "";
    CSelectModelDlg dialog(owner);
    if (dialog.DoModal() != IDOK)
        return FALSE;
    m_strModelCode = dialog.m_strModel;
    for (std::size_t k = 0; k < m_presetTexts.size() && k < keyTexts.size(); ++k) {
        m_presetTexts[k] = keyTexts[k];
        const bool shown = k < shownLineStarts.size() && !shownLineStarts[k].empty();
        m_presetLines[k] = WrapPresetKeyText(m_presetTexts[k], shown ? &shownLineStarts[k] : nullptr);
    }
    return TRUE;
}

void CPresetSheetPrint::Print(CDC* dc, CPrintInfo* info) const
{
    // The sheet is laid out for 600 dpi; other printers scale it by their
    // real ratio, so it keeps its size on paper.
    int dpi = 0;
    if (info && info->m_pPD)
        dpi = info->m_pPD->GetDevMode()->dmPrintQuality;
    if (dpi <= 0)
        dpi = dc->GetDeviceCaps(LOGPIXELSX);
    const double scale = dpi > 0 ? dpi / kSheetDpi : 1.0;
    if (m_strPrintKind == "PresetPrint")
        DrawPresetSheet(dc, info, m_strModelCode, scale);
}

void CPresetSheetPrint::DrawPresetSheet(CDC* dc, CPrintInfo*, const CString& model, double scale) const
{
    if (model != "PQ" && model != "Q")
        return;
    const bool q = model == "Q";
    const SheetGeometry& g = q ? kQSheet : kPqSheet;
    auto at = [scale](int units) { return static_cast<int>(std::lround(units * scale)); };
    auto roundRect = [&](const CRect& r, int corner) {
        dc->RoundRect(at(r.left), at(r.top), at(r.right), at(r.bottom), corner, corner);
    };

    const LOGBRUSH gray { BS_SOLID, kSheetGray, 0 };
    CPen framePen(PS_GEOMETRIC | PS_DASHDOT, 10, &gray);
    CPen keyPen(PS_GEOMETRIC | PS_SOLID, kKeyPenWidth, &gray);
    CPen* oldPen = dc->SelectObject(&framePen);
    roundRect(g.outer, 10);
    roundRect(g.second, 10);
    dc->SelectObject(&keyPen);
    for (int r = 0; r < g.rows; ++r) {
        for (int c = 0; c < g.columns; ++c) {
            const int left = c * g.pitchX + g.keyLeft;
            const int top = r * g.pitchY + g.keyTop;
            if (q && r >= 4 && c == 13) {
                // The double key of the last two rows ends the row.
                roundRect(CRect(left, top, c * g.pitchX + 1052, top + g.keyHeight), g.corner);
                break;
            }
            roundRect(CRect(left, top, left + g.keyWidth, top + g.keyHeight), g.corner);
        }
    }

    CFont presetFont;
    presetFont.CreateFont(at(g.fontHeight), at(g.fontWidth), 0, 0, 500, 0, 0, 0, 1, 0, 0, 0, 0, kSheetFace);
    CFont* oldFont = dc->SelectObject(&presetFont);
    for (int r = 0; r < g.rows; ++r) {
        for (int c = 0; c < 10; ++c) {
            const PresetKeyLines& lines = m_presetLines[static_cast<std::size_t>(r * 10 + c)];
            const int left = at(c * g.pitchX + g.textLeft);
            // From the text's left to the inside of the key's right edge.
            const int room = at(c * g.pitchX + g.keyLeft + g.keyWidth) - kKeyPenWidth / 2 - left;
            for (int l = 0; l < kPresetSheetLines; ++l) {
                const CString& line = lines[static_cast<std::size_t>(l)];
                const int top = at(r * g.pitchY + g.textTops[l]);
                const int width = dc->GetTextExtent(line).cx;
                if (width <= room) {
                    dc->TextOut(left, top, line);
                    continue;
                }
                // A line the key on screen holds is narrowed until it fits
                // its key here too.
                for (int narrowed = at(g.fontWidth) * room / width; narrowed > 0; --narrowed) {
                    CFont narrow;
                    narrow.CreateFont(
                        at(g.fontHeight), narrowed, 0, 0, 500, 0, 0, 0, 1, 0, 0, 0, 0, kSheetFace);
                    dc->SelectObject(&narrow);
                    const bool fits = narrowed == 1 || dc->GetTextExtent(line).cx <= room;
                    if (fits)
                        dc->TextOut(left, top, line);
                    dc->SelectObject(&presetFont);
                    if (fits)
                        break;
                }
            }
        }
    }

    if (q)
        DrawQFunctionKeys(dc, g, scale);
    dc->SelectObject(oldFont);
    dc->SelectObject(oldPen);
}
