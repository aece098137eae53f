#include "shell/Application.h"

#include "shell/ShowError.h"

#include "Version.h"

#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

Application::Application(int& argc, char** argv)
    : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("Zidevavi"));
    setOrganizationName(QStringLiteral("Zidevavi"));
    setApplicationVersion(QString::fromLatin1(Version::FileVersion));
    setDesktopFileName(QString::fromLatin1(DesktopId));
    setWindowIcon(QIcon(QStringLiteral(":/icons/app.svg")));

    // The program speaks German whatever the system locale; so do the file
    // dialogs and message box buttons Qt draws for it, and the command line
    // help, which is read after this.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    auto* translator = new QTranslator(this);
    if (translator->load(QStringLiteral("qtbase_de"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        installTranslator(translator);
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
