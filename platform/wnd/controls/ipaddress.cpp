#include "platform/wnd/controls/ipaddress.h"

#include <QLineEdit>
#include <QRegularExpressionValidator>

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
    BYTE fields[4] = {};
    int count = 0;
    int value = -1;
    for (int i = 0; i <= text.GetLength(); ++i) {
        const char c = i < text.GetLength() ? text[i] : '.';
        if (c >= '0' && c <= '9') {
            value = (value < 0 ? 0 : value * 10) + (c - '0');
            if (value > 255)
                return 0;
        } else if (c == '.' && value >= 0 && count < 4) {
            fields[count++] = static_cast<BYTE>(value);
            value = -1;
        } else {
            return 0;
        }
    }
    if (count != 4)
        return 0;
    field0 = fields[0];
    field1 = fields[1];
    field2 = fields[2];
    field3 = fields[3];
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
