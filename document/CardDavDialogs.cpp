#include "document/CardDavDialogs.h"

#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressDialog>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString Title = QStringLiteral("CardDAV-Adressbuch importieren");

QDialogButtonBox* OkCancel(QDialog& dialog)
{
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Abbrechen"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    return buttons;
}

class QtProgress final : public CardDavDialogs::Progress
{
public:
    QtProgress(QWidget* parent, std::function<void()> onCancel) : m_dialog(parent)
    {
        m_dialog.setWindowTitle(Title);
        m_dialog.setWindowModality(Qt::WindowModal);
        m_dialog.setRange(0, 0); // how much is still to come is not known
        m_dialog.setMinimumDuration(0);
        m_dialog.setMinimumWidth(420);
        m_dialog.setAutoClose(false);
        m_dialog.setAutoReset(false);
        m_dialog.setCancelButtonText(QStringLiteral("Abbrechen"));
        QObject::connect(&m_dialog, &QProgressDialog::canceled, &m_dialog, std::move(onCancel));
        m_dialog.show();
    }

    void SetText(const QString& text) override { m_dialog.setLabelText(text); }

private:
    QProgressDialog m_dialog;
};

class QtCardDavDialogs final : public CardDavDialogs
{
public:
    bool AskLogin(QWidget* parent, Login& login) override
    {
        QDialog dialog(parent);
        dialog.setWindowTitle(Title);
        auto* server = new QLineEdit(login.server);
        server->setPlaceholderText(QStringLiteral("https://cloud.example.de"));
        server->setMinimumWidth(340);
        auto* user = new QLineEdit(login.user);
        auto* password = new QLineEdit;
        password->setEchoMode(QLineEdit::Password);
        auto* hint = new QLabel(QStringLiteral("Die Adresse des Servers oder eines Adressbuchs darauf. "
                                               "Das Kennwort wird nirgends gespeichert."));
        hint->setWordWrap(true);
        auto* form = new QFormLayout;
        form->addRow(QStringLiteral("&Server:"), server);
        form->addRow(QStringLiteral("&Benutzername:"), user);
        form->addRow(QStringLiteral("&Kennwort:"), password);
        auto* layout = new QVBoxLayout(&dialog);
        layout->addLayout(form);
        layout->addWidget(hint);
        QDialogButtonBox* buttons = OkCancel(dialog);
        layout->addWidget(buttons);
        QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
        const auto update = [=] { ok->setEnabled(!server->text().trimmed().isEmpty()); };
        QObject::connect(server, &QLineEdit::textChanged, &dialog, update);
        update();
        (login.server.isEmpty() ? server : login.user.isEmpty() ? user : password)->setFocus();
        if (dialog.exec() != QDialog::Accepted)
            return false;
        login = {server->text().trimmed(), user->text(), password->text()};
        return true;
    }

    bool PickBooks(QWidget* parent, QList<Book>& books) override
    {
        QDialog dialog(parent);
        dialog.setWindowTitle(Title);
        dialog.setMinimumWidth(460); // room for the whole title
        auto* list = new QListWidget;
        for (const Book& book : books) {
            auto* item = new QListWidgetItem(book.name, list);
            item->setToolTip(book.address);
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
            item->setCheckState(book.ticked ? Qt::Checked : Qt::Unchecked);
        }
        auto* layout = new QVBoxLayout(&dialog);
        layout->addWidget(new QLabel(QStringLiteral("Welche Adressbücher sollen importiert werden?")));
        layout->addWidget(list);
        QDialogButtonBox* buttons = OkCancel(dialog);
        layout->addWidget(buttons);
        QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
        const auto update = [=] {
            bool any = false;
            for (int row = 0; row < list->count(); ++row)
                any = any || list->item(row)->checkState() == Qt::Checked;
            ok->setEnabled(any);
        };
        QObject::connect(list, &QListWidget::itemChanged, &dialog, update);
        update();
        if (dialog.exec() != QDialog::Accepted)
            return false;
        for (int row = 0; row < list->count(); ++row)
            books[row].ticked = list->item(row)->checkState() == Qt::Checked;
        return true;
    }

    std::unique_ptr<Progress> ShowProgress(QWidget* parent, std::function<void()> onCancel) override
    {
        return std::make_unique<QtProgress>(parent, std::move(onCancel));
    }
};

CardDavDialogs* g_replacement = nullptr;

}

CardDavDialogs& CurrentCardDavDialogs()
{
    static QtCardDavDialogs qtDialogs;
    return g_replacement ? *g_replacement : qtDialogs;
}

void SetCardDavDialogs(CardDavDialogs* dialogs)
{
    g_replacement = dialogs;
}
