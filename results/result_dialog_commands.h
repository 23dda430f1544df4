#pragma once
// The left pane's commands of the result dialogs: "Result View" (32780) and
// "Manager Result View" (32781). Their menu stays disabled; the handlers make
// the dialog with no parent, hand the Result View the pane's logged-in id,
// run it modally and delete it.

// Registers both handlers with the pane (shell/result_server_port.h); the
// program calls it before the frame is built.
void RegisterResultDialogCommands();
