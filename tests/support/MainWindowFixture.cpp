#include "MainWindowFixture.h"

#include "document/frmDocument.h"
#include "shell/basMain.h"
#include "shell/frmMain.h"

#include <QTest>

MainWindowFixture::MainWindowFixture()
    : m_main(new frmMain)
{
    g_frmMain = m_main;
    m_main->Form_Load();
    m_main->show();
}

MainWindowFixture::~MainWindowFixture()
{
    m_main->close();
    delete m_main;
    g_frmMain = nullptr;
}

frmDocument* MainWindowFixture::NewDocument()
{
    m_main->mnuFileNew_Click();
    return m_main->ActiveForm();
}
