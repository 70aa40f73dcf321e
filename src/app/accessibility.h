#pragma once

// Gives the program's frameless top-level windows the window role, so screen readers and UI
// automation list them as windows rather than as anonymous panes.
void installAccessibleWindowRoles();
