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

QString RecordingPrompt::AskFileName(QWidget*, const FileRequest& request)
{
    fileRequests.append(request);
    return fileAnswers.isEmpty() ? QString() : fileAnswers.dequeue();
}
