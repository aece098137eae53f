#pragma once

#include "shell/Application.h"

#include <QStandardPaths>
#include <QTest>

// Like QTEST_MAIN, with the program's own application object and settings
// kept apart from the user's real ones.
#define ZIDEVAVI_TEST_MAIN(TestClass)                                                                                  \
    int main(int argc, char* argv[])                                                                                   \
    {                                                                                                                  \
        QStandardPaths::setTestModeEnabled(true);                                                                      \
        Application app(argc, argv);                                                                                   \
        TestClass test;                                                                                                \
        return QTest::qExec(&test, argc, argv);                                                                        \
    }
