#include "windows/Form1.h"

#include "session/ClaimSubmission.h"
#include "session/PortalCommands.h"
#include "session/Session.h"
#include "session/Startup.h"
#include "windows/BusyCursor.h"
#include "windows/Twips.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <limits>

namespace {

// Placeholders until the practice's support lines are known.
const QString supportContacts = QStringLiteral("Medical Support:(555) 555-0100") + QString(7, u' ')
    + QStringLiteral("Dental Support:(555) 555-0101") + QString(1, u' ') + QStringLiteral("Email:medical@qrn.example")
    + QString(11, u' ') + QStringLiteral("Email:dental@qrn.example");

void buttonFaceColours(QLabel *label)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, palette.color(QPalette::Button));
    palette.setColor(QPalette::WindowText, palette.color(QPalette::ButtonText));
    label->setPalette(palette);
    label->setAutoFillBackground(true);
}

} // namespace

Form1::Form1(Session &session)
    : m_session(session)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("QRNWeb Version 1.3"));
    setFont(Twips::font(8.25, false));
    Twips::resizeClientArea(this, 8295, 4860);

    const QFont bold = Twips::font(8.25, true);
    QLabel *label1 = addLabel("Label1", QStringLiteral("Tessamor Technical Consultants, Inc."), 1920, 240, 4335, 375,
                              Twips::font(12, true));
    QLabel *label2 = addLabel("Label2", QStringLiteral("QRN Electronic Claim Submission and Report Retrieval"), 1200,
                              840, 5775, 375, Twips::font(9.75, true));
    QLabel *label3 = addLabel("Label3", QStringLiteral("Your Site ID is"), 1200, 2280, 1335, 255, bold);

    m_yourSiteId = new QLineEdit(this);
    m_yourSiteId->setObjectName(QStringLiteral("YourSiteID"));
    m_yourSiteId->setMaxLength(std::numeric_limits<int>::max());
    m_yourSiteId->setAccessibleName(label3->text());
    Twips::place(m_yourSiteId, 2880, 2280, 615, 285);

    QLabel *label4 = addLabel("Label4", supportContacts, 1560, 1440, 5055, 615, font());
    label4->setWordWrap(true);
    for (QLabel *framed : {label1, label2, label4}) {
        framed->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        framed->setLineWidth(1);
        framed->setAlignment(Qt::AlignCenter);
    }
    label3->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    QPushButton *sendClaims = addButton("SendClaims", QStringLiteral("Send Claims"), 1200, 2880, 1215);
    QPushButton *getReports = addButton("GetReports", QStringLiteral("Get Reports"), 2640, 2880, 1455);
    QPushButton *exit = addButton("Command1", QStringLiteral("Exit"), 6240, 2880, 735);
    QPushButton *resend = addButton("Command2", QStringLiteral("Resend Claims"), 4320, 2880, 1455);
    QPushButton *webSite = addButton("CmdQRNWebSite", QStringLiteral("QRN Web Site"), 3840, 2280, 1455);
    QPushButton *setup = addButton("CmndSetup", QStringLiteral("Setup"), 5520, 2280, 1455);

    setTabOrder(m_yourSiteId, sendClaims);
    setTabOrder(sendClaims, getReports);
    setTabOrder(getReports, exit);
    setTabOrder(exit, resend);
    setTabOrder(resend, webSite);
    setTabOrder(webSite, setup);

    connect(sendClaims, &QPushButton::clicked, this, [this] {
        const BusyCursor busy;
        ClaimSubmission::sendClaims(m_session);
    });
    connect(getReports, &QPushButton::clicked, this, [this] { PortalCommands::getReports(m_session); });
    connect(resend, &QPushButton::clicked, this, [this] { PortalCommands::resendClaims(m_session); });
    connect(webSite, &QPushButton::clicked, this, [this] { PortalCommands::webSite(m_session); });
    connect(setup, &QPushButton::clicked, this, [this] { PortalCommands::setup(m_session); });
    connect(exit, &QPushButton::clicked, this, [this] { PortalCommands::exit(m_session); });
}

QLabel *Form1::addLabel(const char *name, const QString &text, int left, int top, int width, int height,
                        const QFont &font)
{
    auto *label = new QLabel(text, this);
    label->setObjectName(QLatin1String(name));
    label->setFont(font);
    buttonFaceColours(label);
    Twips::place(label, left, top, width, height);
    return label;
}

QPushButton *Form1::addButton(const char *name, const QString &text, int left, int top, int width)
{
    auto *button = new QPushButton(text, this);
    button->setObjectName(QLatin1String(name));
    button->setFont(Twips::font(8.25, true));
    button->setAutoDefault(false);
    button->setDefault(false);
    Twips::place(button, left, top, width, 375);
    return button;
}

void Form1::load()
{
    Startup::load(m_session);
}

void Form1::closeEvent(QCloseEvent *event)
{
    event->accept();
    Startup::unload(m_session);
}
