#pragma once
// CResultScreens: the commands of the work screen's four sales-total
// screens, Result Receive (1050), Result Clear (1051), Reload Result (1052)
// and Result DB Sum (1057), with their buttons: the start of a receive or clear over TCP (the transfer
// glue's loop, one scale after the other) or RS-232 (the glue's serial walk,
// scale by scale), refused while one runs, and the accumulation, which waits
// for the reload's done message before it moves the rows. It knows the
// screen through its state, grid and database interfaces, reads the
// communication settings of CScaleScreens and starts the exchanges through
// CResultExchange (the transfer glue).
// UI thread only.

#include <optional>

#include <span>

#include "controls/xp_button.h"
#include "platform/base/cstring.h"
#include "platform/base/types.h"
#include "platform/wnd/core/cmdtarget.h"
#include "protocol/data_kinds.h"
#include "screens/work_screen_panels.h"

class CDataExchange;
class CResultExchange;
class CTransferHosts;
class CScaleScreens;
class CWorkScreenDatabase;
class CWorkScreenGrid;
class CWorkScreenState;

inline constexpr const char* kResultLoopBusyText = "A transfer is still running. Wait until it ends.";

class CResultScreens : public CCmdTarget {
public:
    CResultScreens(CWorkScreenState& screen, CWorkScreenGrid& grid, CWorkScreenDatabase& data,
        CScaleScreens& scales, CResultExchange& exchange, CTransferHosts& hosts);

    const MessageMap* GetMessageMap() const override;
    // Binds the four buttons of template 130.
    void DoDataExchange(CDataExchange* dx);
    // The panel controls it owns, with their groups and captions.
    static std::span<const PanelControl> PanelControls();

    // Receive (clear FALSE) the read kind or clear every scale of the list:
    // the kind, the clear flag and the open database are taken here once.
    void StartLoop(std::optional<DataKind> read, BOOL clear);
    // TRUE while a receive or clear runs on either transport.
    [[nodiscard]] BOOL IsLoopRunning() const;

    // After the question was answered Yes: the summary database is made when
    // empty, then the rows move once the reload has ended.
    void Accumulate();
    // The done message of a sales-total load.
    void OnLoadDone();

    // Empties the grid and reads the screen's totals again; FALSE (after
    // saying so) while another load runs.
    BOOL ReloadResults();
    // Loads the totals of a sales-total read.
    void RequestResults(DataKind read);

private:
    void OnReceive();
    void OnClear();
    void OnReload();
    void OnAccumulate();

    struct Import {
        CString source;
        std::optional<DataKind> read;
        CString userId;
    };
    void RunImport(const Import& import);

    CWorkScreenState& m_screen;
    CWorkScreenGrid& m_grid;
    CWorkScreenDatabase& m_data;
    CScaleScreens& m_scales;
    CResultExchange& m_exchange;
    CTransferHosts& m_hosts;
    std::optional<Import> m_pending;
    CXPButton m_btnReceive;
    CXPButton m_btnClear;
    CXPButton m_btnReload;
    CXPButton m_btnSum;
};
