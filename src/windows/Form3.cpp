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

#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>

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

    m_dir = new FolderSelector(rt, this);
    m_dir->setObjectName(QStringLiteral("Dir1"));
    m_dir->setFont(small);
    Twips::place(m_dir, 5520, 2160, 3495, 1890);

    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("SftwrList"));
    m_list->setFont(small);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
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

    QWidget *order[] = {m_drive, m_dir, m_list, m_siteId, help, exit, m_fileName, m_filePath, m_software, save, m_format};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    // A person's edit is a write of the field, which runs its Change; what the field holds is shown.
    SetupWindowFields &fields = session.setupWindow();
    for (const Field field : {Field::SiteId, Field::Software, Field::Format, Field::Folder, Field::FileName}) {
        connect(box(field), &QLineEdit::textChanged, this,
                [this, field](const QString &text) { m_session.setupWindow().setText(field, text); });
    }
    connect(m_list, &QListWidget::itemSelectionChanged, this, [this] {
        const QList<QListWidgetItem *> selected = m_list->selectedItems();
        m_session.setupWindow().selectSoftware(selected.isEmpty() ? -1 : m_list->row(selected.first()));
    });
    connect(m_drive, &QComboBox::currentIndexChanged, this, [this] { m_session.setupWindow().chooseDrive(m_drive->currentText()); });
    connect(m_dir, &FolderSelector::pathChanged, this, [this] { m_session.setupWindow().setFolder(m_dir->path()); });
    connect(&fields, &SetupWindowFields::updated, this, &Form3::follow);
    for (int field = 0; field <= int(Field::Window); ++field)
        follow(Field(field));

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
        DesignedControls::paint(label, QPalette::Base, QPalette::Text);
    } else {
        DesignedControls::paint(label, QPalette::Button, QPalette::ButtonText);
    }
    Twips::place(label, left, top, width, height);
    return label;
}

QLineEdit *Form3::box(Field field) const
{
    switch (field) {
    case Field::Software: return m_software;
    case Field::Format: return m_format;
    case Field::Folder: return m_filePath;
    case Field::FileName: return m_fileName;
    default: return m_siteId;
    }
}

void Form3::follow(Field field)
{
    const SetupWindowFields &fields = m_session.setupWindow();
    switch (field) {
    case Field::SiteId:
    case Field::Software:
    case Field::Format:
    case Field::Folder:
    case Field::FileName:
        if (box(field)->text() != fields.text(field)) {
            const QSignalBlocker quiet(box(field));
            box(field)->setText(fields.text(field));
        }
        break;
    case Field::SoftwareList: {
        const QSignalBlocker quiet(m_list);
        if (m_list->count() != fields.softwareEntries().size()) {
            m_list->clear();
            m_list->addItems(fields.softwareEntries());
        }
        if (fields.selectedSoftware() < 0)
            m_list->clearSelection();
        else
            m_list->setCurrentRow(fields.selectedSoftware());
        break;
    }
    case Field::Drive:
        if (m_drive->count() != fields.drives().size())
            m_drive->setDrives(fields.drives());
        m_drive->showDrive(fields.drive());
        break;
    case Field::Dir:
        if (m_dir->path() != fields.folder()) {
            const QSignalBlocker quiet(m_dir);
            m_dir->setPath(fields.folder());
        }
        break;
    case Field::Help:
        if (m_help->toPlainText() != fields.helpText())
            m_help->setPlainText(fields.helpText());
        m_help->setVisible(fields.helpShown());
        break;
    case Field::Window:
        setVisible(fields.isShown());
        break;
    }
}

// Built hidden at start-up, the window measures its captions only when it is first shown.
void Form3::showEvent(QShowEvent *event)
{
    if (!std::exchange(m_captionsFitted, true))
        DesignedControls::fitCaptions(this);
    QWidget::showEvent(event);
}

// A close event comes accepted: the window closes, and the setup is unloaded with it.
void Form3::closeEvent(QCloseEvent *)
{
    SetupBehaviour::unload(m_session);
}
