#include "shell/Application.h"

#include "platform/ShowError.h"
#include "platform/TerminationSignals.h"

#include "Version.h"

#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

Application::Application(int& argc, char** argv)
    : QApplication(argc, argv)
{
    PrepareApplication(*this);
    setDesktopFileName(QString::fromLatin1(DesktopId));
    setWindowIcon(QIcon(QStringLiteral(":/icons/app.svg")));
    // As if the user closed the main window, and then for sure.
    EndOnTerminationSignals([] {
        closeAllWindows();
        quit();
    });
}

void PrepareApplication(QCoreApplication& app)
{
    app.setApplicationName(QStringLiteral("Zidevavi"));
    app.setOrganizationName(QStringLiteral("Zidevavi"));
    app.setApplicationVersion(QString::fromLatin1(Version::FileVersion));

    // The program speaks German whatever the system locale; so do the file
    // dialogs, message box buttons and command line help Qt makes for it.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    auto* translator = new QTranslator(&app);
    if (translator->load(QStringLiteral("qtbase_de"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(translator);
}

bool Application::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        ShowError(QStringLiteral("Zidevavi"), receiver ? receiver->objectName() : QString());
        return false;
    }
}
