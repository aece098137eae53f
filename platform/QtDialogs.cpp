#include "platform/QtDialogs.h"

#include <QFileDialog>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QIdentityProxyModel>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QRegularExpression>
#include <QScreen>
#include <QStyle>
#include <QTextBoundaryFinder>

#include <algorithm>

namespace {

// Qt's file list writes sizes and dates in the system's locale, whatever the
// program's; this one writes them in the program's.
class LocaleFileListModel final : public QIdentityProxyModel
{
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex& index, int role) const override
    {
        enum Column { Name, Size, Type, Modified };
        const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
        if (role != Qt::DisplayRole || !files || (index.column() != Size && index.column() != Modified))
            return QIdentityProxyModel::data(index, role);
        const QModelIndex source = mapToSource(index);
        const QFileInfo info = files->fileInfo(source);
        if (index.column() == Modified)
            return QLocale().toString(info.lastModified(), QLocale::ShortFormat);
        return files->isDir(source) ? QIdentityProxyModel::data(index, role) : QLocale().formattedDataSize(info.size());
    }
};

QMessageBox::Icon ToQtIcon(Prompt::Icon icon)
{
    switch (icon) {
    case Prompt::Icon::Critical:
        return QMessageBox::Critical;
    case Prompt::Icon::Exclamation:
        return QMessageBox::Warning;
    case Prompt::Icon::Information:
        return QMessageBox::Information;
    case Prompt::Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

// Word joiners between the characters of each tag in text keep line breaking
// from splitting it; they are invisible. A tag longer than a line is left to
// break where it must.
QString KeepTagsTogether(const QString& text)
{
    static const QRegularExpression tag(QStringLiteral("<[^\\s<>]{1,60}>"));
    const QChar wordJoiner(0x2060);
    QString result;
    qsizetype done = 0;
    for (const QRegularExpressionMatch& match : tag.globalMatch(text)) {
        result += QStringView(text).mid(done, match.capturedStart() - done);
        const QString name = match.captured();
        QTextBoundaryFinder characters(QTextBoundaryFinder::Grapheme, name);
        qsizetype from = 0;
        while (characters.toNextBoundary() > 0 && characters.position() < name.size()) {
            result += QStringView(name).mid(from, characters.position() - from);
            result += wordJoiner;
            from = characters.position();
        }
        result += QStringView(name).mid(from);
        done = match.capturedEnd();
    }
    result += QStringView(text).mid(done);
    return result;
}

// What the window manager needs for the title: the title in a bold font and
// its buttons beside it.
int TitleBarWidth(const QWidget& box, const QString& title)
{
    QFont bold = box.font();
    bold.setBold(true);
    const int buttons = 4 * box.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &box);
    const int width = QFontMetrics(bold).horizontalAdvance(title) + buttons;
    const QScreen* screen = box.screen();
    return screen ? std::min(width, screen->availableGeometry().width() * 9 / 10) : width;
}

}

std::unique_ptr<QMessageBox> CreateMessageBox(QWidget* parent, const QString& prompt, const QString& title,
                                              Prompt::Icon icon)
{
    auto box = std::make_unique<QMessageBox>(ToQtIcon(icon), title, KeepTagsTogether(prompt), QMessageBox::Ok, parent);
    // Messages quote texts from files, which must never be taken for markup.
    box->setTextFormat(Qt::PlainText);
    // The box sizes itself to its text; a spacer across it makes room for the title.
    if (auto* grid = qobject_cast<QGridLayout*>(box->layout()))
        grid->addItem(new QSpacerItem(TitleBarWidth(*box, title), 0, QSizePolicy::Fixed, QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
    return box;
}

std::unique_ptr<QFileDialog> CreateFileDialog(QWidget* parent, const Prompt::FileRequest& request)
{
    auto dialog = std::make_unique<QFileDialog>(parent, request.title, request.directory, ToQtNameFilters(request.filter));
    if (request.kind == Prompt::FileRequest::Kind::Save) {
        dialog->setAcceptMode(QFileDialog::AcceptSave);
        dialog->setFileMode(QFileDialog::AnyFile);
        dialog->setOption(QFileDialog::DontConfirmOverwrite, false);
    } else {
        dialog->setAcceptMode(QFileDialog::AcceptOpen);
        dialog->setFileMode(QFileDialog::ExistingFile);
    }
    dialog->setDefaultSuffix(request.defaultSuffix);
    // A file type shows its label as written, without the patterns added to it.
    dialog->setOption(QFileDialog::HideNameFilterDetails);
    dialog->setProxyModel(new LocaleFileListModel(dialog.get()));
    return dialog;
}

std::unique_ptr<QInputDialog> CreateInputDialog(QWidget* parent, const QString& prompt, const QString& title,
                                                const QString& proposed)
{
    auto dialog = std::make_unique<QInputDialog>(parent);
    dialog->setInputMode(QInputDialog::TextInput);
    dialog->setWindowTitle(title);
    dialog->setLabelText(prompt);
    dialog->setTextValue(proposed);
    dialog->setOkButtonText(QStringLiteral("OK"));
    dialog->setCancelButtonText(QStringLiteral("Abbrechen"));
    if (auto* field = dialog->findChild<QLineEdit*>())
        field->selectAll();
    return dialog;
}
