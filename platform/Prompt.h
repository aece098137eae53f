#pragma once

#include <QString>

#include <optional>

class QWidget;

// Every message box and file dialog of the program goes through the current
// Prompt. The program uses the Qt dialogs; tests install one that records
// what was asked and answers from a queue, so nothing ever blocks on a window.
class Prompt
{
public:
    enum class Icon { None, Critical, Exclamation, Information };

    struct FileRequest
    {
        enum class Kind { Open, Save };
        Kind kind = Kind::Open;
        QString title;
        // As the program states it: "label|pattern", e.g. "XML Dateien (*xml)|*.xml".
        QString filter;
        QString directory;
        QString defaultSuffix;
    };

    virtual ~Prompt() = default;

    // A modal message box with an OK button only.
    virtual void MsgBox(QWidget* parent, const QString& prompt, const QString& title, Icon icon) = 0;
    // A modal question with "Ja" and "Nein", "Nein" the default: true for "Ja".
    virtual bool AskYesNo(QWidget* parent, const QString& prompt, const QString& title, Icon icon) = 0;
    // The chosen full path, or an empty text when the user cancelled.
    virtual QString AskFileName(QWidget* parent, const FileRequest& request) = 0;
    // A modal dialog asking for one line of text, proposing proposed: the
    // text entered, or nothing when the user cancelled.
    virtual std::optional<QString> InputBox(QWidget* parent, const QString& prompt, const QString& title,
                                            const QString& proposed) = 0;
};

Prompt& CurrentPrompt();
// Installs a replacement (tests); nullptr restores the Qt dialogs.
void SetPrompt(Prompt* prompt);

// "label|pattern|label|pattern" as Qt's file dialogs take it: "label (pattern)"
// per file type, with the label kept as written.
QString ToQtNameFilters(const QString& filter);
