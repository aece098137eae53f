// Opening and saving document files in a document window.
#include "DocumentTestTools.h"
#include "support/MainWindowFixture.h"
#include "support/RecordingPrompt.h"
#include "support/TestMain.h"

#include "document/frmDocument.h"
#include "platform/FileSystem.h"
#include "platform/MousePointer.h"
#include "tree/clsTreeView.h"

#include <QTemporaryDir>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <memory>

class tst_DocumentFiles : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void opensAndSavesUnchanged_data();
    void opensAndSavesUnchanged();
    void openDrawsTheTree();
    void failedOpenKeepsTheDocument_data();
    void failedOpenKeepsTheDocument();
    void failedSaveKeepsTheFile();
    void saveKeepsWhatTheReplacedFileWas_data();
    void saveKeepsWhatTheReplacedFileWas();
    void failureSaysWhyInGerman_data();
    void failureSaysWhyInGerman();
    void fileCutShortWhileReadIsRefused();

private:
    QStringList TreeKeys() const;

    std::unique_ptr<MainWindowFixture> m_fixture;
    std::unique_ptr<RecordingPrompt> m_prompt;
    std::unique_ptr<QTemporaryDir> m_dir;
    frmDocument* m_document = nullptr;
};

void tst_DocumentFiles::init()
{
    m_fixture = std::make_unique<MainWindowFixture>();
    m_prompt = std::make_unique<RecordingPrompt>();
    m_dir = std::make_unique<QTemporaryDir>();
    m_document = m_fixture->NewDocument();
}

void tst_DocumentFiles::cleanup()
{
    m_document = nullptr;
    m_fixture.reset();
    m_prompt.reset();
    m_dir.reset();
}

QStringList tst_DocumentFiles::TreeKeys() const
{
    QStringList keys;
    const TreeNodeModel& nodes = m_document->trvBaum->Nodes();
    for (int node = 0; node < nodes.Count(); ++node)
        keys.append(nodes.Key(node) + QLatin1Char('/') + nodes.Text(node));
    return keys;
}

void tst_DocumentFiles::opensAndSavesUnchanged_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("records");
    QTest::addColumn<bool>("nameAdded");
    QTest::newRow("example") << "outlook-muster.xml" << 2 << false;
    QTest::newRow("empty company") << "empty-company.xml" << 1 << true;
    QTest::newRow("nested, escaped, outside the code page") << "nested-special.xml" << 5 << false;
}

void tst_DocumentFiles::opensAndSavesUnchanged()
{
    QFETCH(QString, file);
    QFETCH(int, records);
    QFETCH(bool, nameAdded);
    const QString path = TestDataFile(file);
    m_document->LoadDoc(path);
    QCOMPARE(m_prompt->messages.size(), 0);
    QCOMPARE(m_document->Caption(), path);
    QCOMPARE(m_document->m_lngID, records);
    QCOMPARE(m_document->trvBaum->Nodes().Count(), records);
    QCOMPARE(CurrentMousePointer(), MousePointer::Default);

    const QString saved = m_dir->filePath(QStringLiteral("gespeichert.xml"));
    m_document->SaveDoc(saved);
    QCOMPARE(m_prompt->messages.size(), 0);
    QCOMPARE(m_document->Caption(), saved);
    QCOMPARE(CurrentMousePointer(), MousePointer::Default);

    // Drawing gives a record without "Name" an empty one, which is saved.
    QByteArray expected = FileBytes(path);
    if (nameAdded)
        expected.replace("<Firma> \r\n", "<Firma> \r\n<Name></Name> \r\n");
    const QString difference = FirstDifferentLine(FileBytes(saved), expected);
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
}

void tst_DocumentFiles::openDrawsTheTree()
{
    m_document->m_lngID = 41;
    m_document->LoadDoc(TestDataFile(QStringLiteral("nested-special.xml")));
    QCOMPARE(TreeKeys(), QStringList({"Node 1/Bau & Holz Söhne", "Node 2/a < b", "Node 3/Prüfer", "Node 4/",
                                      "Node 5/  Leerzeichen  "}));
    const TreeNodeModel& nodes = m_document->trvBaum->Nodes();
    QCOMPARE(nodes.Parent(2), 1);
    QCOMPARE(nodes.Parent(4), 0);
    QCOMPARE(m_document->m_objFirma->m_dicAdressen.Find(QStringLiteral("2"))->get()->m_dicSpalten.Item(
                 QStringLiteral("Strasse")),
             ColumnValue(QStringLiteral("Haus A\r\nHaus B")));
}

void tst_DocumentFiles::failedOpenKeepsTheDocument_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("description");
    QTest::newRow("missing file") << QByteArray() << "wurde nicht gefunden";
    QTest::newRow("truncated") << QByteArray("<Firma> \r\n<Adresse> \r\n<Name>Mu") << "fehlt das Ende-Tag </Name>";
    QTest::newRow("two addresses with one number")
        << QByteArray("<Firma><Adresse><Node>5</Node></Adresse><Adresse><Node>5</Node></Adresse></Firma>")
        << "bereits einem Element";
    // Only the tree notices this one, after it was cleared for the new document.
    QTest::newRow("an address numbered like the company")
        << QByteArray("<Firma><Adresse><Node>1</Node></Adresse></Firma>") << "nicht eindeutig";
}

void tst_DocumentFiles::failedOpenKeepsTheDocument()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, description);
    m_document->LoadDoc(TestDataFile(QStringLiteral("outlook-muster.xml")));
    m_document->SetCaption(QStringLiteral("Document 1"));
    const FirmaRef before = m_document->m_objFirma;
    const QString recordsBefore = Dump(*before);
    const QStringList treeBefore = TreeKeys();
    clsTreeView* tree = m_document->trvBaum;
    tree->expand(tree->Nodes().IndexOf(0));
    tree->SelectItem(1);

    const QString path = m_dir->filePath(QStringLiteral("kaputt.xml"));
    if (!bytes.isEmpty())
        QVERIFY(WriteBytes(path, bytes));
    m_document->LoadDoc(path);

    QCOMPARE(m_prompt->messages.size(), 1);
    QCOMPARE(m_prompt->messages[0].title, QStringLiteral("Fehler in frmDocument.LoadDoc"));
    QCOMPARE(m_prompt->messages[0].icon, Prompt::Icon::Critical);
    QVERIFY2(m_prompt->messages[0].prompt.contains(description), qPrintable(m_prompt->messages[0].prompt));
    QCOMPARE(m_document->m_objFirma, before);
    QCOMPARE(Dump(*m_document->m_objFirma), recordsBefore);
    QCOMPARE(m_document->m_lngID, 2);
    QCOMPARE(TreeKeys(), treeBefore);
    QVERIFY(tree->isExpanded(tree->Nodes().IndexOf(0)));
    QCOMPARE(tree->SelectedItem(), 1);
    QCOMPARE(m_document->Caption(), QStringLiteral("Document 1"));
    QCOMPARE(CurrentMousePointer(), MousePointer::Default);
}

void tst_DocumentFiles::failedSaveKeepsTheFile()
{
    const QString existing = m_dir->filePath(QStringLiteral("vorhanden.xml"));
    QVERIFY(WriteBytes(existing, "alter Inhalt"));

    // A window without a document fails before anything is written.
    m_document->SaveDoc(existing);
    QCOMPARE(FileBytes(existing), QByteArray("alter Inhalt"));

    m_document->LoadDoc(TestDataFile(QStringLiteral("outlook-muster.xml")));
    m_document->SetCaption(QStringLiteral("Document 1"));
    m_document->SaveDoc(m_dir->filePath(QStringLiteral("fehlt/neu.xml")));
    m_document->SaveDoc(m_dir->path());

    QCOMPARE(m_prompt->messages.size(), 3);
    for (const RecordingPrompt::Message& message : m_prompt->messages)
        QCOMPARE(message.title, QStringLiteral("Fehler in frmDocument.SaveDoc"));
    QCOMPARE(m_document->Caption(), QStringLiteral("Document 1"));
    QCOMPARE(CurrentMousePointer(), MousePointer::Default);

    // Nothing is left blocked: the next save goes through.
    m_document->SaveDoc(existing);
    QCOMPARE(m_prompt->messages.size(), 3);
    QCOMPARE(FileBytes(existing), FileBytes(TestDataFile(QStringLiteral("outlook-muster.xml"))));
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList({"vorhanden.xml"}));
}

// A save replaces the file's bytes, not what the file is: a link stays a
// link and the permissions stay, and a file the user may not change is not
// replaced behind its back. Root may change any file, so that row needs a
// user.
void tst_DocumentFiles::saveKeepsWhatTheReplacedFileWas_data()
{
    QTest::addColumn<bool>("throughLink");
    QTest::addColumn<int>("permissions");
    QTest::addColumn<bool>("refused");
    QTest::newRow("a link stays a link") << true << 0644 << false;
    QTest::newRow("permissions stay") << false << 0640 << false;
    if (geteuid() != 0)
        QTest::newRow("write-protected file is refused") << false << 0444 << true;
}

void tst_DocumentFiles::saveKeepsWhatTheReplacedFileWas()
{
    QFETCH(bool, throughLink);
    QFETCH(int, permissions);
    QFETCH(bool, refused);
    const QString target = m_dir->filePath(QStringLiteral("ziel.xml"));
    const QString link = m_dir->filePath(QStringLiteral("verweis.xml"));
    const QByteArray old = "alt";
    QVERIFY(WriteBytes(target, old));
    QCOMPARE(::chmod(QFile::encodeName(target).constData(), mode_t(permissions)), 0);
    QVERIFY(QFile::link(target, link));
    m_document->LoadDoc(TestDataFile(QStringLiteral("outlook-muster.xml")));

    m_document->SaveDoc(throughLink ? link : target);

    QCOMPARE(QFileInfo(link).symLinkTarget(), target);
    struct stat info;
    QCOMPARE(::stat(QFile::encodeName(target).constData(), &info), 0);
    QCOMPARE(int(info.st_mode & 07777), permissions);
    if (refused) {
        QCOMPARE(m_prompt->messages.size(), 1);
        QVERIFY(m_prompt->messages[0].prompt.endsWith(QStringLiteral("kann nicht geschrieben werden: Zugriff verweigert.")));
        QCOMPARE(FileBytes(target), old);
    } else {
        QVERIFY(m_prompt->messages.isEmpty());
        QCOMPARE(FileBytes(target), FileBytes(TestDataFile(QStringLiteral("outlook-muster.xml"))));
    }
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::System).size(), 2);
}

// Where the system says why, the message says it in German. The paths are
// in the test's folder, where "gesperrt" may be listed but not changed and
// holds a file nobody may read; root may do both, so those rows need a user.
void tst_DocumentFiles::failureSaysWhyInGerman_data()
{
    QTest::addColumn<bool>("open");
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("sizeLimit"); // bytes a file may grow to; 0 for no limit
    QTest::addColumn<QString>("why");
    QTest::newRow("full disk") << false << "/dev/full" << 0
                               << "kann nicht geschrieben werden: Kein Speicherplatz mehr auf dem Gerät.";
    QTest::newRow("file-size limit") << false << "neu.xml" << 100 << "kann nicht geschrieben werden: Datei zu groß.";
    QTest::newRow("missing folder") << false << "fehlt/neu.xml" << 0
                                    << "kann nicht angelegt werden: Datei oder Verzeichnis nicht gefunden.";
    QTest::newRow("a folder") << false << "gesperrt" << 0 << "kann nicht geschrieben werden: Ist ein Verzeichnis.";
    if (geteuid() != 0) {
        QTest::newRow("no permission to write") << false << "gesperrt/neu.xml" << 0
                                                << "kann nicht angelegt werden: Zugriff verweigert.";
        QTest::newRow("no permission to read") << true << "gesperrt/alt.xml" << 0
                                               << "kann nicht gelesen werden: Zugriff verweigert.";
    }
}

void tst_DocumentFiles::failureSaysWhyInGerman()
{
    QFETCH(bool, open);
    QFETCH(QString, path);
    QFETCH(int, sizeLimit);
    QFETCH(QString, why);
    const QDir dir(m_dir->path());
    QVERIFY(dir.mkdir(QStringLiteral("gesperrt")));
    QVERIFY(WriteBytes(dir.filePath(QStringLiteral("gesperrt/alt.xml")), FileBytes(TestDataFile("outlook-muster.xml"))));
    QVERIFY(QFile::setPermissions(dir.filePath(QStringLiteral("gesperrt/alt.xml")), {}));
    QVERIFY(QFile::setPermissions(dir.filePath(QStringLiteral("gesperrt")),
                                  QFile::ReadOwner | QFile::ExeOwner | QFile::ReadUser | QFile::ExeUser));
    m_document->LoadDoc(TestDataFile(QStringLiteral("outlook-muster.xml")));

    const QString file = path.startsWith(QLatin1Char('/')) ? path : dir.filePath(path);
    rlimit before{};
    getrlimit(RLIMIT_FSIZE, &before);
    if (sizeLimit > 0) {
        rlimit limited = before;
        limited.rlim_cur = rlim_t(sizeLimit);
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    if (open)
        m_document->LoadDoc(file);
    else
        m_document->SaveDoc(file);
    setrlimit(RLIMIT_FSIZE, &before);
    QFile::setPermissions(dir.filePath(QStringLiteral("gesperrt")), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    QCOMPARE(m_prompt->messages.size(), 1);
    QCOMPARE(m_prompt->messages[0].prompt, QStringLiteral("Die Datei \"%1\" %2").arg(file, why));
    QCOMPARE(dir.entryList(QDir::Files), QStringList());
}

// Another program cuts the file short while it is mapped: the lost pages
// read as zeros, where the system would otherwise end the program.
void tst_DocumentFiles::fileCutShortWhileReadIsRefused()
{
    const QString path = m_dir->filePath(QStringLiteral("kurz.xml"));
    QVERIFY(WriteBytes(path, QByteArray(3 * 65536, 'x')));
    const FileContent content(path);
    QVERIFY(!content.CutShort());
    QVERIFY(QFile::resize(path, 0));
    QCOMPARE(content.Bytes().back(), '\0');
    QVERIFY(content.CutShort());
}

ZIDEVAVI_TEST_MAIN(tst_DocumentFiles)
#include "tst_DocumentFiles.moc"
