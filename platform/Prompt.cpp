#include "platform/Prompt.h"

#include "platform/QtDialogs.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

namespace {

class QtPrompt final : public Prompt
{
public:
    void MsgBox(QWidget* parent, const QString& prompt, const QString& title, Icon icon) override
    {
        CreateMessageBox(parent, prompt, title, icon)->exec();
    }

    bool AskYesNo(QWidget* parent, const QString& prompt, const QString& title, Icon icon) override
    {
        const std::unique_ptr<QMessageBox> box = CreateMessageBox(parent, prompt, title, icon);
        box->setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box->setDefaultButton(QMessageBox::No);
        box->button(QMessageBox::Yes)->setText(QStringLiteral("&Ja"));
        box->button(QMessageBox::No)->setText(QStringLiteral("&Nein"));
        return box->exec() == QMessageBox::Yes;
    }

    QString AskFileName(QWidget* parent, const FileRequest& request) override
    {
        const std::unique_ptr<QFileDialog> dialog = CreateFileDialog(parent, request);
        if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty())
            return QString();
        return dialog->selectedFiles().constFirst();
    }

    std::optional<QString> InputBox(QWidget* parent, const QString& prompt, const QString& title,
                                    const QString& proposed) override
    {
        const std::unique_ptr<QInputDialog> dialog = CreateInputDialog(parent, prompt, title, proposed);
        if (dialog->exec() != QDialog::Accepted)
            return std::nullopt;
        return dialog->textValue();
    }
};

Prompt* g_replacement = nullptr;

}

Prompt& CurrentPrompt()
{
    static QtPrompt qtPrompt;
    return g_replacement ? *g_replacement : qtPrompt;
}

void SetPrompt(Prompt* prompt)
{
    g_replacement = prompt;
}

QString ToQtNameFilters(const QString& filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        filters.append(parts[i] + QStringLiteral(" (") + patterns + QLatin1Char(')'));
    }
    return filters.join(QStringLiteral(";;"));
}
