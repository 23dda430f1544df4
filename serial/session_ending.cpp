#include "serial/session_ending.h"

#include <initializer_list>

#include "protocol/serial_words.h"
#include "serial/table_routes.h"

using W = SerialWord;

void CSessionEnding::Start()
{
    m_nAcked = 0;
    m_strHow.Empty();
    m_strShortScales.Empty();
}

void CSessionEnding::NoteAccepted(const CString& step, int index)
{
    if (FindRoute(RouteStep::Data, step))
        m_nAcked = index;
    else if (FindRoute(RouteStep::SelectData, step))
        m_nAcked = index + 1;
    else if (IsOneOf(step, { W::PreData, W::SelectScaleInformation, W::SelectScaleRootInformation }))
        m_nAcked = 1;
}

void CSessionEnding::NoteShort(const CString& scale, const CString& what)
{
    m_strShortScales += (m_strShortScales.IsEmpty() ? "" : ", ") + scale + " " + what;
}

CString CSessionEnding::Text(const CString& how, bool reading, int total, const CString& stored) const
{
    const CString scale = m_pWalk->GetBroadcastFlag()
        ? CString::Formatted("Broadcast to %d scales", m_pWalk->GetBroadcastCount())
        : m_pWalk->GetCurrentScaleLabel();
    return reading ? CString::Formatted("%s: %s, receive incomplete: %s.", scale, how, stored)
                   : CString::Formatted("%s: %s, %d of %d records sent.", scale, how, m_nAcked, total);
}

CString CSessionEnding::Complete(bool reading, bool totalsClear, int total, const CString& stored) const
{
    if (reading)
        return Named("Trans Complete, " + stored + ".");
    if (totalsClear)
        return m_pWalk->GetCurrentScaleLabel() + ": Trans Complete";
    return Text("Trans Complete", false, total, stored);
}

CString CSessionEnding::Named(const CString& text) const
{
    return m_pWalk->GetScaleCount() > 1 ? m_pWalk->GetCurrentScaleLabel() + ": " + text : text;
}

const char* CSessionEnding::RefusalText(const CString& step, bool broadcast)
{
    struct Refusal {
        SerialWord word;
        SerialWord broadcastWord;
        const char* text;
    };
    static constexpr Refusal kRefusals[] = {
        { W::MemoryFull, W::BroadMemoryFull, "scale memory full" },
        { W::DataLengthMiss, W::BroadDataLengthMiss, "scale data length error" },
        { W::ProcessError, W::BroadProcessError, "scale process error" },
    };
    for (const Refusal& refusal : kRefusals) {
        if (step == (broadcast ? refusal.broadcastWord : refusal.word))
            return refusal.text;
    }
    return nullptr;
}
