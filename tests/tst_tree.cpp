// Drawing records into the document tree.
#include "TestMain.h"

#include "model/clsFirma.h"
#include "tree/clsTreeView.h"
#include "tree/TreeDrawing.h"

#include <QScrollBar>

namespace {

AdresseRef MakeAdresse(qint32 number, const QString& name)
{
    auto adresse = std::make_shared<clsAdresse>();
    adresse->m_dicSpalten.Assign(QStringLiteral("Node"), number);
    adresse->m_dicSpalten.Assign(QStringLiteral("Name"), name);
    return adresse;
}

void AddTo(clsDictionary<AdresseRef>& parent, const AdresseRef& adresse)
{
    parent.Add(adresse->m_dicSpalten.Item(QStringLiteral("Node")).Text(), adresse);
}

// One line per node, depth first: indentation, key, text, image, expanded image.
QStringList Describe(const TreeNodeModel& nodes)
{
    QStringList lines;
    std::function<void(int, int)> visit = [&](int node, int depth) {
        lines.append(QString(depth * 2, QLatin1Char(' '))
                     + QStringLiteral("%1|%2|%3|%4").arg(nodes.Key(node), nodes.Text(node)).arg(nodes.Image(node)).arg(nodes.ExpandedImage(node)));
        for (int child : nodes.Children(node))
            visit(child, depth + 1);
    };
    for (int top : nodes.TopLevel())
        visit(top, 0);
    return lines;
}

}

class TreeTest : public QObject
{
    Q_OBJECT

private slots:
    void companyWithoutAddressesIsOneNode()
    {
        clsTreeView tree;
        clsFirma firma;
        firma.m_dicSpalten.Assign(QStringLiteral("Node"), qint32(1));
        firma.m_dicSpalten.Assign(QStringLiteral("Name"), QStringLiteral("Outlook Adressen"));
        firma.ShowTree(tree);
        QCOMPARE(Describe(tree.Nodes()), QStringList{"Node 1|Outlook Adressen|4|4"});
    }

    void nestedRecordsAreDrawnDepthFirstWithTheirImages()
    {
        clsTreeView tree;
        clsFirma firma;
        firma.m_dicSpalten.Assign(QStringLiteral("Node"), qint32(1));
        firma.m_dicSpalten.Assign(QStringLiteral("Name"), QStringLiteral("Firma"));
        AdresseRef a = MakeAdresse(2, QStringLiteral("A"));
        AdresseRef a1 = MakeAdresse(3, QStringLiteral("A1"));
        AdresseRef a1x = MakeAdresse(4, QStringLiteral("A1x"));
        AdresseRef a2 = MakeAdresse(5, QStringLiteral("A2"));
        AdresseRef b = MakeAdresse(6, QStringLiteral("B"));
        AddTo(a1->m_dicAdressen, a1x);
        AddTo(a->m_dicAdressen, a1);
        AddTo(a->m_dicAdressen, a2);
        AddTo(firma.m_dicAdressen, a);
        AddTo(firma.m_dicAdressen, b);

        firma.ShowTree(tree);
        QCOMPARE(Describe(tree.Nodes()), QStringList({
                                             "Node 1|Firma|4|4",
                                             "  Node 2|A|2|1",
                                             "    Node 3|A1|2|1",
                                             "      Node 4|A1x|3|1",
                                             "    Node 5|A2|3|1",
                                             "  Node 6|B|3|1",
                                         }));
        // Drawn collapsed: the view's defaults apply.
        QVERIFY(!tree.isExpanded(tree.Nodes().IndexOf(0)));
    }

    void drawingAgainReplacesEveryNode()
    {
        clsTreeView tree;
        clsFirma first;
        first.m_dicSpalten.Assign(QStringLiteral("Node"), qint32(1));
        AddTo(first.m_dicAdressen, MakeAdresse(2, QStringLiteral("Alt")));
        first.ShowTree(tree);

        clsFirma second;
        second.m_dicSpalten.Assign(QStringLiteral("Node"), qint32(1));
        second.m_dicSpalten.Assign(QStringLiteral("Name"), QStringLiteral("Neu"));
        second.ShowTree(tree);
        QCOMPARE(Describe(tree.Nodes()), QStringList{"Node 1|Neu|4|4"});
    }

    // Reading the missing "Name" adds it, empty, after the other columns.
    void missingNameIsAddedEmpty()
    {
        clsTreeView tree;
        clsFirma firma;
        firma.m_dicSpalten.Assign(QStringLiteral("Node"), qint32(1));
        firma.m_dicSpalten.Assign(QStringLiteral("Ort"), QStringLiteral("Bonn"));
        firma.ShowTree(tree);
        QCOMPARE(tree.Nodes().Text(0), QString());
        QCOMPARE(firma.m_dicSpalten.Keys(), QStringList({"Node", "Ort", "Name"}));
    }

    void duplicateNumberFailsAndKeepsWhatWasDrawn()
    {
        clsTreeView tree;
        clsFirma firma;
        firma.m_dicSpalten.Assign(QStringLiteral("Node"), qint32(1));
        firma.m_dicAdressen.Add(QStringLiteral("2"), MakeAdresse(2, QStringLiteral("A")));
        firma.m_dicAdressen.Add(QStringLiteral("x"), MakeAdresse(2, QStringLiteral("B")));
        QVERIFY_THROWS_EXCEPTION(Failure, firma.ShowTree(tree));
        QCOMPARE(tree.Nodes().Count(), 2);
    }

    void expandedNodeShowsItsExpandedImage()
    {
        clsTreeView tree;
        clsFirma firma;
        firma.m_dicSpalten.Assign(QStringLiteral("Node"), qint32(1));
        AdresseRef a = MakeAdresse(2, QStringLiteral("A"));
        AddTo(a->m_dicAdressen, MakeAdresse(3, QStringLiteral("A1")));
        AddTo(firma.m_dicAdressen, a);
        firma.ShowTree(tree);

        const TreeNodeModel& nodes = tree.Nodes();
        const int node = nodes.FindKey(QStringLiteral("Node 2"));
        QCOMPARE(nodes.ShownImage(node), TreeImage::ClosedBook);
        tree.expand(nodes.IndexOf(node));
        QCOMPARE(nodes.ShownImage(node), TreeImage::OpenBook);
        tree.collapse(nodes.IndexOf(node));
        QCOMPARE(nodes.ShownImage(node), TreeImage::ClosedBook);

        // Expanding everything leaves the page on an address without sub-records.
        QTest::keyClick(&tree, Qt::Key_Asterisk);
        tree.expandAll();
        const int leaf = nodes.FindKey(QStringLiteral("Node 3"));
        tree.expand(nodes.IndexOf(leaf));
        QCOMPARE(nodes.ShownImage(leaf), TreeImage::Page);
    }

    // A name is cut only where it does not fit: the column fills the tree,
    // and grows, with a scroll bar, for the rows in sight that need more,
    // however far down the list they are.
    void columnFillsTheTreeAndGrowsForTheRowsInSight()
    {
        clsFirma firma;
        firma.m_dicSpalten.Assign(QStringLiteral("Node"), qint32(1));
        firma.m_dicSpalten.Assign(QStringLiteral("Name"), QStringLiteral("Firma"));
        constexpr int Count = 3000;
        for (qint32 number = 2; number < Count; ++number)
            AddTo(firma.m_dicAdressen, MakeAdresse(number, QStringLiteral("Hoffmann Anna %1").arg(number)));
        const QString longName = QStringLiteral("Hoffmann-Leutheusser-Schnarrenberger Anna Katharina Maria %1").arg(Count);
        AddTo(firma.m_dicAdressen, MakeAdresse(Count, longName));
        clsTreeView tree;
        tree.resize(320, 350);
        tree.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tree));
        firma.ShowTree(tree);
        tree.expand(tree.Nodes().IndexOf(0));
        QCoreApplication::processEvents();
        QCOMPARE(tree.columnWidth(0), tree.viewport()->width());
        QVERIFY(!tree.horizontalScrollBar()->isVisible());

        const int last = tree.Nodes().Count() - 1;
        tree.SelectItem(last);
        QCoreApplication::processEvents();
        const QRect row = tree.visualRect(tree.Nodes().IndexOf(last));
        QVERIFY(row.width() >= tree.fontMetrics().horizontalAdvance(longName));
        QVERIFY(tree.horizontalScrollBar()->isVisible());
    }

    // "*" expands the selected node and every node below it with children,
    // and leaves the rest of the tree as it was (the selected node's
    // ancestors were opened to show it).
    void starExpandsEveryNodeBelowTheSelectedOne()
    {
        clsFirma firma;
        firma.m_dicSpalten.Assign(QStringLiteral("Node"), qint32(1));
        qint32 number = 2;
        for (int i = 0; i < 3; ++i) {
            const AdresseRef top = MakeAdresse(number++, QStringLiteral("A"));
            const AdresseRef middle = MakeAdresse(number++, QStringLiteral("B"));
            AddTo(middle->m_dicAdressen, MakeAdresse(number++, QStringLiteral("C")));
            AddTo(top->m_dicAdressen, MakeAdresse(number++, QStringLiteral("B")));
            AddTo(top->m_dicAdressen, middle);
            AddTo(firma.m_dicAdressen, top);
        }
        clsTreeView tree;
        firma.ShowTree(tree);
        const TreeNodeModel& nodes = tree.Nodes();
        const int second = nodes.FindKey(QStringLiteral("Node 6"));
        tree.SelectItem(second);
        QTest::keyClick(&tree, Qt::Key_Asterisk);

        for (int node = 0; node < nodes.Count(); ++node) {
            bool below = false, above = false;
            for (int up = node; up != TreeNodeModel::NoNode; up = nodes.Parent(up))
                below = below || up == second;
            for (int up = nodes.Parent(second); up != TreeNodeModel::NoNode; up = nodes.Parent(up))
                above = above || up == node;
            const bool open = (below && !nodes.Children(node).isEmpty()) || above;
            QCOMPARE(tree.isExpanded(nodes.IndexOf(node)), open);
            QCOMPARE(nodes.ShownImage(node), open ? nodes.ExpandedImage(node) : nodes.Image(node));
        }
    }

    // The view lays out expanded rows recursively; however deep a document,
    // nothing done in the tree may lay out more levels than the stack holds.
    void deepDocumentSurvivesWhateverIsDoneInTheTree_data()
    {
        QTest::addColumn<QString>("action");
        QTest::newRow("* on the root") << "*";
        QTest::newRow("expand all") << "expandAll";
        QTest::newRow("select the deepest node") << "select";
        QTest::newRow("keyboard") << "keys";
    }

    void deepDocumentSurvivesWhateverIsDoneInTheTree()
    {
        QFETCH(QString, action);
        constexpr int Depth = 100000;
        clsFirma firma;
        firma.m_dicSpalten.Assign(QStringLiteral("Node"), qint32(1));
        clsDictionary<AdresseRef>* level = &firma.m_dicAdressen;
        for (qint32 number = 2; number < Depth + 2; ++number) {
            const AdresseRef adresse = MakeAdresse(number, QString::number(number));
            AddTo(*level, adresse);
            level = &adresse->m_dicAdressen;
        }
        clsTreeView tree;
        tree.resize(300, 400);
        tree.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tree));
        firma.ShowTree(tree);
        const TreeNodeModel& nodes = tree.Nodes();
        tree.SelectItem(0);

        if (action == QLatin1String("*")) {
            QTest::keyClick(&tree, Qt::Key_Asterisk);
        } else if (action == QLatin1String("expandAll")) {
            tree.expandAll();
        } else if (action == QLatin1String("select")) {
            tree.SelectItem(nodes.Count() - 1);
            // and scrolled sideways to where that row starts
            const int left = tree.visualRect(nodes.IndexOf(nodes.Count() - 1)).left();
            QVERIFY(left >= 0 && left < tree.viewport()->width());
        } else {
            for (const Qt::Key key : {Qt::Key_Asterisk, Qt::Key_End, Qt::Key_Up, Qt::Key_Right, Qt::Key_Down,
                                      Qt::Key_PageDown, Qt::Key_Home, Qt::Key_PageDown, Qt::Key_Left})
                QTest::keyClick(&tree, key);
        }
        QCoreApplication::processEvents();

        // The last level shown has, in place of its sub-record, a row that
        // says deeper levels are not shown.
        const QModelIndex last = nodes.IndexOf(nodes.Count() - 1);
        QCOMPARE(TreeNodeModel::NodeOf(last), TreeNodeModel::MaxShownDepth - 1);
        const QModelIndex deeper = nodes.index(0, 0, last);
        QCOMPARE(deeper.data().toString(), QStringLiteral("Tiefere Ebenen werden nicht angezeigt."));
        QVERIFY(!deeper.flags().testFlag(Qt::ItemIsSelectable));
        QCOMPARE(nodes.rowCount(deeper), 0);
    }
};

ZIDEVAVI_TEST_MAIN(TreeTest)
#include "tst_tree.moc"
