#pragma once
// CWorkScreenContext: what the work screen itself gives its parts, one
// interface per concern: its own words, lock and load start
// (CWorkScreenState), the grid with its clicks and picks (CWorkScreenGrid)
// and the database side (CWorkScreenDatabase). CKindOfView implements it;
// each part takes only the interfaces it uses and never sees CKindOfView.
// The panels' button groups (CWorkScreenPanels) are the layout's
// (screens/work_screen_layout.h). The tests reach the three through
// CKindOfView::Context(). UI thread.

#include "screens/work_screen_database.h"
#include "screens/work_screen_grid.h"
#include "screens/work_screen_state.h"

class CWorkScreenContext : public CWorkScreenState, public CWorkScreenGrid, public CWorkScreenDatabase {
protected:
    ~CWorkScreenContext() = default;
};
