#pragma once

#include <QStringList>

class frmMain;

// The one main window; set by Main before the window loads, never cleared.
extern frmMain* g_frmMain;

// Start-up: the splash window while the main window is created and loaded,
// then the main window, with no document window open; then the document
// files named on the command line, each in a window of its own.
void Main(const QStringList& strFiles = {});
