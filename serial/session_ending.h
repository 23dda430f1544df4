#pragma once
// CSessionEnding: how a scale link session ended and how far it got: the
// records the scale accepted, why a session that did not go through ended,
// and the texts of its ending box, each naming its scale (or the broadcast)
// and the count. UI thread only.

#include "platform/base/cstring.h"
#include "serial/serial_walk_state.h"

class CSessionEnding {
public:
    void SetWalk(const CSerialWalkState* walk) { m_pWalk = walk; }
    // A session starts: nothing accepted, nothing gone wrong.
    void Start();

    // Why the session did not go through ("Trans Stopped", "Trans Failed (...)").
    void SetHow(const CString& how) { m_strHow = how; }
    const CString& How() const { return m_strHow; }
    bool WentThrough() const { return m_strHow.IsEmpty(); }

    // The records the scale has accepted, once step's report is an
    // acceptance; index: the session's record index.
    void NoteAccepted(const CString& step, int index);
    int Accepted() const { return m_nAcked; }
    // A broadcast's scale whose status did not confirm every record, and why.
    void NoteShort(const CString& scale, const CString& what);
    const CString& ShortScales() const { return m_strShortScales; }

    // "<scale>: <how>, <n> of <total> records sent." or, reading, "<scale>:
    // <how>, receive incomplete: <stored>."
    CString Text(const CString& how, bool reading, int total, const CString& stored) const;
    // The end of a session that went through.
    CString Complete(bool reading, bool totalsClear, int total, const CString& stored) const;
    // text, named by its scale in a walk over several scales.
    CString Named(const CString& text) const;
    // The message of a scale's refusal step ("MEMORY FULL", or "BROAD MEMORY
    // FULL" in a broadcast ...), or nullptr.
    static const char* RefusalText(const CString& step, bool broadcast);

private:
    const CSerialWalkState* m_pWalk = nullptr;
    int m_nAcked = 0; // records the scale accepted
    CString m_strHow; // how a session that did not go through ended
    CString m_strShortScales; // joined scales whose status did not confirm every record
};
