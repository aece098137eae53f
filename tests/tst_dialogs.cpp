// The Qt dialogs behind the program's prompts.
#include "TestMain.h"

#include "platform/QtDialogs.h"

#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QStyle>
#include <QTemporaryDir>
#include <QTextLayout>
#include <QTreeView>

namespace {

// Where lines start when text is wrapped at width.
QList<int> LineStarts(const QString& text, const QFont& font, int width)
{
    QTextLayout layout(text, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(option);
    QList<int> starts;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        starts.append(line.textStart());
    }
    layout.endLayout();
    return starts;
}

}

class DialogsTest : public QObject
{
    Q_OBJECT

private slots:
    void fileListShowsSizesAndDatesInGerman()
    {
        QTemporaryDir folder;
        QFile file(folder.filePath(QStringLiteral("adressen.xml")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(2500, 'x'));
        file.flush();
        QVERIFY(file.setFileTime(QDateTime(QDate(2024, 3, 5), QTime(14, 7)), QFileDevice::FileModificationTime));
        file.close();

        Prompt::FileRequest request;
        request.title = QStringLiteral("Öffnen");
        request.filter = QStringLiteral("XML Dateien (*xml)|*.xml");
        request.directory = folder.path();
        const std::unique_ptr<QFileDialog> dialog = CreateFileDialog(nullptr, request);
        dialog->show();
        auto* list = dialog->findChild<QTreeView*>(QStringLiteral("treeView"));
        QVERIFY(list);
        QTRY_COMPARE(list->model()->rowCount(list->rootIndex()), 1);
        const QModelIndex row = list->model()->index(0, 0, list->rootIndex());
        QCOMPARE(row.siblingAtColumn(1).data().toString(), QStringLiteral("2,44 KiB"));
        QCOMPARE(row.siblingAtColumn(3).data().toString(), QStringLiteral("05.03.24 14:07"));
    }

    // The window manager writes the title in bold beside its buttons.
    void messageBoxIsWideEnoughForItsTitle()
    {
        const QString title = QStringLiteral("Fehler in frmDocument.ShowAdresse");
        const std::unique_ptr<QMessageBox> box = CreateMessageBox(nullptr, u"Überlauf."_qs, title, Prompt::Icon::Critical);
        box->show();
        QFont bold = box->font();
        bold.setBold(true);
        const int buttons = 3 * box->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, box.get());
        QVERIFY(box->width() >= QFontMetrics(bold).horizontalAdvance(title) + buttons);
    }

    // Texts from a file are shown as they are, and a tag name stays on one line.
    void messageKeepsTagNamesWhole()
    {
        const QString prompt = QStringLiteral("Unerwartetes Ende-Tag </Telefon-Privat> an Zeichen 12; erwartet wird "
                                              "</Adresse>. <b>fett</b>");
        const std::unique_ptr<QMessageBox> box = CreateMessageBox(nullptr, prompt, u"Zidevavi"_qs, Prompt::Icon::None);
        auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
        QCOMPARE(label->textFormat(), Qt::PlainText);
        const QString shown = label->text();
        QCOMPARE(QString(shown).remove(QChar(0x2060)), prompt);

        for (int width = 30; width <= 400; width += 5) {
            for (int start : LineStarts(shown, label->font(), width)) {
                const qsizetype open = shown.lastIndexOf(QLatin1Char('<'), start - 1);
                const qsizetype close = shown.lastIndexOf(QLatin1Char('>'), start - 1);
                QVERIFY2(start == 0 || open < close || open == -1,
                         qPrintable(QStringLiteral("width %1: %2").arg(width).arg(shown.mid(start, 12))));
            }
        }
    }
};

ZIDEVAVI_TEST_MAIN(DialogsTest)
#include "tst_dialogs.moc"
