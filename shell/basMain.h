#pragma once

class frmMain;

// The one main window; set by Main before the window loads, never cleared.
extern frmMain* g_frmMain;

// Start-up: the splash window while the main window is created and loaded,
// then the main window, with no document window open.
void Main();
