#pragma once
// CWorkScreenContext: the whole of what the work screen gives its parts, one
// interface per concern: its own words, lock and load start
// (CWorkScreenState), the grid with its clicks and picks (CWorkScreenGrid),
// the panels' button groups (CWorkScreenPanels) and the database side
// (CWorkScreenDatabase). CKindOfView implements it; each part takes only the
// interfaces it uses and never sees CKindOfView. The tests reach all four
// through CKindOfView::Context(). UI thread.

#include "screens/work_screen_database.h"
#include "screens/work_screen_grid.h"
#include "screens/work_screen_panels.h"
#include "screens/work_screen_state.h"

class CWorkScreenContext : public CWorkScreenState,
                           public CWorkScreenGrid,
                           public CWorkScreenPanels,
                           public CWorkScreenDatabase {
protected:
    ~CWorkScreenContext() = default;
};
