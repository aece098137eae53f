#pragma once

#include "document/CardDavDialogs.h"

#include <QStringList>

#include <optional>

// Stands in for the CardDAV import's windows: answers the sign-in from
// `login` (none is a cancel), keeps the proposed ticks of the books (or
// unticks those named, or cancels), records the progress texts and can
// press "Abbrechen" from inside the network's event loop when a text
// appears. Installs itself for its lifetime.
class ScriptedCardDavDialogs final : public CardDavDialogs
{
public:
    ScriptedCardDavDialogs();
    ~ScriptedCardDavDialogs() override;

    bool AskLogin(QWidget* parent, Login& login) override;
    bool PickBooks(QWidget* parent, QList<Book>& books) override;
    std::unique_ptr<Progress> ShowProgress(QWidget* parent, std::function<void()> onCancel) override;

    std::optional<Login> login;
    QList<Login> proposed;

    bool cancelPick = false;
    QStringList untick;
    QList<QList<Book>> offered;

    QString cancelWhenProgressSays;
    QStringList progressTexts;
    int openProgressWindows = 0;
};
