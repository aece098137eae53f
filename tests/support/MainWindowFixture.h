#pragma once

class frmMain;
class frmDocument;

// A main window as Main leaves it (loaded, shown, in g_frmMain), for tests
// that need the active document window. Destroyed at the end of the scope.
class MainWindowFixture
{
public:
    MainWindowFixture();
    ~MainWindowFixture();
    MainWindowFixture(const MainWindowFixture&) = delete;
    MainWindowFixture& operator=(const MainWindowFixture&) = delete;

    frmMain* main() const { return m_main; }
    // Runs New and returns the new, active document window.
    frmDocument* NewDocument();

private:
    frmMain* m_main;
};
