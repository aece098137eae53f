// The records and their dictionaries, and the numbering through the active
// document window.
#include "MainWindowFixture.h"
#include "TestMain.h"

#include "document/frmDocument.h"
#include "model/clsFirma.h"
#include "shell/frmMain.h"

#include <QMdiArea>
#include <QMdiSubWindow>

#include <limits>

class RecordsTest : public QObject
{
    Q_OBJECT

private slots:
    void dictionaryKeepsInsertionOrderAndReplacesInPlace()
    {
        clsDictionary<ColumnValue> columns;
        columns.Assign(QStringLiteral("Node"), qint32(1));
        columns.Assign(QStringLiteral("Name"), QStringLiteral("Alt"));
        columns.Assign(QStringLiteral("Ort"), QStringLiteral("Köln"));
        columns.Assign(QStringLiteral("Name"), QStringLiteral("Neu"));
        columns.Assign(QStringLiteral("PLZ"), QStringLiteral("50667"));
        QCOMPARE(columns.Keys(), QStringList({"Node", "Name", "Ort", "PLZ"}));
        QCOMPARE(columns.Item(QStringLiteral("Name")).Text(), QStringLiteral("Neu"));
    }

    // Records share their document's key table; one whose columns come in
    // another order keeps that order and finds each of them.
    void dictionaryOnASharedKeyTableInAnotherOrder()
    {
        clsDictionary<ColumnValue> first;
        first.Assign(QStringLiteral("Node"), qint32(1));
        first.Assign(QStringLiteral("Name"), QStringLiteral("Erste"));
        first.Assign(QStringLiteral("Ort"), QStringLiteral("Bonn"));
        clsDictionary<ColumnValue> second;
        second.StoredKeys().table = first.StoredKeys().table;
        second.Assign(QStringLiteral("Node"), qint32(2));
        second.Assign(QStringLiteral("Ort"), QStringLiteral("Köln"));
        second.Assign(QStringLiteral("Name"), QStringLiteral("Zweite"));
        second.Item(QStringLiteral("PLZ"));
        QCOMPARE(second.Keys(), QStringList({"Node", "Ort", "Name", "PLZ"}));
        QCOMPARE(second.Find(QStringLiteral("Node"))->Number(), 2);
        QCOMPARE(second.Find(QStringLiteral("Ort"))->Text(), QStringLiteral("Köln"));
        QCOMPARE(second.Find(QStringLiteral("Name"))->Text(), QStringLiteral("Zweite"));
        QCOMPARE(first.Keys(), QStringList({"Node", "Name", "Ort"}));
    }

    void dictionaryKeysAreExact()
    {
        clsDictionary<ColumnValue> columns;
        columns.Assign(QStringLiteral("EMail"), QStringLiteral("a@b.de"));
        QVERIFY(!columns.Exists(QStringLiteral("Email")));
        QVERIFY(!columns.Find(QStringLiteral("email ")));
    }

    void addingAPresentKeyFails()
    {
        clsDictionary<ColumnValue> columns;
        columns.Add(QStringLiteral("2"), QStringLiteral("x"));
        QVERIFY_THROWS_EXCEPTION(Failure, columns.Add(QStringLiteral("2"), QStringLiteral("y")));
        QCOMPARE(columns.Count(), 1);
        QCOMPARE(columns.Item(QStringLiteral("2")).Text(), QStringLiteral("x"));
    }

    void readingAnAbsentKeyAddsIt_findDoesNot()
    {
        clsDictionary<ColumnValue> columns;
        columns.Assign(QStringLiteral("Node"), qint32(1));
        QVERIFY(!columns.Find(QStringLiteral("Name")));
        QCOMPARE(columns.Count(), 1);
        QCOMPARE(columns.Item(QStringLiteral("Name")).Text(), QString());
        QCOMPARE(columns.Keys(), QStringList({"Node", "Name"}));
    }

    // Past the size where the index takes over, every property must still hold.
    void largeDictionaryBehavesLikeASmallOne()
    {
        clsDictionary<AdresseRef> addresses;
        for (int i = 2; i < 2002; ++i)
            addresses.Add(QString::number(i), std::make_shared<clsAdresse>());
        QVERIFY_THROWS_EXCEPTION(Failure, addresses.Add(QStringLiteral("1000"), nullptr));
        QVERIFY(addresses.Find(QStringLiteral("1000")));
        QVERIFY(!addresses.Find(QStringLiteral("2002")));
        addresses.Assign(QStringLiteral("500"), nullptr);
        QCOMPARE(addresses.Keys().indexOf(QStringLiteral("500")), 498);
        QCOMPARE(addresses.Keys().last(), QStringLiteral("2001"));
        addresses.Item(QStringLiteral("9999"));
        QCOMPARE(addresses.Keys().last(), QStringLiteral("9999"));
        QCOMPARE(addresses.Count(), 2001);
    }

    void nodeColumnIsANumberOthersText()
    {
        QCOMPARE(ColumnValue(qint32(-17)).Text(), QStringLiteral("-17"));
        QVERIFY(ColumnValue(qint32(2)).IsNumber());
        QVERIFY(!ColumnValue(QStringLiteral("2")).IsNumber());
        QCOMPARE(ColumnValue().Text(), QString());
    }

    void newRecordsAreEmpty()
    {
        clsFirma firma;
        clsAdresse adresse;
        QCOMPARE(firma.m_dicSpalten.Count() + firma.m_dicAdressen.Count(), 0);
        QCOMPARE(adresse.m_dicSpalten.Count() + adresse.m_dicAdressen.Count(), 0);
    }

    // Dropping a deeply nested document must not exhaust the stack.
    void deepNestingIsReleasedWithoutRecursion()
    {
        auto firma = std::make_shared<clsFirma>();
        clsDictionary<AdresseRef>* level = &firma->m_dicAdressen;
        for (int i = 0; i < 200000; ++i) {
            auto adresse = std::make_shared<clsAdresse>();
            level->Add(QString::number(i + 2), adresse);
            level = &adresse->m_dicAdressen;
        }
        firma.reset();
    }

    // A record still held elsewhere outlives the document it came from.
    void sharedRecordSurvivesItsDocument()
    {
        auto firma = std::make_shared<clsFirma>();
        auto outer = std::make_shared<clsAdresse>();
        auto inner = std::make_shared<clsAdresse>();
        inner->m_dicSpalten.Assign(QStringLiteral("Name"), QStringLiteral("Muster"));
        outer->m_dicAdressen.Add(QStringLiteral("3"), inner);
        firma->m_dicAdressen.Add(QStringLiteral("2"), outer);
        AdresseRef kept = outer;
        firma.reset();
        QCOMPARE(kept->m_dicAdressen.Count(), 1);
        QCOMPARE((*kept->m_dicAdressen.Find(QStringLiteral("3")))->m_dicSpalten.Item(QStringLiteral("Name")).Text(),
                 QStringLiteral("Muster"));
    }

    void nextIdCountsInTheActiveWindowOnly()
    {
        MainWindowFixture fixture;
        frmDocument* first = fixture.NewDocument();
        QCOMPARE(first->NextID(), 1);
        QCOMPARE(first->NextID(), 2);
        QCOMPARE(first->NextID(), 3);
        QCOMPARE(first->m_lngID, 3);

        frmDocument* second = fixture.NewDocument();
        QCOMPARE(first->NextID(), 1);
        QCOMPARE(first->m_lngID, 3);
        QCOMPARE(second->m_lngID, 1);

        fixture.main()->MdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(first->parentWidget()));
        QCOMPARE(second->NextID(), 4);
        QCOMPARE(second->m_lngID, 1);
    }

    void nextIdWithoutWindowFails()
    {
        frmDocument alone;
        QVERIFY_THROWS_EXCEPTION(Failure, alone.NextID());
    }

    void nextIdOverflowFailsAndKeepsTheCounter()
    {
        MainWindowFixture fixture;
        frmDocument* document = fixture.NewDocument();
        document->m_lngID = std::numeric_limits<qint32>::max() - 1;
        QCOMPARE(document->NextID(), std::numeric_limits<qint32>::max());
        QVERIFY_THROWS_EXCEPTION(Failure, document->NextID());
        QCOMPARE(document->m_lngID, std::numeric_limits<qint32>::max());
    }
};

ZIDEVAVI_TEST_MAIN(RecordsTest)
#include "tst_records.moc"
