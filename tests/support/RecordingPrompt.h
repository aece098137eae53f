#pragma once

#include "platform/Prompt.h"

#include <QList>
#include <QQueue>

// Stands in for the message boxes and dialogs: records what was shown and
// answers file dialogs and input boxes from queues (an empty file name is a
// cancel). Installs itself for its lifetime.
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
    std::optional<QString> InputBox(QWidget* parent, const QString& prompt, const QString& title,
                                    const QString& proposed) override;

    QList<Message> messages;
    QList<FileRequest> fileRequests;
    QQueue<QString> fileAnswers;
    // Input boxes as asked (prompt, title, proposed text) and their answers;
    // no answer left, or nothing queued, is a cancel.
    struct TextRequest
    {
        QString prompt;
        QString title;
        QString proposed;
    };
    QList<TextRequest> textRequests;
    QQueue<std::optional<QString>> textAnswers;
    // Questions asked, answered from the queue; "Nein" when it is empty.
    QList<Message> questions;
    QQueue<bool> yesNoAnswers;
};
