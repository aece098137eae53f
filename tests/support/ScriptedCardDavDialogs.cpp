#include "ScriptedCardDavDialogs.h"

#include <QObject>
#include <QTimer>

namespace {

class RecordedProgress final : public CardDavDialogs::Progress
{
public:
    RecordedProgress(ScriptedCardDavDialogs& owner, std::function<void()> onCancel)
        : m_owner(owner), m_onCancel(std::move(onCancel))
    {
        ++m_owner.openProgressWindows;
    }
    ~RecordedProgress() override { --m_owner.openProgressWindows; }

    void SetText(const QString& text) override
    {
        m_owner.progressTexts.append(text);
        const QString& trigger = m_owner.cancelWhenProgressSays;
        // Pressed as a user would, while the request is on its way.
        if (!trigger.isEmpty() && text.contains(trigger))
            QTimer::singleShot(0, &m_context, [cancel = m_onCancel] { cancel(); });
    }

private:
    ScriptedCardDavDialogs& m_owner;
    std::function<void()> m_onCancel;
    QObject m_context; // no press after the window is gone
};

}

ScriptedCardDavDialogs::ScriptedCardDavDialogs()
{
    SetCardDavDialogs(this);
}

ScriptedCardDavDialogs::~ScriptedCardDavDialogs()
{
    SetCardDavDialogs(nullptr);
}

bool ScriptedCardDavDialogs::AskLogin(QWidget*, Login& asked)
{
    proposed.append(asked);
    if (!login)
        return false;
    asked = *login;
    return true;
}

bool ScriptedCardDavDialogs::PickBooks(QWidget*, QList<Book>& books)
{
    offered.append(books);
    if (cancelPick)
        return false;
    for (Book& book : books) {
        if (untick.contains(book.name))
            book.ticked = false;
    }
    return true;
}

std::unique_ptr<CardDavDialogs::Progress> ScriptedCardDavDialogs::ShowProgress(QWidget*, std::function<void()> onCancel)
{
    return std::make_unique<RecordedProgress>(*this, std::move(onCancel));
}
