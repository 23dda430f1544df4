#include "screens/comm_settings.h"

CString CCommSettings::ModeText() const
{
    switch (m_nMode) {
    case kEthernet:
        return "Ethernet";
    case kSerial:
        return "Serial";
    default:
        return "";
    }
}
