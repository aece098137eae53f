#include "RecordingPrompt.h"

RecordingPrompt::RecordingPrompt()
{
    SetPrompt(this);
}

RecordingPrompt::~RecordingPrompt()
{
    SetPrompt(nullptr);
}

void RecordingPrompt::MsgBox(QWidget*, const QString& prompt, const QString& title, Icon icon)
{
    messages.append({prompt, title, icon});
}

bool RecordingPrompt::AskYesNo(QWidget*, const QString& prompt, const QString& title, Icon icon)
{
    questions.append({prompt, title, icon});
    return !yesNoAnswers.isEmpty() && yesNoAnswers.dequeue();
}

QString RecordingPrompt::AskFileName(QWidget*, const FileRequest& request)
{
    fileRequests.append(request);
    return fileAnswers.isEmpty() ? QString() : fileAnswers.dequeue();
}

std::optional<QString> RecordingPrompt::InputBox(QWidget*, const QString& prompt, const QString& title,
                                                 const QString& proposed)
{
    textRequests.append({prompt, title, proposed});
    return textAnswers.isEmpty() ? std::nullopt : textAnswers.dequeue();
}
