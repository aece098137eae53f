// FullName and LastFirstSpaceOnly formed from name parts as Outlook forms them.
#include "support/TestMain.h"

#include "contacts/OutlookNames.h"
#include "model/CodePage1252.h"

class TestOutlookNames : public QObject
{
    Q_OBJECT

private slots:
    void names_data()
    {
        QTest::addColumn<QStringList>("parts"); // title, first, middle, last, suffix, company
        QTest::addColumn<QString>("fullName");
        QTest::addColumn<QString>("lastFirst");
        QTest::newRow("western: LastFirstSpaceOnly empty")
            << QStringList{u"Herr"_qs, u"Max"_qs, u"Anderer"_qs, u"Mustermann"_qs, u"sen."_qs, u"Muster AG"_qs}
            << u"Herr Max Anderer Mustermann sen."_qs << QString();
        QTest::newRow("empty and blank parts left out")
            << QStringList{QString(), u" Erika "_qs, u"  "_qs, u"Musterfrau"_qs, QString(), QString()}
            << u"Erika Musterfrau"_qs << QString();
        QTest::newRow("blanks of every kind")
            << QStringList{u"\tFrau\u00A0"_qs, u"\r\nErika\u000B"_qs, u"\u00A0"_qs, u"M\u00A0M"_qs, u"\u000C"_qs,
                           QString()}
            << u"Frau Erika M\u00A0M"_qs << QString();
        QTest::newRow("Japanese: last name first")
            << QStringList{QString(), u"太郎"_qs, QString(), u"山田"_qs, QString(), QString()} << u"太郎 山田"_qs
            << u"山田 太郎"_qs;
        QTest::newRow("Korean company only marks the contact")
            << QStringList{QString(), u"Min"_qs, QString(), u"Kim"_qs, QString(), u"삼성"_qs} << u"Min Kim"_qs
            << u"Kim Min"_qs;
        QTest::newRow("company only: no name at all")
            << QStringList{QString(), QString(), QString(), QString(), QString(), u"Muster AG"_qs} << QString()
            << QString();
    }

    void names()
    {
        QFETCH(QStringList, parts);
        QFETCH(QString, fullName);
        QFETCH(QString, lastFirst);
        QCOMPARE(OutlookFullName(parts[0], parts[1], parts[2], parts[3], parts[4]), fullName);
        QCOMPARE(OutlookLastFirstSpaceOnly(parts[1], parts[2], parts[3], parts[4], parts[5]), lastFirst);

        // The same of parts kept in the code page, where they fit it.
        if (!FitsWindows1252(parts.join(QString())))
            return;
        QByteArrayList bytes;
        for (const QString& part : parts)
            bytes << EncodeWindows1252(part);
        std::string codePage;
        AppendOutlookFullName(bytes[0], bytes[1], bytes[2], bytes[3], bytes[4], codePage);
        QCOMPARE(QByteArray::fromStdString(codePage), EncodeWindows1252(fullName));
    }
};

ZIDEVAVI_TEST_MAIN(TestOutlookNames)
#include "tst_outlook_names.moc"
