// The order contacts are sorted in: exactly the collator's, in the user's
// language, case ignored, equal names in their given order.
#include "support/TestMain.h"

#include "contacts/CollatedOrder.h"
#include "model/PackedTexts.h"

#include <QCollator>

#include <algorithm>
#include <numeric>

namespace {

// The order QCollator's own sort keys give, equal names kept in place.
QStringList CollatorOrder(const QStringList& names, bool descending)
{
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::vector<qsizetype> order(size_t(names.size()));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) {
        const int comparison = collator.sortKey(names[a]).compare(collator.sortKey(names[b]));
        return descending ? comparison > 0 : comparison < 0;
    });
    QStringList sorted;
    for (const qsizetype place : order)
        sorted << names[place] + u'#' + QString::number(place);
    return sorted;
}

}

class TestContactOrder : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void contactsSortAsTheLocaleCollates_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<bool>("descending");
        const QStringList german = {
            u"Müller"_qs,      u"Mueller"_qs,   u"Muller"_qs,    u"müller"_qs,       u"MÜLLER"_qs,
            u"Muß"_qs,         u"Muss"_qs,      u"Mus"_qs,       u"O'Brien"_qs,      u"Obrien"_qs,
            u"van der Berg"_qs, u"Vanderberg"_qs, u"Éva"_qs,     u"Eva"_qs,          u"eva"_qs,
            u"Zoë"_qs,         u"Zoe"_qs,       u"Anna-Lena"_qs, u"Anna Lena"_qs,    u"Annalena"_qs,
            u"10 Apotheke"_qs, u"2 Bäcker"_qs,  QString(),       u" Leer"_qs,        u"Šimon"_qs,
            u"Simon"_qs,       u"Straße"_qs,    u"Strasse"_qs,   u"Strase"_qs,       u"Straßer"_qs,
            u"„Zitat“ – €"_qs};
        QTest::newRow("German") << u"de_DE"_qs << german << false;
        QTest::newRow("German, descending") << u"de_DE"_qs << german << true;
        QTest::newRow("letters read as two")
            << u"de_DE"_qs
            << QStringList{u"Æsop"_qs,    u"Aesop"_qs,   u"Annalena"_qs, u"Œuvre"_qs,  u"Oeuvre"_qs,
                           u"½ Liter"_qs, u"1 Liter"_qs, u"2 Liter"_qs,  u"Firma™"_qs, u"FirmaT"_qs}
            << false;
        QTest::newRow("equal names keep their order")
            << u"de_DE"_qs << QStringList{u"b"_qs, u"a"_qs, u"B"_qs, u"A"_qs, u"a"_qs} << false;
        QTest::newRow("outside the code page")
            << u"de_DE"_qs << QStringList{u"山田 太郎"_qs, u"Yamada"_qs, u"Ärger"_qs, u"Łukasz"_qs, u"Lukas"_qs}
            << false;
        // Letters joined into one: "ch" after "h", "aa" after "z".
        QTest::newRow("Czech") << u"cs_CZ"_qs
                               << QStringList{u"chata"_qs, u"hrad"_qs, u"cibule"_qs, u"Ch"_qs, u"h"_qs, u"ida"_qs}
                               << false;
        QTest::newRow("Danish") << u"da_DK"_qs
                                << QStringList{u"Aarhus"_qs, u"Aalborg"_qs, u"Zürich"_qs, u"Odense"_qs, u"Ærø"_qs}
                                << false;
        QTest::newRow("no language") << u"C"_qs << german << false;
    }

    void contactsSortAsTheLocaleCollates()
    {
        QFETCH(QString, locale);
        QFETCH(QStringList, names);
        QFETCH(bool, descending);
        QLocale::setDefault(QLocale(locale));
        PackedTexts packed;
        std::vector<TextSlice> texts;
        for (const QString& name : names)
            texts.push_back(packed.KeepTogether(std::span<const QStringView>({QStringView(name)})));
        QStringList sorted;
        for (const size_t place : CollatedOrder(texts, descending))
            sorted << texts[place].Text() + u'#' + QString::number(place);
        QCOMPARE(sorted, CollatorOrder(names, descending));
    }
};

ZIDEVAVI_TEST_MAIN(TestContactOrder)
#include "tst_contact_order.moc"
