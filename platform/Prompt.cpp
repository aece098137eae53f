#include "platform/Prompt.h"

#include <QFileDialog>
#include <QMessageBox>

namespace {

class QtPrompt final : public Prompt
{
public:
    void MsgBox(QWidget* parent, const QString& prompt, const QString& title, Icon icon) override
    {
        QMessageBox box(ToQtIcon(icon), title, prompt, QMessageBox::Ok, parent);
        box.exec();
    }

    QString AskFileName(QWidget* parent, const FileRequest& request) override
    {
        QFileDialog dialog(parent, request.title, request.directory, ToQtNameFilters(request.filter));
        if (request.kind == FileRequest::Kind::Save) {
            dialog.setAcceptMode(QFileDialog::AcceptSave);
            dialog.setFileMode(QFileDialog::AnyFile);
            dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
        } else {
            dialog.setAcceptMode(QFileDialog::AcceptOpen);
            dialog.setFileMode(QFileDialog::ExistingFile);
        }
        dialog.setDefaultSuffix(request.defaultSuffix);
        // A file type shows its label as written, without the patterns added to it.
        dialog.setOption(QFileDialog::HideNameFilterDetails);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return QString();
        return dialog.selectedFiles().constFirst();
    }

private:
    static QMessageBox::Icon ToQtIcon(Icon icon)
    {
        switch (icon) {
        case Icon::Critical:
            return QMessageBox::Critical;
        case Icon::Exclamation:
            return QMessageBox::Warning;
        case Icon::Information:
            return QMessageBox::Information;
        case Icon::None:
            break;
        }
        return QMessageBox::NoIcon;
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
