#pragma once
// CWorkScreenPanels: the button groups of the work screen's panels that its
// parts enable and grey (their ids are in the view's layout only). UI thread.

#include "platform/base/types.h"

class CWorkScreenPanels {
public:
    // Insert 1007, Delete 1008 and Synchronization 1065.
    virtual void EnableEditButtons(BOOL enable) = 0;
    // The item transfers 1009/1010/1001/1002, the scale settings'
    // 1025/1027/1029, and the stop 1030.
    virtual void EnableItemTransButtons(BOOL enable) = 0;
    virtual void EnableScaleTransButtons(BOOL enable) = 0;
    virtual void EnableTransStopButton(BOOL enable) = 0;

protected:
    ~CWorkScreenPanels() = default;
};
