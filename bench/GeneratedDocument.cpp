#include "GeneratedDocument.h"

#include <QStringList>

namespace {

// A fixed sequence, so every run writes the same file.
class Dice
{
public:
    quint32 Next()
    {
        m_state = m_state * 6364136223846793005ULL + 1442695040888963407ULL;
        return quint32(m_state >> 33);
    }
    int Below(int n) { return int(Next() % quint32(n)); }
    bool OneIn(int n) { return Below(n) == 0; }
    QString Pick(const QStringList& list) { return list[Below(int(list.size()))]; }

private:
    quint64 m_state = 20240601;
};

const QStringList LastNames = {
    u"Müller"_qs,  u"Schmidt"_qs, u"Schneider"_qs, u"Fischer"_qs, u"Weiß"_qs,     u"Schäfer"_qs, u"Groß"_qs,
    u"Köhler"_qs,  u"Meier"_qs,   u"Wagner"_qs,    u"Becker"_qs,  u"Hoffmann"_qs, u"Schulz"_qs,  u"Koch"_qs,
    u"Bauer"_qs,   u"Richter"_qs, u"Klein"_qs,     u"Wolf"_qs,    u"Schröder"_qs, u"Neumann"_qs, u"Krüger"_qs,
    u"Meißner"_qs, u"Jäger"_qs,   u"Günther"_qs,   u"Böhm"_qs,    u"Voß"_qs,      u"Fuß"_qs,     u"Lehmann"_qs,
};
const QStringList FirstNames = {
    u"Jürgen"_qs, u"Sören"_qs, u"Günter"_qs, u"Björn"_qs, u"Käthe"_qs,  u"Hans"_qs, u"Anna"_qs,  u"Lena"_qs,
    u"Jörg"_qs,   u"Uwe"_qs,   u"Renée"_qs,  u"Zoë"_qs,   u"Grete"_qs,  u"Timo"_qs, u"Ülkü"_qs,  u"Maximilian"_qs,
};
struct Town
{
    const char16_t* name;
    const char16_t* code;
    const char16_t* area;
};
const Town Towns[] = {
    {u"Köln", u"50667", u"221"},      {u"München", u"80331", u"89"},      {u"Düsseldorf", u"40213", u"211"},
    {u"Nürnberg", u"90402", u"911"},  {u"Würzburg", u"97070", u"931"},    {u"Lübeck", u"23552", u"451"},
    {u"Göttingen", u"37073", u"551"}, {u"Gießen", u"35390", u"641"},      {u"Saarbrücken", u"66111", u"681"},
    {u"Osnabrück", u"49074", u"541"}, {u"Bad Tölz", u"83646", u"8041"},  {u"Berlin", u"10115", u"30"},
    {u"Hamburg", u"20095", u"40"},    {u"Frankfurt am Main", u"60311", u"69"}, {u"Weißenfels", u"06667", u"3443"},
};
const QStringList Streets = {
    u"Hauptstraße"_qs, u"Bahnhofstraße"_qs, u"Schloßallee"_qs, u"Große Bleichen"_qs,
    u"Königsallee"_qs, u"Am Mühlbach"_qs,   u"Lindenstraße"_qs, u"Goethestraße"_qs,
};
const QStringList Companies = {
    u"Müller & Söhne GmbH"_qs,       u"Bau & Holz KG"_qs,         u"Gaststätte „Zur Linde“"_qs,
    u"Schmidt <Vertrieb>"_qs,        u"Großhandel Köhler e. K."_qs, u"Fuß & Partner – Steuerberatung"_qs,
    u"Bäckerei Weiß"_qs,             u"Preise > 100 € auf Anfrage"_qs,
};
const QStringList Departments = {u"Einkauf"_qs, u"Vertrieb"_qs, u"Geschäftsführung"_qs, u"Buchhaltung"_qs, QString()};
const QStringList Functions = {u"Geschäftsführer – Vertrieb"_qs, u"Einkäuferin"_qs, u"Prokurist"_qs, QString(),
                               QString()};

QString Ascii(QString text)
{
    text.replace(u"ä"_qs, u"ae"_qs).replace(u"ö"_qs, u"oe"_qs).replace(u"ü"_qs, u"ue"_qs).replace(u"ß"_qs, u"ss"_qs);
    text.replace(u"é"_qs, u"e"_qs).replace(u"ë"_qs, u"e"_qs).replace(u"Ü"_qs, u"Ue"_qs);
    return text.toLower();
}

AdresseRef MakeAddress(Dice& dice, qint32 number)
{
    const bool woman = dice.OneIn(2);
    const QString last = dice.Pick(LastNames);
    const QString first = dice.Pick(FirstNames);
    const Town& town = Towns[dice.Below(int(std::size(Towns)))];
    const QString phone = u"+49 "_qs + QString::fromUtf16(town.area) + u' ' + QString::number(100000 + dice.Below(9000000));
    const bool company = dice.OneIn(3);

    auto adresse = std::make_shared<clsAdresse>();
    auto& spalten = adresse->m_dicSpalten;
    spalten.Add(u"Node"_qs, number);
    spalten.Add(u"Name"_qs, last + u", "_qs + first);
    spalten.Add(u"Anrede"_qs, woman ? u"Frau"_qs : u"Herr"_qs);
    spalten.Add(u"Typ"_qs, woman ? u"W"_qs : u"M"_qs);
    spalten.Add(u"Vorname"_qs, first);
    spalten.Add(u"Name2"_qs, company ? dice.Pick(Companies) : last);
    spalten.Add(u"Name3"_qs, QString());
    spalten.Add(u"Titel"_qs, dice.OneIn(8) ? u"Dr."_qs : QString());
    spalten.Add(u"Strasse"_qs, dice.Pick(Streets) + u' ' + QString::number(1 + dice.Below(120)));
    spalten.Add(u"Ort"_qs, QString::fromUtf16(town.name));
    spalten.Add(u"PLZ"_qs, QString::fromUtf16(town.code));
    spalten.Add(u"Land"_qs, dice.OneIn(10) ? u"Österreich"_qs : u"Deutschland"_qs);
    spalten.Add(u"Telefon"_qs, phone);
    spalten.Add(u"Telefon2"_qs, dice.OneIn(4) ? phone + u"-2"_qs : QString());
    spalten.Add(u"Mobiltelefon"_qs, dice.OneIn(2) ? u"+49 170 "_qs + QString::number(1000000 + dice.Below(8999999)) : QString());
    spalten.Add(u"Fax"_qs, dice.OneIn(3) ? phone + u"-99"_qs : QString());
    spalten.Add(u"EMail"_qs, Ascii(first + u'.' + last) + u"@example.de"_qs);
    spalten.Add(u"Internet"_qs, u"www."_qs + Ascii(last) + u".de"_qs);
    spalten.Add(u"Abteilung"_qs, dice.Pick(Departments));
    spalten.Add(u"Funktion"_qs, dice.Pick(Functions));
    if (dice.OneIn(20))
        spalten.Add(u"Kennzeichen"_qs, dice.OneIn(2) ? u"VIP"_qs : u"A<B"_qs);
    return adresse;
}

void AddTo(clsDictionary<AdresseRef>& parent, const AdresseRef& adresse)
{
    parent.Add(adresse->m_dicSpalten.Find(u"Node"_qs)->Text(), adresse);
}

}

FirmaRef GenerateDocument(int count, DocumentShape shape)
{
    Dice dice;
    auto firma = std::make_shared<clsFirma>();
    firma->m_dicSpalten.Add(u"Node"_qs, qint32(1));
    firma->m_dicSpalten.Add(u"Name"_qs, u"Adressen „Süd“ – Müller & Co."_qs);
    qint32 number = 1;
    int made = 0;
    while (made < count) {
        const AdresseRef top = MakeAddress(dice, ++number);
        AddTo(firma->m_dicAdressen, top);
        ++made;
        if (shape == DocumentShape::Nested) {
            for (int i = 1; i < 100 && made < count; ++i, ++made)
                AddTo(top->m_dicAdressen, MakeAddress(dice, ++number));
        } else if (shape == DocumentShape::Realistic && made < count && dice.Below(100) < 28) {
            // Some have a contact below them, and a few of those another one.
            const AdresseRef child = MakeAddress(dice, ++number);
            AddTo(top->m_dicAdressen, child);
            ++made;
            if (made < count && dice.OneIn(4)) {
                AddTo(child->m_dicAdressen, MakeAddress(dice, ++number));
                ++made;
            }
        }
    }
    return firma;
}
