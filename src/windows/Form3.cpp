#include "windows/Form3.h"

#include "runtime/Runtime.h"
#include "session/Session.h"
#include "setup/HelpText.h"
#include "setup/SetupBehaviour.h"
#include "setup/SoftwareCatalogue.h"
#include "windows/BusyCursor.h"
#include "windows/ClickableLabel.h"
#include "windows/DesignedControls.h"
#include "windows/DriveSelector.h"
#include "windows/FolderSelector.h"
#include "windows/Twips.h"

#include <QCloseEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

Form3::Form3(Session &session)
    : m_session(session)
{
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("QRNWeb Setup"));
    const QFont windowFont = Twips::font(9.75, true);
    setFont(windowFont);
    Twips::resizeClientArea(this, 9330, 5910);

    const QFont small = Twips::font(8.25, false);
    const QFont smallBold = Twips::font(8.25, true);
    const QFont entry = Twips::font(9.75, false);
    Runtime &rt = session.runtime();

    addLabel("Label1", QStringLiteral("Claim Submission Setup"), 3120, 240, 2535, 255, windowFont, false);

    m_drive = new DriveSelector(this);
    m_drive->setObjectName(QStringLiteral("Drive1"));
    m_drive->setFont(small);
    Twips::place(m_drive, 5520, 1680, 3495, 315);
    m_drive->setDrives(rt.drives());
    m_drive->showDrive(rt.currentFolder());

    m_dir = new FolderSelector(rt, this);
    m_dir->setObjectName(QStringLiteral("Dir1"));
    m_dir->setFont(small);
    Twips::place(m_dir, 5520, 2160, 3495, 1890);
    m_dir->setPath(rt.displayPath(rt.currentFolder()));

    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("SftwrList"));
    m_list->setFont(small);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    Twips::place(m_list, 240, 2040, 3615, 1230);

    m_siteId = DesignedControls::textBox(this, "SiteIDText", QRect(1920, 960, 735, 285), QStringLiteral("Enter Your Site ID"));
    m_siteId->setFont(small);

    addLabel("Label3", QStringLiteral("Wild cards permitted (i.e. *.txt)"), 6840, 5400, 2175, 255, small, false);
    addLabel("Label4", QStringLiteral("Select your software"), 240, 1560, 3615, 255, smallBold, true);
    ClickableLabel *label5 = addLabel(
        "Label5", QStringLiteral("Select the disk drive and folder where your software saves the claim file."), 5520,
        960, 3495, 495, smallBold, true);
    addLabel("Label6", QStringLiteral("Enter Your Site ID"), 240, 960, 1575, 255, smallBold, true);

    QPushButton *help = DesignedControls::button(this, "HelpCommand", QStringLiteral("Help"), QRect(6720, 240, 735, 375), smallBold);
    QPushButton *exit = DesignedControls::button(this, "Command1", QStringLiteral("Exit"), QRect(8160, 240, 735, 375), smallBold);

    ClickableLabel *label10 = addLabel("Label10", QStringLiteral("Claim File Name"), 5520, 4920, 1815, 375, windowFont, true);
    m_fileName = DesignedControls::textBox(this, "FileNameText", QRect(7440, 4920, 1575, 405), QStringLiteral("Claim File Name"));
    m_filePath = DesignedControls::textBox(this, "FilePathText", QRect(5520, 4320, 3495, 345), QStringLiteral("Claim folder"));
    m_software = DesignedControls::textBox(this, "SftwrText", QRect(240, 3480, 3615, 360), QStringLiteral("Select your software"));
    for (QLineEdit *box : {m_fileName, m_filePath, m_software})
        box->setFont(entry);

    QPushButton *save = DesignedControls::button(this, "CmndSaveSetup", QStringLiteral("Save Setup"), QRect(2520, 4920, 1455, 375), windowFont);
    addLabel("Label2", QStringLiteral("Software File Format"), 240, 4080, 2655, 375, windowFont, true);
    m_format = DesignedControls::textBox(this, "SftwrFormatText", QRect(3000, 4080, 855, 375), QStringLiteral("Software File Format"));
    m_format->setFont(entry);

    // Covers the left column only, so that Help, Label10 and Label5, which hide it, stay in reach.
    m_help = new QPlainTextEdit(this);
    m_help->setObjectName(QStringLiteral("HelpPanel"));
    m_help->setReadOnly(true);
    m_help->setFont(small);
    m_help->setFocusPolicy(Qt::NoFocus);
    Twips::place(m_help, 240, 960, 5160, 3840);
    m_help->hide();

    QWidget *order[] = {m_drive, m_dir, m_list, m_siteId, help, exit, m_fileName, m_filePath, m_software, save, m_format};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    // Events are bound only now, so that setting the selectors up raises no change.
    connect(m_list, &QListWidget::itemSelectionChanged, this, [this] { SoftwareCatalogue::pick(m_session); });
    connect(m_siteId, &QLineEdit::textChanged, this, [this] { SetupBehaviour::siteIdChanged(m_session); });
    connect(m_format, &QLineEdit::textChanged, this, [this] { SetupBehaviour::formatChanged(m_session); });
    connect(m_drive, &QComboBox::currentIndexChanged, this, [this] { SetupBehaviour::driveChanged(m_session); });
    connect(m_dir, &FolderSelector::pathChanged, this, [this] { SetupBehaviour::folderChanged(m_session); });
    connect(save, &QPushButton::clicked, this, [this] {
        const BusyCursor busy;
        SetupBehaviour::saveSetup(m_session);
    });
    connect(exit, &QPushButton::clicked, this, [this] { SetupBehaviour::exit(m_session); });
    connect(help, &QPushButton::clicked, this, [this] { HelpText::toggle(m_session); });
    connect(label10, &ClickableLabel::clicked, this, [this] { HelpText::hide(m_session); });
    connect(label5, &ClickableLabel::clicked, this, [this] { HelpText::hide(m_session); });
}

ClickableLabel *Form3::addLabel(const char *name, const QString &text, int left, int top, int width, int height,
                                const QFont &font, bool flat)
{
    auto *label = new ClickableLabel(text, this);
    label->setObjectName(QLatin1String(name));
    label->setFont(font);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    if (flat) {
        label->setFrameStyle(QFrame::Box | QFrame::Plain);
        label->setLineWidth(1);
        DesignedControls::paint(label, QPalette::Base, QPalette::Text);
    } else {
        DesignedControls::paint(label, QPalette::Button, QPalette::ButtonText);
    }
    Twips::place(label, left, top, width, height);
    return label;
}

QLineEdit *Form3::box(Text field) const
{
    switch (field) {
    case Text::SiteId: return m_siteId;
    case Text::Software: return m_software;
    case Text::Format: return m_format;
    case Text::Folder: return m_filePath;
    case Text::FileName: return m_fileName;
    }
    return m_siteId;
}

QString Form3::text(Text field) const
{
    return box(field)->text();
}

void Form3::setText(Text field, const QString &text)
{
    box(field)->setText(text);
}

void Form3::setSoftwareEntries(const QStringList &entries)
{
    m_list->clear();
    m_list->addItems(entries);
}

QString Form3::softwareEntry(int index) const
{
    const QListWidgetItem *item = m_list->item(index);
    return item ? item->text() : QString();
}

int Form3::selectedSoftware() const
{
    const QList<QListWidgetItem *> selected = m_list->selectedItems();
    return selected.isEmpty() ? -1 : m_list->row(selected.first());
}

QString Form3::drive() const
{
    return m_drive->currentText();
}

void Form3::showDrive(const QString &drive)
{
    m_drive->showDrive(drive);
}

QString Form3::folder() const
{
    return m_dir->path();
}

void Form3::setFolder(const QString &path)
{
    m_dir->setPath(path);
}

bool Form3::helpShown() const
{
    return !m_help->isHidden();
}

void Form3::showHelp(const QString &text)
{
    m_help->show();
    m_help->setPlainText(text);
}

void Form3::hideHelp()
{
    m_help->hide();
}

// Built hidden at start-up, the window measures its captions only when it is first shown.
void Form3::showEvent(QShowEvent *event)
{
    if (!std::exchange(m_captionsFitted, true))
        DesignedControls::fitCaptions(this);
    QWidget::showEvent(event);
}

void Form3::closeEvent(QCloseEvent *event)
{
    event->accept();
    SetupBehaviour::unload(m_session);
}
