// The document window: its layout, the tree click and the detail fields.
#include "RecordingPrompt.h"
#include "TestMain.h"
#include "WindowLayout.h"

#include "document/frmDocument.h"
#include "tree/clsTreeView.h"

#include <QAccessible>
#include <QLabel>
#include <QLineEdit>

namespace {

AdresseRef MakeAdresse(qint32 number, std::initializer_list<std::pair<const char*, const char*>> columns)
{
    auto adresse = std::make_shared<clsAdresse>();
    adresse->m_dicSpalten.Assign(QStringLiteral("Node"), number);
    for (const auto& [key, value] : columns)
        adresse->m_dicSpalten.Assign(QString::fromUtf8(key), QString::fromUtf8(value));
    return adresse;
}

// Firma (1) with Muster (2) holding Kind (3) holding Enkel (4), and Kurz (5).
FirmaRef SampleDocument()
{
    auto firma = std::make_shared<clsFirma>();
    firma->m_dicSpalten.Assign(QStringLiteral("Node"), qint32(1));
    firma->m_dicSpalten.Assign(QStringLiteral("Name"), QStringLiteral("Firma"));
    AdresseRef muster = MakeAdresse(2, {{"Name", "Muster"}, {"Ort", "Köln"}, {"EMail", "m@example.de"}, {"Typ", "M"}});
    AdresseRef kind = MakeAdresse(3, {{"Name", "Kind"}, {"Kennzeichen", "K1"}});
    AdresseRef enkel = MakeAdresse(4, {{"Name", "Enkel"}, {"Ort", "Bonn"}});
    AdresseRef kurz = MakeAdresse(5, {{"Name", "Kurz"}});
    kind->m_dicAdressen.Add(QStringLiteral("4"), enkel);
    muster->m_dicAdressen.Add(QStringLiteral("3"), kind);
    firma->m_dicAdressen.Add(QStringLiteral("2"), muster);
    firma->m_dicAdressen.Add(QStringLiteral("5"), kurz);
    return firma;
}

QString AccessibleName(QWidget* widget)
{
    return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name);
}

QString Field(frmDocument& document, const char* name)
{
    return document.findChild<QLineEdit*>(QString::fromLatin1(name))->text();
}

}

class DocumentTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<frmDocument> m_document;

    void ClickNode(const QString& key)
    {
        clsTreeView* tree = m_document->trvBaum;
        const QModelIndex index = tree->Nodes().IndexOf(tree->Nodes().FindKey(key));
        QVERIFY(index.isValid());
        tree->scrollTo(index);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualRect(index).center());
    }

    void ClickEmptySpace()
    {
        clsTreeView* tree = m_document->trvBaum;
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, QPoint(5, tree->viewport()->height() - 5));
    }

private slots:
    void init()
    {
        m_document = std::make_unique<frmDocument>();
        m_document->m_objFirma = SampleDocument();
        m_document->m_objFirma->ShowTree(*m_document->trvBaum);
        m_document->trvBaum->expandAll();
        m_document->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_document.get()));
    }

    void cleanup() { m_document.reset(); }

    void layoutFollowsTheTwipMeasures_data() { AddSystemFontRows(); }

    // The window keeps the system's font and draws its whole twip layout for
    // it: proportions as designed, and every caption with a gap before its field.
    void layoutFollowsTheTwipMeasures()
    {
        QFETCH(qreal, pointSize);
        ApplicationFont systemFont(pointSize);
        frmDocument document;
        QCOMPARE(document.font().pointSizeF(), pointSize);

        const DesignScale design(&document, QSize(11355, 5565));
        QVERIFY(design.KeepsProportions());
        QVERIFY(NearlyEqual(document.trvBaum->geometry(), design.Rect(120, 120, 4815, 5295)));
        QVERIFY(NearlyEqual(document.findChild<QLineEdit*>("txtTitel")->geometry(), design.Rect(9120, 480, 2000, 285)));
        QVERIFY(NearlyEqual(document.findChild<QLineEdit*>("txtKennzeichen")->geometry(),
                            design.Rect(6000, 4440, 2000, 285)));
        QVERIFY(NearlyEqual(document.findChild<QLabel*>("Label12")->geometry(), design.Rect(8160, 525, 945, 255)));
        QCOMPARE(document.findChild<QLabel*>("lblName")->text(), QStringLiteral("Anrede"));
        QCOMPARE(document.findChild<QLabel*>("Label23")->text(), QStringLiteral("Internet"));
        QCOMPARE(document.findChildren<QLineEdit*>().size(), 20);

        for (const QLabel* label : document.findChildren<QLabel*>()) {
            const QFontMetrics metrics = label->fontMetrics();
            const int captionEnd = label->x() + metrics.horizontalAdvance(label->text()) + metrics.averageCharWidth();
            QVERIFY2(captionEnd <= label->buddy()->x(), qPrintable(label->text()));
            QVERIFY2(label->buddy()->height() >= label->buddy()->minimumSizeHint().height(), qPrintable(label->text()));
        }
        QCOMPARE(CutOffTexts(&document).join(u' '), QString());
    }

    // Screen readers announce each field by its label's caption.
    void fieldsAndTreeHaveAccessibleNames()
    {
        const char* const captions[][2] = {
            {"txtTyp", "Adresstyp"}, {"txtAnrede", "Anrede"}, {"txtName", "Name/Firma"}, {"txtName2", "Name 2"},
            {"txtName3", "Name 3"}, {"txtAbteilung", "Abteilung"}, {"txtStrasse", "Strasse"}, {"txtPLZ", "PLZ"},
            {"txtLand", "Land"}, {"txtTelefon", "Telefon"}, {"txtTelefon2", "Telefon 2"}, {"txtEmail", "Email"},
            {"txtKennzeichen", "Kennzeichen"}, {"txtTitel", "Titel"}, {"txtVorname", "Vorname"},
            {"txtFunktion", "Funktion"}, {"txtOrt", "Ort"}, {"txtFax", "Fax"}, {"txtMobiltelefon", "Mobiltelefon"},
            {"txtInternet", "Internet"}};
        for (const auto& [field, caption] : captions)
            QCOMPARE(AccessibleName(m_document->findChild<QLineEdit*>(field)), QString::fromUtf8(caption));
        QCOMPARE(AccessibleName(m_document->trvBaum), QStringLiteral("Adressen"));
    }

    // The header, hidden, still names the column; "*" leaves the addresses
    // without sub-records as they are; the fields are read-only.
    void screenReadersHearGermanAndTheTruth()
    {
        clsTreeView* tree = m_document->trvBaum;
        tree->collapseAll();
        tree->SelectItem(0);
        tree->setFocus();
        QTest::keyClick(tree, Qt::Key_Asterisk);
        QAccessibleTableInterface* table = QAccessible::queryAccessibleInterface(tree)->tableInterface();
        QVERIFY(table);
        QCOMPARE(table->columnDescription(0), QStringLiteral("Adressen"));
        QStringList states;
        for (int row = 0; row < table->rowCount(); ++row) {
            const QAccessibleInterface* cell = table->cellAt(row, 0);
            const QAccessible::State state = cell->state();
            states.append(cell->text(QAccessible::Name) + (state.expandable ? QStringLiteral(" expandable") : QString())
                          + (state.expanded ? QStringLiteral(" expanded") : QString()));
        }
        QCOMPARE(states, QStringList({"Firma expandable expanded", "Muster expandable expanded",
                                      "Kind expandable expanded", "Enkel", "Kurz"}));
        for (QLineEdit* field : m_document->findChildren<QLineEdit*>())
            QVERIFY2(QAccessible::queryAccessibleInterface(field)->state().readOnly, qPrintable(field->objectName()));
    }

    void tabOrderRunsFromTheTreeThroughTheFields()
    {
        QStringList order;
        QWidget* widget = m_document->trvBaum;
        for (int i = 0; i < 21; ++i) {
            order.append(widget->objectName());
            widget = widget->nextInFocusChain();
            while (widget->focusPolicy() == Qt::NoFocus || !widget->isVisible() || widget->objectName().startsWith("qt_"))
                widget = widget->nextInFocusChain();
        }
        QCOMPARE(order, QStringList({"trvBaum", "txtAnrede", "txtName", "txtName2", "txtAbteilung", "txtName3",
                                     "txtStrasse", "txtPLZ", "txtTelefon", "txtLand", "txtTelefon2", "txtEmail",
                                     "txtTitel", "txtKennzeichen", "txtVorname", "txtFunktion", "txtOrt", "txtFax",
                                     "txtMobiltelefon", "txtInternet", "txtTyp"}));
    }

    void clickOnTopLevelAddressFillsItsFields()
    {
        ClickNode(QStringLiteral("Node 2"));
        QCOMPARE(Field(*m_document, "txtName"), QStringLiteral("Muster"));
        QCOMPARE(Field(*m_document, "txtOrt"), QStringLiteral("Köln"));
        QCOMPARE(Field(*m_document, "txtEmail"), QStringLiteral("m@example.de"));
        QCOMPARE(Field(*m_document, "txtTyp"), QStringLiteral("M"));
        QCOMPARE(m_document->m_objAktAdresse, *m_document->m_objFirma->m_dicAdressen.Find(QStringLiteral("2")));
    }

    // No field may show another address's text as if it were this one's.
    void fieldsOfAbsentColumnsAreEmptied()
    {
        ClickNode(QStringLiteral("Node 2"));
        ClickNode(QStringLiteral("Node 5"));
        QCOMPARE(Field(*m_document, "txtName"), QStringLiteral("Kurz"));
        QCOMPARE(Field(*m_document, "txtOrt"), QString());
    }

    void nestedNodesAreFoundThroughTheirAncestors()
    {
        ClickNode(QStringLiteral("Node 4"));
        QCOMPARE(Field(*m_document, "txtName"), QStringLiteral("Enkel"));
        QCOMPARE(Field(*m_document, "txtOrt"), QStringLiteral("Bonn"));
        ClickNode(QStringLiteral("Node 3"));
        QCOMPARE(Field(*m_document, "txtKennzeichen"), QStringLiteral("K1"));
    }

    // The addresses can be read without a mouse.
    void arrowKeysShowTheAddressAsAClickDoes()
    {
        ClickNode(QStringLiteral("Node 4"));
        QTest::keyClick(m_document->trvBaum, Qt::Key_Down);
        QCOMPARE(Field(*m_document, "txtName"), QStringLiteral("Kurz"));
        QTest::keyClick(m_document->trvBaum, Qt::Key_Up);
        QCOMPARE(Field(*m_document, "txtName"), QStringLiteral("Enkel"));
        QCOMPARE(m_document->m_objAktAdresse->m_dicSpalten.Item(QStringLiteral("Node")).Text(), QStringLiteral("4"));
    }

    void clickOnRootChangesNoFieldButTheCurrentAddress()
    {
        ClickNode(QStringLiteral("Node 2"));
        ClickNode(QStringLiteral("Node 1"));
        QCOMPARE(Field(*m_document, "txtName"), QStringLiteral("Muster"));
        QVERIFY(m_document->m_objAktAdresse);
        QCOMPARE(m_document->m_objAktAdresse->m_dicSpalten.Count(), 0);
    }

    void clickOnEmptySpaceShowsTheStillSelectedNode()
    {
        ClickNode(QStringLiteral("Node 5"));
        m_document->findChild<QLineEdit*>("txtName")->setText(QStringLiteral("getippt"));
        ClickEmptySpace();
        QCOMPARE(m_document->trvBaum->SelectedItem(), m_document->trvBaum->Nodes().FindKey(QStringLiteral("Node 5")));
        QCOMPARE(Field(*m_document, "txtName"), QStringLiteral("Kurz"));
    }

    void clickInAnEmptyTreeOnlyResetsTheCurrentAddress()
    {
        frmDocument empty;
        empty.show();
        QVERIFY(QTest::qWaitForWindowExposed(&empty));
        QTest::mouseClick(empty.trvBaum->viewport(), Qt::LeftButton, {}, QPoint(10, 10));
        QVERIFY(empty.m_objAktAdresse);
        QCOMPARE(empty.m_objAktAdresse->m_dicSpalten.Count(), 0);
    }

    void clicksAddNoKeyToAnyRecord()
    {
        // The tree shows a node whose record is gone from the dictionary.
        m_document->m_objFirma->m_dicAdressen.TakeValues();
        RecordingPrompt prompt;
        ClickNode(QStringLiteral("Node 4"));
        QCOMPARE(m_document->m_objFirma->m_dicAdressen.Count(), 0);
        QVERIFY(prompt.messages.isEmpty());
        QCOMPARE(Field(*m_document, "txtName"), QString());
    }

    void columnWithoutFieldIsReportedAfterTheFieldsBeforeIt()
    {
        RecordingPrompt prompt;
        m_document->findChild<QLineEdit*>("txtOrt")->setText(QStringLiteral("vorher"));
        m_document->m_objAktAdresse = MakeAdresse(9, {{"Name", "Neu"}, {"Geburtstag", "1.1."}, {"Ort", "Essen"}});
        m_document->ShowAdresse();
        QCOMPARE(Field(*m_document, "txtName"), QStringLiteral("Neu"));
        QCOMPARE(Field(*m_document, "txtOrt"), QString());
        QCOMPARE(prompt.messages.size(), 1);
        QCOMPARE(prompt.messages[0].title, QStringLiteral("Fehler in frmDocument.ShowAdresse"));
        QCOMPARE(prompt.messages[0].icon, Prompt::Icon::Critical);
        QVERIFY(prompt.messages[0].prompt.contains(QStringLiteral("txtGeburtstag")));
    }

    void columnsFindFieldsIgnoringCaseAndNodeIsSkipped()
    {
        RecordingPrompt prompt;
        m_document->m_objAktAdresse = MakeAdresse(7, {{"EMAIL", "groß@example.de"}});
        m_document->ShowAdresse();
        QVERIFY(prompt.messages.isEmpty());
        QCOMPARE(Field(*m_document, "txtEmail"), QStringLiteral("groß@example.de"));
    }
};

ZIDEVAVI_TEST_MAIN(DocumentTest)
#include "tst_document.moc"
