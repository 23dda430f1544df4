#pragma once
// CResultScreens: what the work screen's four sales-total screens do beyond
// their handlers: the start of a receive or clear over TCP (CResultLoop) or
// RS-232 (CSerialTransfer, scale by scale), refused while one runs, and the
// accumulation, which waits for the reload's done message before it moves the
// rows. UI thread only.

#include <memory>
#include <optional>

#include "platform/base/cstring.h"
#include "platform/base/types.h"

class CKindOfView;
class CResultLoop;

inline constexpr const char* kResultLoopBusyText = "A transfer is still running. Wait until it ends.";

class CResultScreens {
public:
    explicit CResultScreens(CKindOfView& view);
    ~CResultScreens();
    CResultScreens(const CResultScreens&) = delete;
    CResultScreens& operator=(const CResultScreens&) = delete;

    // Receive (clear FALSE) or clear every scale of the list: the request
    // word, the clear flag and the open database are taken here once.
    void StartLoop(const CString& requestWord, BOOL clear);
    // TRUE while a receive or clear runs on either transport.
    BOOL IsLoopRunning() const;
    // The TCP loop (made once the transports exist), or nullptr.
    CResultLoop* Loop();

    // After the question was answered Yes: the summary database is made when
    // empty, then the rows move once the reload has ended.
    void Accumulate();
    // The done message of a sales-total load.
    void OnLoadDone();

private:
    struct Import {
        CString source;
        CString word;
        CString userId;
    };
    void StartSerial(const CString& word, BOOL clear);
    void RunImport(const Import& import);

    CKindOfView& m_view;
    std::unique_ptr<CResultLoop> m_pLoop;
    std::optional<Import> m_pending;
};
