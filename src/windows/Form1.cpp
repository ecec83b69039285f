#include "windows/Form1.h"

#include "runtime/Runtime.h"
#include "session/ClaimSubmission.h"
#include "session/PortalCommands.h"
#include "session/Session.h"
#include "session/Startup.h"
#include "windows/BusyCursor.h"
#include "windows/DesignedControls.h"
#include "windows/Twips.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>

namespace {

// Placeholders until the practice's support lines are known.
const QString supportContacts = QStringLiteral("Medical Support:(555) 555-0100") + QString(7, u' ')
    + QStringLiteral("Dental Support:(555) 555-0101") + QString(1, u' ') + QStringLiteral("Email:medical@qrn.example")
    + QString(11, u' ') + QStringLiteral("Email:dental@qrn.example");

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

    m_yourSiteId = DesignedControls::textBox(this, "YourSiteID", QRect(2880, 2280, 615, 285), label3->text());

    QLabel *label4 = addLabel("Label4", supportContacts, 1560, 1440, 5055, 615, font());
    label4->setWordWrap(true);
    for (QLabel *framed : {label1, label2, label4}) {
        framed->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        framed->setLineWidth(1);
        framed->setAlignment(Qt::AlignCenter);
    }
    label3->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    QPushButton *sendClaims = DesignedControls::button(this, "SendClaims", QStringLiteral("Send Claims"), QRect(1200, 2880, 1215, 375), bold);
    QPushButton *getReports = DesignedControls::button(this, "GetReports", QStringLiteral("Get Reports"), QRect(2640, 2880, 1455, 375), bold);
    QPushButton *exit = DesignedControls::button(this, "Command1", QStringLiteral("Exit"), QRect(6240, 2880, 735, 375), bold);
    QPushButton *resend = DesignedControls::button(this, "Command2", QStringLiteral("Resend Claims"), QRect(4320, 2880, 1455, 375), bold);
    QPushButton *webSite = DesignedControls::button(this, "CmdQRNWebSite", QStringLiteral("QRN Web Site"), QRect(3840, 2280, 1455, 375), bold);
    QPushButton *setup = DesignedControls::button(this, "CmndSetup", QStringLiteral("Setup"), QRect(5520, 2280, 1455, 375), bold);

    // The site id, made before the buttons, comes first without being told.
    setTabOrder(sendClaims, getReports);
    setTabOrder(getReports, exit);
    setTabOrder(exit, resend);
    setTabOrder(resend, webSite);
    setTabOrder(webSite, setup);
    DesignedControls::fitCaptions(this);

    connect(sendClaims, &QPushButton::clicked, this, [this] {
        const BusyCursor busy;
        const SendOutcome outcome = ClaimSubmission::sendClaims(m_session);
        if (!outcome.message.isEmpty())
            m_session.runtime().messageBox(outcome.message, Host::Buttons::Ok, outcome.details);
    });
    connect(getReports, &QPushButton::clicked, this, [this] { PortalCommands::getReports(m_session); });
    connect(resend, &QPushButton::clicked, this, [this] { PortalCommands::resendClaims(m_session); });
    connect(webSite, &QPushButton::clicked, this, [this] { PortalCommands::webSite(m_session); });
    connect(setup, &QPushButton::clicked, this, [this] { PortalCommands::setup(m_session); });
    connect(exit, &QPushButton::clicked, this, [this] { PortalCommands::exit(m_session); });

    connect(m_yourSiteId, &QLineEdit::textChanged, this, [this](const QString &text) { m_session.mainWindow().setSiteId(text); });
    connect(&m_session.mainWindow(), &MainWindowFields::updated, this, &Form1::follow);
    follow();
}

QLabel *Form1::addLabel(const char *name, const QString &text, int left, int top, int width, int height,
                        const QFont &font)
{
    auto *label = new QLabel(text, this);
    label->setObjectName(QLatin1String(name));
    label->setFont(font);
    DesignedControls::paint(label, QPalette::Button, QPalette::ButtonText);
    Twips::place(label, left, top, width, height);
    return label;
}

void Form1::follow()
{
    const MainWindowFields &fields = m_session.mainWindow();
    if (m_yourSiteId->text() != fields.siteId()) {
        const QSignalBlocker quiet(m_yourSiteId);
        m_yourSiteId->setText(fields.siteId());
    }
    setVisible(fields.isShown());
}

void Form1::closeEvent(QCloseEvent *event)
{
    event->accept();
    Startup::unload(m_session);
}
