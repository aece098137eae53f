#include "info/frmSplash.h"

#include "info/InfoPictures.h"
#include "info/VersionText.h"
#include "platform/Twips.h"

#include <QCloseEvent>
#include <QFrame>
#include <QLabel>

frmSplash::frmSplash(QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("frmSplash"));
    setWindowTitle(QStringLiteral("Zidevavi"));
    TwipLayout layout(font());
    layout.MakeRoom(VersionText(), 2655, 1);
    setFixedSize(layout.Size(7455, 4710));

    auto* fraMainFrame = new QFrame(this);
    fraMainFrame->setObjectName(QStringLiteral("fraMainFrame"));
    fraMainFrame->setFrameShape(QFrame::Box);
    fraMainFrame->setFrameShadow(QFrame::Sunken);
    fraMainFrame->setGeometry(layout.Rect(45, 0, 7380, 4590));
    const QPoint frameOrigin = fraMainFrame->geometry().topLeft();
    auto inFrame = [&](int left, int top, int width, int height) {
        return layout.Rect(left, top, width, height).translated(-frameOrigin);
    };

    auto* Picture1 = new QLabel(fraMainFrame);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setGeometry(inFrame(3960, 600, 2895, 615));
    Picture1->setPixmap(BannerPicture(Picture1->size()));

    auto* picLogo = new QLabel(fraMainFrame);
    picLogo->setObjectName(QStringLiteral("picLogo"));
    picLogo->setGeometry(inFrame(510, 1800, 540, 540));
    picLogo->setPixmap(LogoPicture(picLogo->size()));

    QFont productFont(QStringLiteral("MS Sans Serif"));
    productFont.setPointSizeF(18);
    productFont.setBold(true);
    auto* lblCompanyProduct = new QLabel(QStringLiteral("Zidevavi"), fraMainFrame);
    lblCompanyProduct->setObjectName(QStringLiteral("lblCompanyProduct"));
    lblCompanyProduct->setFont(layout.Scaled(productFont));
    lblCompanyProduct->move(inFrame(1320, 1800, 1905, 435).topLeft());
    lblCompanyProduct->adjustSize();

    QFont platformFont(QStringLiteral("MS Sans Serif"));
    platformFont.setPointSizeF(13.5);
    platformFont.setBold(true);
    auto* lblPlatform = new QLabel(QStringLiteral("Windows XP/2000/NT"), fraMainFrame);
    lblPlatform->setObjectName(QStringLiteral("lblPlatform"));
    lblPlatform->setFont(layout.Scaled(platformFont));
    lblPlatform->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblPlatform->adjustSize();
    // Sized to its text and right-aligned: its right edge stays where designed.
    const QRect platformRect = inFrame(3960, 3480, 3060, 360);
    lblPlatform->move(platformRect.right() + 1 - lblPlatform->width(), platformRect.top());

    lblVersion = new QLabel(QStringLiteral("Version"), fraMainFrame);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    lblVersion->setGeometry(inFrame(4080, 3960, 2655, 255));

    Form_Load();
}

void frmSplash::Form_Load()
{
    lblVersion->setText(VersionText());
}

void frmSplash::closeEvent(QCloseEvent* event)
{
    if (m_releasing)
        event->accept();
    else
        event->ignore();
}

void CloseSplash(frmSplash* splash)
{
    splash->m_releasing = true;
    splash->close();
    delete splash;
}
