#pragma once
// CCassetteDlg (dialog 137 "Casette"): the six cassette values in tenths of
// a millimetre, checked rule by rule on OK.

#include "labeltool/bitmap_picture.h"
#include "labeltool/cassette.h"
#include "platform/wnd/dialogs/dialog.h"
#include "resources/tarnel_ids.h"

class CCassetteDlg : public CDialog {
public:
    static constexpr UINT IDD = IDD_CASSETTE;

    CCassetteDlg(const CassetteGeometry& cassette, CWnd* parent = nullptr);

    void DoDataExchange(CDataExchange* dx) override;
    // Every failed rule shows its box; the dialog closes only when all pass.
    void OnOK() override;

    // The values chosen, in dots.
    CassetteGeometry GetCassette() const { return CassetteFromTenths(m_tenths); }

    CassetteTenths m_tenths;

private:
    CBitmapPicture m_picture { 138 };
};
