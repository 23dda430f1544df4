#pragma once
// CWorkScreenState: the work screen's own words as its parts see them: the
// form window, the language, the kind word and hint of the screen shown and
// the data kinds parsed from them, the logged-in manager, the update lock
// and the load starter. UI thread.

#include <functional>
#include <optional>

#include "platform/base/cstring.h"
#include "platform/base/types.h"
#include "protocol/data_kinds.h"

class CWnd;

class CWorkScreenState {
public:
    // The form (template 130): parent of the parts' dialogs and run-time
    // controls, owner of their timers, target of their messages.
    virtual CWnd& Form() = 0;
    // 1 selects the Korean texts, 2 and 3 the English ones.
    virtual int Language() const = 0;

    // The kind word of the screen shown ("Item", "Scale_Info" ...) and its
    // hint (screen number); the left pane's switch sets them (a test sets
    // them alone).
    virtual CString Kind() const = 0;
    virtual void SetKind(const CString& kind) = 0;
    // The data kind the kind word names, parsed when the word is set; none
    // for a word that names none ("Scale_reg", "Mg_Reg_Read", "").
    virtual std::optional<DataKind> ScreenKind() const = 0;
    virtual int Hint() const = 0;
    virtual void SetHint(int hint) = 0;
    // The data kind the hint's screen shows, parsed when the hint is set;
    // none for a screen of no data kind. The word and the hint part at
    // times (a database change keeps the word; the communication setup sets
    // the hint from the word): the grid's edits, rows and synchronisation
    // and the set-up of a sales-total screen follow the hint; the
    // transfers, the scale settings and the totals' reload, receive and
    // move follow the word.
    virtual std::optional<DataKind> HintKind() const = 0;
    // The logged-in manager; the automatic log-in makes the administrator
    // the logged-in manager.
    virtual CString UserId() const = 0;
    virtual void SetUserId(const CString& userId) = 0;
    virtual void SignInAdministrator() = 0;

    // While set, the screen switch drops the left pane's hints.
    virtual int GetUpdateLock() const = 0;
    virtual void SetUpdateLock(int lock) = 0;
    // Runs start; when it throws, says why, clears the lock and mailbox and
    // returns FALSE.
    virtual BOOL StartLoad(const std::function<void()>& start) = 0;

protected:
    ~CWorkScreenState() = default;
};
