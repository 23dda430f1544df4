#include "platform/wnd/controls/ipaddress.h"

#include <QLineEdit>
#include <QRegularExpressionValidator>

#include "platform/net/dotted_address.h"
#include "platform/wnd/core/internal/wnd_internal.h"

namespace {

QWidget* MakeIpAddress(HWND hwnd, QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    edit->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9.]{0,15}"), edit));
    QObject::connect(edit, &QLineEdit::textEdited, edit,
        [hwnd](const QString& text) { ::SetWindowText(hwnd, text.toUtf8().constData()); });
    return edit;
}

bool RegisterIpAddress()
{
    static const bool registered = [] {
        wnd_internal::RegisterWidgetFactory("SysIPAddress32", &MakeIpAddress);
        wnd_internal::RegisterControlObjectFactory(
            "SysIPAddress32", []() -> CWnd* { return new CIPAddressCtrl; });
        return true;
    }();
    return registered;
}

const bool kIpAddressRegistered = RegisterIpAddress();

} // namespace

CIPAddressCtrl::CIPAddressCtrl()
{
    (void)kIpAddressRegistered;
    RegisterIpAddress();
}

BOOL CIPAddressCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    (void)kIpAddressRegistered;
    RegisterIpAddress();
    return CWnd::Create("SysIPAddress32", nullptr, style | WS_CHILD, rect, parent, id);
}

int CIPAddressCtrl::GetAddress(BYTE& field0, BYTE& field1, BYTE& field2, BYTE& field3) const
{
    CString text;
    GetWindowText(text);
    const std::optional<DottedQuad> quad = ParseDottedQuad(text.View());
    if (!quad)
        return 0;
    field0 = (*quad)[0];
    field1 = (*quad)[1];
    field2 = (*quad)[2];
    field3 = (*quad)[3];
    return 4;
}

void CIPAddressCtrl::SetAddress(BYTE field0, BYTE field1, BYTE field2, BYTE field3)
{
    SetWindowText(CString::Formatted("%u.%u.%u.%u", field0, field1, field2, field3));
}

BOOL CIPAddressCtrl::IsBlank() const
{
    CString text;
    GetWindowText(text);
    text.Remove('.');
    text.Trim();
    return text.IsEmpty() ? TRUE : FALSE;
}
