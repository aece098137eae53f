#include "info/frmAbout.h"

#include "info/InfoPictures.h"
#include "info/SysInfoLauncher.h"
#include "info/VersionText.h"
#include "platform/Twips.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

namespace {

// The etched separator: a grey line with a white one, two pixels wide, just
// below it.
class EtchedLine final : public QWidget
{
public:
    EtchedLine(QWidget* parent, const TwipLayout& layout) : QWidget(parent)
    {
        setObjectName(QStringLiteral("Line1"));
        const QPoint greyStart(layout.X(225), layout.Y(2430));
        const QPoint whiteStart(layout.X(240), layout.Y(2445));
        const int right = layout.X(5657);
        setGeometry(QRect(greyStart, QPoint(right, whiteStart.y() + 1)));
        m_grey = QLine(QPoint(0, 0), QPoint(right - greyStart.x(), 0));
        m_whiteTop = whiteStart - greyStart;
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setPen(QColor(0x80, 0x80, 0x80));
        painter.drawLine(m_grey);
        painter.fillRect(QRect(m_whiteTop, QPoint(width() - 1, m_whiteTop.y() + 1)), Qt::white);
    }

private:
    QLine m_grey;
    QPoint m_whiteTop;
};

QLabel* AddLabel(QWidget* parent, const char* name, const QString& text, const QRect& geometry)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(geometry);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setWordWrap(true);
    return label;
}

QLabel* AddPicture(QWidget* parent, const char* name, const QRect& geometry, QPixmap (*picture)(const QSize&))
{
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(geometry);
    label->setPixmap(picture(geometry.size()));
    return label;
}

QPushButton* AddButton(QWidget* parent, const char* name, const QString& caption, const QRect& geometry)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(geometry);
    return button;
}

}

frmAbout::frmAbout(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                         | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("Info Zidevavi"));
    const QString okCaption = QStringLiteral("OK");
    const QString sysInfoCaption = QStringLiteral("&System-Info...");
    TwipLayout layout(font());
    layout.MakeRoom(QCoreApplication::applicationName(), 975, 1);
    layout.MakeRoom(VersionText(), 4092, 1);
    layout.MakeRoom(okCaption, 1467, 2);
    layout.MakeRoom(QString(sysInfoCaption).remove(QLatin1Char('&')), 1452, 2);
    setFixedSize(layout.Size(5865, 3630));

    AddPicture(this, "picIcon", layout.Rect(240, 240, 540, 540), LogoPicture);
    AddPicture(this, "Picture1", layout.Rect(2760, 120, 2895, 615), BannerPicture);
    lblTitle = AddLabel(this, "lblTitle", QString(), layout.Rect(1050, 240, 975, 240));
    lblVersion = AddLabel(this, "lblVersion", QString(), layout.Rect(1050, 780, 4092, 225));
    AddLabel(this, "lblDescription",
             QStringLiteral("Bereitet Adressen für den Import in das Online-Adress-Verwaltungstool Rorozada vor."),
             layout.Rect(1050, 1125, 4092, 1170));
    new EtchedLine(this, layout);
    AddLabel(this, "lblDisclaimer", QString(), layout.Rect(255, 2625, 3870, 825));

    // Created in tab order: OK first, then System-Info.
    cmdOK = AddButton(this, "cmdOK", okCaption, layout.Rect(4245, 2625, 1467, 345));
    cmdSysInfo = AddButton(this, "cmdSysInfo", sysInfoCaption, layout.Rect(4260, 3075, 1452, 345));
    setTabOrder(cmdOK, cmdSysInfo);
    // Enter presses OK through the default button, Escape through reject().
    cmdOK->setDefault(true);
    cmdOK->setFocus();

    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdSysInfo, &QPushButton::clicked, this, &frmAbout::StartSysInfo);

    Form_Load();
}

void frmAbout::Form_Load()
{
    lblTitle->setText(QCoreApplication::applicationName());
    lblVersion->setText(VersionText());
}

void frmAbout::StartSysInfo()
{
    ::StartSysInfo(this);
}
