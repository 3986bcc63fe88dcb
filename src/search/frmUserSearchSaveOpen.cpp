#include "frmUserSearchSaveOpen.h"

#include "contracts/AppManager.h"
#include "contracts/Component.h"
#include "contracts/ComponentCollection.h"
#include "platform/Error.h"
#include "platform/PrintableText.h"
#include "platform/UiServices.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStringList>
#include <QVBoxLayout>

namespace talv::search {

namespace {

constexpr qint32 All = -1;

} // namespace

frmUserSearchSaveOpen::frmUserSearchSaveOpen(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmUserSearchSaveOpen"));
    setWindowTitle(QStringLiteral("Save User Search"));

    Label1 = new QLabel(QStringLiteral("User Searches"));
    Label1->setObjectName(QStringLiteral("Label1"));
    lstUserSearches = new QListWidget;
    lstUserSearches->setObjectName(QStringLiteral("lstUserSearches"));
    lstUserSearches->setSelectionMode(QAbstractItemView::SingleSelection);
    Label1->setBuddy(lstUserSearches);
    lblSearchName = new QLabel(QStringLiteral("Search Name:"));
    lblSearchName->setObjectName(QStringLiteral("lblSearchName"));
    txtSearchName = new QLineEdit;
    txtSearchName->setObjectName(QStringLiteral("txtSearchName"));
    // Only a name that can be stored and read back: no longer than the column, no control
    // characters, whether typed or pasted.
    txtSearchName->setMaxLength(MaxOptionNameLength);
    txtSearchName->setValidator(new PrintableTextValidator(txtSearchName));
    lblSearchName->setBuddy(txtSearchName);
    cmdSave = new QPushButton(QStringLiteral("Save"));
    cmdSave->setObjectName(QStringLiteral("cmdSave"));
    cmdSave->setDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("Cancel"));
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));

    auto *name = new QHBoxLayout;
    name->addWidget(lblSearchName);
    name->addWidget(txtSearchName, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdSave);
    buttons->addWidget(cmdCancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(lstUserSearches, 1);
    layout->addLayout(name);
    layout->addLayout(buttons);
    resize(360, 300);

    connect(lstUserSearches, &QListWidget::itemSelectionChanged, this, &frmUserSearchSaveOpen::onListClick);
    connect(lstUserSearches, &QListWidget::itemClicked, this, &frmUserSearchSaveOpen::onListClick);
    connect(lstUserSearches, &QListWidget::itemDoubleClicked, this, &frmUserSearchSaveOpen::onListDoubleClick);
    connect(txtSearchName, &QLineEdit::textChanged, this, &frmUserSearchSaveOpen::onNameChanged);
    connect(cmdSave, &QPushButton::clicked, this, &frmUserSearchSaveOpen::onSave);
    connect(cmdCancel, &QPushButton::clicked, this, &frmUserSearchSaveOpen::reject);
}

bool frmUserSearchSaveOpen::Init(const QString &category, qint32 mode, AppManager *appManager)
{
    strCategoryName = category;
    enMode = mode;
    if (!appManager)
        throw Error(Error::InvalidArgument, QStringLiteral("no application manager was given"));
    m_owner = {appManager->GetServerName(), appManager->GetServerType(), appManager->GetUserID()};
    return true;
}

QString frmUserSearchSaveOpen::GetSearchName() const
{
    return txtSearchName->text();
}

void frmUserSearchSaveOpen::reject()
{
    blnCanceled = true;
    QDialog::reject();
}

void frmUserSearchSaveOpen::showEvent(QShowEvent *event)
{
    if (!m_loaded) {
        m_loaded = true;
        load();
    }
    QDialog::showEvent(event);
}

void frmUserSearchSaveOpen::load()
{
    blnCanceled = false;
    applyMode();
    fillList();
}

void frmUserSearchSaveOpen::applyMode()
{
    struct ModeLook {
        const char *button;
        const char *caption;
        bool locked;
    };
    static const ModeLook looks[] = {
        {"Save", "Save User Search", false},
        {"Open", "Open User Search", true},
        {"Delete", "Delete User Search", true},
    };
    if (enMode < SaveMode || enMode > DeleteMode)
        return;
    const ModeLook &look = looks[enMode - SaveMode];
    cmdSave->setText(QString::fromLatin1(look.button));
    setWindowTitle(QString::fromLatin1(look.caption));
    // A name to open or delete can only come from the list; the greyed box says so.
    txtSearchName->setReadOnly(look.locked);
    const QPalette standard = QApplication::palette(txtSearchName);
    QPalette palette = txtSearchName->palette();
    palette.setBrush(QPalette::Base, look.locked ? standard.button() : standard.base());
    txtSearchName->setPalette(palette);
    cmdSave->setEnabled(false);
    // A name to save is typed; in the list, typing would jump to a stored name instead.
    if (look.locked)
        lstUserSearches->setFocus();
    else
        txtSearchName->setFocus();
}

void frmUserSearchSaveOpen::fillList()
{
    try {
        const std::unique_ptr<ComponentCollection> options = openCollection(m_owner, names::UserOptClass);
        if (!options->LoadWhere(QStringLiteral("CATEGORY_OPTIONS"),
                                QStringList{strCategoryName, QString::number(m_owner.userId)}, All, All, All))
            throw Error(Error::Database, options->LastError());
        QStringList names;
        for (qint32 i = 1; i <= options->Count(); ++i)
            names.append(options->Item(i)->property(QStringLiteral("OptionName")).toString());
        lstUserSearches->addItems(names);
    } catch (const std::exception &e) {
        lstUserSearches->clear();
        UiServices::current().messageBox(QStringLiteral("Unable to save default settings: ") + describe(e),
                                         MsgButtons::OK, MsgIcon::Exclamation);
    }
}

void frmUserSearchSaveOpen::onListClick()
{
    const QList<QListWidgetItem *> selected = lstUserSearches->selectedItems();
    if (selected.isEmpty()) {
        if (picksFromList())
            cmdSave->setEnabled(false);
        return;
    }
    txtSearchName->setText(selected.first()->text());
    if (picksFromList())
        cmdSave->setEnabled(true);
}

void frmUserSearchSaveOpen::onListDoubleClick()
{
    onListClick();
    onSave();
}

void frmUserSearchSaveOpen::onNameChanged()
{
    if (enMode == SaveMode)
        cmdSave->setEnabled(!txtSearchName->text().trimmed().isEmpty());
}

void frmUserSearchSaveOpen::onSave()
{
    // Hiding ends the modal display; the name stays for the caller to take.
    accept();
}

} // namespace talv::search
