#pragma once

#include "platform/Prompt.h"

#include <QList>
#include <QQueue>

// Stands in for the message boxes and file dialogs: records what was shown
// and answers file dialogs from a queue (an empty answer is a cancel).
// Installs itself for its lifetime.
class RecordingPrompt final : public Prompt
{
public:
    struct Message
    {
        QString prompt;
        QString title;
        Icon icon;
    };

    RecordingPrompt();
    ~RecordingPrompt() override;

    void MsgBox(QWidget* parent, const QString& prompt, const QString& title, Icon icon) override;
    bool AskYesNo(QWidget* parent, const QString& prompt, const QString& title, Icon icon) override;
    QString AskFileName(QWidget* parent, const FileRequest& request) override;

    QList<Message> messages;
    QList<FileRequest> fileRequests;
    QQueue<QString> fileAnswers;
    // Questions asked, answered from the queue; "Nein" when it is empty.
    QList<Message> questions;
    QQueue<bool> yesNoAnswers;
};
