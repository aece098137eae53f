#include "shell/CommandLine.h"

#include "shell/Application.h"

#include <QCommandLineParser>
#include <QFileInfo>

QStringList DocumentFilesFromCommandLine(const QStringList& arguments)
{
    // Qt's own texts (usage line, headings, the help and version options)
    // come in German through the translator the application has loaded.
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Bereitet Adressen für den Import in das Online-Adress-Verwaltungstool Rorozada vor."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("datei"),
                                 QStringLiteral("Dokumente, die geöffnet werden, jedes in einem eigenen Fenster."),
                                 QStringLiteral("[datei...]"));
    parser.process(arguments);

    QStringList files;
    for (const QString& file : parser.positionalArguments())
        files.append(QFileInfo(file).absoluteFilePath());
    return files;
}

QStringList DocumentFilesFromCommandLine(int& argc, char** argv)
{
    QCoreApplication app(argc, argv);
    PrepareApplication(app);
    return DocumentFilesFromCommandLine(app.arguments());
}
