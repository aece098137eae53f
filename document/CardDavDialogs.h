#pragma once

#include <QList>
#include <QString>

#include <functional>
#include <memory>

class QWidget;

// The windows of Import › CardDAV-Adressbuch: the sign-in, the choice of
// books and the progress window. The program shows Qt dialogs; tests
// install their own answers, so that nothing ever waits for a click.
class CardDavDialogs
{
public:
    struct Login
    {
        QString server;
        QString user;
        QString password; // held in memory for one import, never written anywhere
    };

    struct Book
    {
        QString name;
        QString address;
        bool ticked = true;
    };

    // The window that shows what the network is doing; closed when it is
    // destroyed. Its "Abbrechen" calls the function given when it was made.
    class Progress
    {
    public:
        virtual ~Progress() = default;
        virtual void SetText(const QString& text) = 0;
    };

    virtual ~CardDavDialogs() = default;

    // "CardDAV-Adressbuch importieren": login comes in with the proposal
    // and goes out as typed. False when the user cancelled.
    virtual bool AskLogin(QWidget* parent, Login& login) = 0;
    // The list of books, each ticked as proposed; goes out with the user's
    // ticks. False when the user cancelled.
    virtual bool PickBooks(QWidget* parent, QList<Book>& books) = 0;
    virtual std::unique_ptr<Progress> ShowProgress(QWidget* parent, std::function<void()> onCancel) = 0;
};

CardDavDialogs& CurrentCardDavDialogs();
// Installs a replacement (tests); nullptr restores the Qt dialogs.
void SetCardDavDialogs(CardDavDialogs* dialogs);
