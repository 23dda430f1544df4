#pragma once
// What the shell needs of the work screen in the upper right pane
// (CKindOfView, screens/): the flag that enables the screen's own
// Communication Setup command, and its item database worker. The shell finds
// the work screen classes by name ("CKindOfView", "CUserLabelView"), which the
// program registers (AfxRegisterRuntimeClass) before the frame is built.

class CItemDbWorker;

inline constexpr const char* kWorkScreenClassName = "CKindOfView";
inline constexpr const char* kUserLabelViewClassName = "CUserLabelView";

class CWorkScreen {
public:
    // Sets the flag that enables the screen's command 32773 while nonzero.
    virtual void SetCommSetupFlag(int flag) = 0;
    virtual int GetCommSetupFlag() const = 0;
    // The screen's item database worker (nullptr when it has none).
    virtual CItemDbWorker* GetItemWorker() = 0;
    // The transfers to and from the scales running now.
    virtual int GetTransferActive() const = 0;
    // Another file was put in place of the screen's item database: a table
    // screen reads its rows again from it (once the current command ends).
    virtual void LoadStoreAgain() = 0;

protected:
    ~CWorkScreen() = default;
};
