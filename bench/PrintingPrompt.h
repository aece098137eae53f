#pragma once

#include "platform/Prompt.h"

#include <cstdio>

// Benchmarks run unattended: a failure is printed, not shown in a message
// box that would wait for a click, and remembered so the run can fail.
class PrintingPrompt final : public Prompt
{
public:
    PrintingPrompt() { SetPrompt(this); }
    ~PrintingPrompt() override { SetPrompt(nullptr); }

    void MsgBox(QWidget*, const QString& prompt, const QString& title, Icon) override
    {
        std::fprintf(stderr, "%s: %s\n", qPrintable(title), qPrintable(prompt));
        failed = true;
    }
    bool AskYesNo(QWidget*, const QString& prompt, const QString& title, Icon) override
    {
        std::fprintf(stderr, "%s: %s\n", qPrintable(title), qPrintable(prompt));
        failed = true;
        return false;
    }
    QString AskFileName(QWidget*, const FileRequest&) override { return QString(); }
    std::optional<QString> InputBox(QWidget*, const QString&, const QString&, const QString&) override
    {
        return std::nullopt;
    }

    bool failed = false;
};
