#include "transfer/comm_settings.h"

#include <algorithm>

std::optional<Transport> TransportOfEntry(int index)
{
    if (index == EntryOfTransport(Transport::Ethernet))
        return Transport::Ethernet;
    if (index == EntryOfTransport(Transport::Serial))
        return Transport::Serial;
    return std::nullopt;
}

int EntryOfTransport(std::optional<Transport> mode)
{
    return mode ? static_cast<int>(*mode) : -1;
}

CString CCommSettings::ModeText() const
{
    if (!m_mode)
        return "";
    return *m_mode == Transport::Serial ? "Serial" : "Ethernet";
}

void CCommSettings::SelectMode(std::optional<Transport> mode)
{
    m_mode = mode;
    Changed();
}

void CCommSettings::SelectPort(int index)
{
    m_nPort = index >= 0 && index < 8 ? index : -1;
    Changed();
}

void CCommSettings::InsertRegistered(int index, const CString& line)
{
    const auto at = index < 0 || index > static_cast<int>(m_registered.size())
        ? m_registered.size()
        : static_cast<std::size_t>(index);
    m_registered.insert(m_registered.begin() + static_cast<std::ptrdiff_t>(at), line);
    Changed();
}

void CCommSettings::ClearRegistered()
{
    m_registered.clear();
    Changed();
}

void CCommSettings::AddChosen(const CString& line)
{
    if (std::find(m_scales.begin(), m_scales.end(), line) != m_scales.end())
        return;
    m_scales.push_back(line);
    Changed();
}

void CCommSettings::RemoveChosen(int index)
{
    if (index < 0 || index >= static_cast<int>(m_scales.size()))
        return;
    m_scales.erase(m_scales.begin() + index);
    Changed();
}

void CCommSettings::ClearChosen()
{
    m_scales.clear();
    Changed();
}

void CCommSettings::SetChosen(std::vector<CString> lines)
{
    m_scales = std::move(lines);
    Changed();
}

void CCommSettings::SetChoice(const Choice& choice)
{
    if (choice.mode != m_mode)
        m_registered.clear();
    m_mode = choice.mode;
    m_nPort = choice.port;
    m_scales = choice.chosen;
    Changed();
}

void CCommSettings::Changed()
{
    if (m_listener)
        m_listener();
}
