#pragma once
// The controls of the work screen's panels, each declared once by the part
// that owns it (PanelControl: id, group, caption), and CWorkScreenPanels: the
// button groups its parts enable and grey. UI thread.

#include <initializer_list>

#include "platform/base/types.h"

// The control groups of the panels. The preset keys and the scale register
// are their parts' run-time controls, shown through those parts.
enum class PanelGroup {
    SyncTables, // Synchronization 1065 of the table screens
    SyncPreset, // Synchronization 1066 of the preset and user label screens
    Edit, // the rows' and the item transfers' buttons with their frames
    ScaleData, // the preset page's transfers
    Result, // the sales-total buttons
    Progress, // the progress text and lamps with their frame
    ScaleInfo, // the scale settings screens' buttons
    Users, // the managers' list and buttons
    UserLabel, // the user labels' buttons
    PresetKeys,
    ScaleRegister,
};

// A set of groups (or of other enumerators), one bit each.
using PanelGroups = unsigned;

template <class E> [[nodiscard]] constexpr unsigned Bits(std::initializer_list<E> values)
{
    unsigned bits = 0;
    for (E value : values)
        bits |= 1u << static_cast<unsigned>(value);
    return bits;
}

[[nodiscard]] constexpr PanelGroups Groups(std::initializer_list<PanelGroup> groups)
{
    return Bits(groups);
}

[[nodiscard]] constexpr bool HasGroup(PanelGroups groups, PanelGroup group)
{
    return (groups & Groups({ group })) != 0;
}

// A control of a panel; caption nullptr keeps the template's text.
struct PanelControl {
    int id;
    PanelGroup group;
    const char* caption;
};

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
