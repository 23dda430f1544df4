#include "tests/serial/serial_screen.h"

#include <algorithm>

SerialScreen::SerialScreen()
{
    CreateEx(0, nullptr, "Serial screen", 0, CRect(0, 0, 0, 0), nullptr, 0);
    m_transfer = std::make_unique<CSerialTransfer>(this);
    m_presetKeys.resize(60);
}

SerialScreen::~SerialScreen()
{
    m_transfer.reset();
    DestroyWindow();
}

const MessageMap* SerialScreen::GetMessageMap() const
{
    static const MessageMap kMap(CWnd::GetMessageMap(),
        {
            OnWm<WM_TIMER, &SerialScreen::OnTimer>(),
            OnMessage<&SerialScreen::OnPortOpened>(WM_SERIAL_PORT_OPENED),
            OnMessage<&SerialScreen::OnPortOpenFailed>(WM_SERIAL_PORT_OPEN_FAILED),
            OnMessage<&SerialScreen::OnSessionEnd>(WM_SERIAL_SESSION_END),
            OnMessage<&SerialScreen::OnSessionEnd>(WM_SERIAL_SESSION_ERROR),
        });
    return &kMap;
}

void SerialScreen::OnTimer(UINT_PTR id)
{
    if (id == kSerialReplyTimer)
        m_transfer->OnSerialReplyTimeout();
}

LRESULT SerialScreen::OnPortOpened(WPARAM, LPARAM)
{
    return m_transfer->OnSerialPortOpened();
}

LRESULT SerialScreen::OnPortOpenFailed(WPARAM, LPARAM)
{
    return m_transfer->OnSerialPortOpenFailed();
}

LRESULT SerialScreen::OnSessionEnd(WPARAM, LPARAM)
{
    return m_transfer->OnSerialSessionEnd();
}

CString SerialScreen::GetSerialText(int id)
{
    const auto it = m_mailbox.find(id);
    return it == m_mailbox.end() ? CString() : it->second;
}

void SerialScreen::SetSerialText(int id, const CString& text)
{
    m_mailbox[id] = text;
}

CString SerialScreen::GetGridItemText(int row, int column)
{
    if (row < 0 || row >= static_cast<int>(m_grid.size()))
        return "";
    const auto& cells = m_grid[static_cast<std::size_t>(row)];
    if (column < 0 || column >= static_cast<int>(cells.size()))
        return "";
    return cells[static_cast<std::size_t>(column)].c_str();
}

std::vector<CString> SerialScreen::GetPresetKeyTexts()
{
    std::vector<CString> keys;
    for (const std::string& key : m_presetKeys)
        keys.emplace_back(key.c_str());
    return keys;
}

void SerialScreen::NoteReceivedRecord(const CString& request, const CString& sql)
{
    m_notes.emplace_back(request.GetString(), sql.GetString());
}

CString SerialScreen::MakeReceivedDataPath(const CString& scaleId)
{
    const std::string name
        = std::string(scaleId.GetString()) + "-" + std::to_string(m_receivedPaths.size()) + ".mdb";
    const std::string path = m_folder.File(name);
    m_receivedPaths.emplace_back(scaleId.GetString(), path);
    return path.c_str();
}

BOOL SerialScreen::MakeReceivedDatabase(const CString& path)
{
    const std::filesystem::path file(path.GetString());
    if (std::filesystem::exists(file))
        return TRUE;
    m_folder.FromTemplate(150, file.filename().string());
    return TRUE;
}

void SerialScreen::StartWalk(TransferOrder order)
{
    order.rows = TakeOrderRows(*this, order, m_columns);
    m_transfer->Start(order);
}

void SerialScreen::SetDataRows(const std::vector<std::vector<std::string>>& rows)
{
    std::size_t width = 0;
    for (const auto& r : rows)
        width = std::max(width, r.size());
    m_columns = static_cast<int>(width + 1);
    m_grid.clear();
    m_grid.emplace_back(width + 1, "title");
    for (const auto& r : rows) {
        std::vector<std::string> cells { "row" };
        cells.insert(cells.end(), r.begin(), r.end());
        m_grid.push_back(std::move(cells));
    }
    m_grid.emplace_back(width + 1, "");
}
