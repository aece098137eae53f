#pragma once

#include <QApplication>

// The program's application object: German texts in Qt's own dialogs, and a
// last line of defence that keeps any failure from crossing the event loop.
class Application : public QApplication
{
public:
    Application(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;
};

// The program's name, version and German texts, for the application object
// and for the one that reads the command line before it.
void PrepareApplication(QCoreApplication& app);
