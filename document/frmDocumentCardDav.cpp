// Import › CardDAV-Adressbuch: the cards of the user's books on a server,
// fetched first with a progress window, then imported as the address
// book's are.
#include "document/frmDocument.h"

#include "contacts/ContactBooks.h"
#include "contacts/carddav/CardDavBooks.h"
#include "contacts/carddav/DavConnection.h"
#include "contacts/carddav/ServerAddress.h"
#include "document/CardDavDialogs.h"
#include "platform/Prompt.h"
#include "platform/Settings.h"
#include "platform/ShowError.h"

namespace {

const QString AppName = QStringLiteral("Zidevavi");
const QString Section = QStringLiteral("CardDAV");

// The progress window and the certificate question, for the connection.
class WindowQuestions final : public DavQuestions
{
public:
    explicit WindowQuestions(QWidget* parent) : m_parent(parent) {}

    void Show(std::function<void()> onCancel)
    {
        m_progress = CurrentCardDavDialogs().ShowProgress(m_parent, std::move(onCancel));
    }
    void Close() { m_progress.reset(); }

    bool TrustCertificate(const QString& server, const QString& fingerprint, const QStringList& reasons) override
    {
        return CurrentPrompt().AskYesNo(
            m_parent,
            QStringLiteral("Dem Zertifikat des Servers \u201E%1\u201C vertraut das System nicht:\n%2\n\n"
                           "SHA-256-Fingerabdruck:\n%3\n\nVergleichen Sie den Fingerabdruck mit dem, den der "
                           "Betreiber des Servers nennt. Soll diesem Zertifikat für diesen Server künftig vertraut "
                           "werden?")
                .arg(server, reasons.join(QLatin1Char('\n')), fingerprint),
            QStringLiteral("Unbekanntes Zertifikat"), Prompt::Icon::Exclamation);
    }

    void Progress(const QString& text) override
    {
        if (m_progress)
            m_progress->SetText(text);
    }

private:
    QWidget* m_parent;
    std::unique_ptr<CardDavDialogs::Progress> m_progress;
};

bool AgreesToUnencrypted(QWidget* parent, const QUrl& url)
{
    return CurrentPrompt().AskYesNo(
        parent,
        QStringLiteral("Die Adresse \u201E%1\u201C ist unverschlüsselt (http): Benutzername und Kennwort würden "
                       "lesbar über das Netz übertragen, ebenso alle Kontakte.\n\nTrotzdem verbinden?")
            .arg(url.toDisplayString()),
        QStringLiteral("Unverschlüsselte Verbindung"), Prompt::Icon::Exclamation);
}

// The books to read: all of them when there is one, else those the user
// ticks. Empty when the user cancelled.
std::vector<DavBook> ChosenBooks(QWidget* parent, std::vector<DavBook> books)
{
    if (books.size() == 1)
        return books;
    QList<CardDavDialogs::Book> offered;
    for (const DavBook& book : books)
        offered.append({book.name, book.url.toDisplayString(), book.proposed});
    if (!CurrentCardDavDialogs().PickBooks(parent, offered))
        return {};
    std::vector<DavBook> chosen;
    for (qsizetype i = 0; i < offered.size(); ++i) {
        if (offered[i].ticked)
            chosen.push_back(books[size_t(i)]);
    }
    return chosen;
}

}

void frmDocument::LoadCardDav()
{
    CardDavDialogs::Login login{GetSetting(AppName, Section, QStringLiteral("Server"), QString()),
                                GetSetting(AppName, Section, QStringLiteral("Benutzername"), QString()), QString()};
    if (!CurrentCardDavDialogs().AskLogin(this, login))
        return;
    SaveSetting(AppName, Section, QStringLiteral("Server"), login.server);
    SaveSetting(AppName, Section, QStringLiteral("Benutzername"), login.user);

    std::vector<ContactBook> read;
    try {
        const QUrl address = CardDavAddress(login.server);
        if (IsUnencryptedToOtherMachine(address) && !AgreesToUnencrypted(this, address))
            return;
        WindowQuestions questions(this);
        DavConnection dav(address, login.user, login.password, questions);
        questions.Show([&dav] { dav.Cancel(); });
        questions.Progress(QStringLiteral("Adressbücher auf \u201E%1\u201C werden gesucht \u2026").arg(ServerName(address)));
        std::vector<DavBook> books = FindAddressBooks(dav, address);
        if (books.size() > 1) {
            questions.Close();
            books = ChosenBooks(this, std::move(books));
            if (books.empty())
                return;
            questions.Show([&dav] { dav.Cancel(); });
        }
        for (const DavBook& book : books)
            read.push_back(FetchAddressBook(dav, book));
    } catch (const DavCancelled&) {
        return;
    } catch (...) {
        ShowError(objectName(), QStringLiteral("LoadCardDav"));
        return;
    }
    ImportFrom(CreateBookApplication(std::move(read))->GetNamespace(QStringLiteral("MAPI")), QStringLiteral("LoadCardDav"));
}
