#pragma once
// Makes the work screen classes known to the shell by name (the right
// container creates its panes from them). Call once before the frame is built.
void RegisterWorkScreens();
