// The search's stored settings: the Save Settings as Default check mark and the criteria, kept as
// small XML documents in the user's options, as defaults and under names the user chooses.
#include "ELGroupSearch.h"
#include "frmUserSearchSaveOpen.h"

#include "contracts/Component.h"
#include "contracts/ComponentCollection.h"
#include "platform/BusyCursor.h"
#include "platform/Error.h"
#include "platform/FailureReport.h"
#include "platform/UiServices.h"
#include "platform/XmlHelper.h"

#include <QAction>
#include <QComboBox>
#include <QDomDocument>
#include <QLineEdit>

#include <optional>

namespace talv::search {

namespace {

const QString PropertiesTemplate =
    QStringLiteral("<TALV><SEARCH_PROPERTIES control=\"%1\"></SEARCH_PROPERTIES></TALV>").arg(names::SearchClass);
const QString StateTemplate =
    QStringLiteral("<TALV><SEARCH_STATE control=\"%1\"></SEARCH_STATE></TALV>").arg(names::SearchClass);
const QString PropertiesPath = QStringLiteral("TALV/SEARCH_PROPERTIES");
const QString StatePath = QStringLiteral("TALV/SEARCH_STATE");

const QString SaveAsDefaultElement = QStringLiteral("SAVE_SETTINGS_AS_DEFAULT");
const QString GroupIdElement = QStringLiteral("ELEMENT_GROUP_ID");
const QString GroupTypeElement = QStringLiteral("ELEMENT_GROUP_TYPE");
const QString GroupNameElement = QStringLiteral("ELEMENT_GROUP_NAME");
const QString ComparisonAttribute = QStringLiteral("comparison");
const QString ControlAttribute = QStringLiteral("control");
const QString OptionValue = QStringLiteral("OptionValue");

// More than any search of this screen holds (a few hundred characters, three levels): a stored
// document beyond it is damaged or not ours, and is refused before it is parsed.
constexpr XmlHelper::Bounds StoredBounds{64 * 1024, 8};

const FailureText UnreadableProperties{.prefix = QStringLiteral("Unable to read search properties xml: ")};
const FailureText UnreadableState{.prefix = QStringLiteral("Unable to read search state xml: ")};

// A stored document of this screen: the parsed text and its settings element.
struct StoredDocument {
    QDomDocument document;
    QDomNode settings;
};

// The element on `path` whose control is this screen (in any letter case); a text that is not
// well-formed or not ours raises, with the message both readers show.
StoredDocument readStored(const QString &xml, const QString &path)
{
    StoredDocument stored;
    XmlHelper::requireWithin(xml, StoredBounds);
    try {
        stored.document = XmlHelper::load(xml);
    } catch (const Error &) {
        throw Error(Error::Xml, QStringLiteral("Invalid xml content"));
    }
    const QDomNode settings = XmlHelper::selectSingleNode(stored.document, path);
    if (settings.isNull() ||
        XmlHelper::attribute(settings, ControlAttribute).compare(names::SearchClass, Qt::CaseInsensitive) != 0)
        throw Error(Error::Xml, QStringLiteral("Invalid xml content"));
    stored.settings = settings;
    return stored;
}

QDomNode child(const QDomNode &settings, const QString &name)
{
    return XmlHelper::selectSingleNode(settings, name);
}

int storedComparison(const QDomNode &nameElement)
{
    if (!XmlHelper::hasAttribute(nameElement, ComparisonAttribute))
        throw Error(Error::Xml, QStringLiteral("The group name has no comparison."));
    const QString text = XmlHelper::attribute(nameElement, ComparisonAttribute);
    bool isNumber = false;
    const int comparison = text.trimmed().toInt(&isNumber);
    if (!isNumber)
        throw Error(Error::Xml, QStringLiteral("The comparison \"%1\" is not a whole number.").arg(text));
    if (comparison < Contains || comparison > Wildcard)
        throw Error(Error::Xml, QStringLiteral("The comparison %1 is not one of %2 to %3.")
                                    .arg(comparison)
                                    .arg(int(Contains))
                                    .arg(int(Wildcard)));
    return comparison;
}

} // namespace

OptionOwner ELGroupSearch::optionOwner() const
{
    if (!objAppManager)
        throw Error(Error::IllegalOperation, QStringLiteral("the search has not been started by its host"));
    return {strServerName, lngServerType, lngUserID};
}

QString ELGroupSearch::BuildPropertiesXml() const
{
    QDomDocument document = XmlHelper::load(PropertiesTemplate);
    XmlHelper::appendElement(XmlHelper::selectSingleNode(document, PropertiesPath), SaveAsDefaultElement,
                             mnuOptionsSaveDefault->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
    return XmlHelper::toText(document);
}

void ELGroupSearch::ApplyPropertiesXml(const QString &xml)
{
    // A failed reset ends the apply: the stored settings cannot go onto a screen half reset.
    runReported(UnreadableProperties, [&] {
        resetSearch();
        const StoredDocument stored = readStored(xml, PropertiesPath);
        const QDomNode saveAsDefault = child(stored.settings, SaveAsDefaultElement);
        if (!saveAsDefault.isNull())
            mnuOptionsSaveDefault->setChecked(XmlHelper::text(saveAsDefault) != QLatin1String("0"));
    });
}

QString ELGroupSearch::BuildStateXml() const
{
    QDomDocument document = XmlHelper::load(StateTemplate);
    const QDomNode state = XmlHelper::selectSingleNode(document, StatePath);
    if (!txtGroupID->text().trimmed().isEmpty())
        XmlHelper::appendElement(state, GroupIdElement, txtGroupID->text());
    if (!cboElementGroupType->currentText().isEmpty())
        XmlHelper::appendElement(state, GroupTypeElement, cboElementGroupType->currentText());
    if (!txtGroupName->text().trimmed().isEmpty()) {
        const QDomElement name = XmlHelper::appendElement(state, GroupNameElement, txtGroupName->text());
        XmlHelper::setAttribute(name, ComparisonAttribute, QString::number(cboGroupNameComparison->currentIndex()));
    }
    return XmlHelper::toText(document);
}

void ELGroupSearch::ApplyStateXml(const QString &xml)
{
    runReported(UnreadableState, [&] {
        resetSearch();
        const StoredDocument stored = readStored(xml, StatePath);
        const QDomNode name = child(stored.settings, GroupNameElement);
        if (!name.isNull()) {
            cboGroupNameComparison->setCurrentIndex(storedComparison(name));
            txtGroupName->setText(XmlHelper::text(name));
        }
        const QDomNode type = child(stored.settings, GroupTypeElement);
        if (!type.isNull()) {
            // Exactly as stored; a type since renamed or removed leaves the blank one selected.
            const QString wanted = XmlHelper::text(type);
            for (int i = 0; i < cboElementGroupType->count(); ++i) {
                if (cboElementGroupType->itemText(i) == wanted) {
                    cboElementGroupType->setCurrentIndex(i);
                    break;
                }
            }
        }
        const QDomNode id = child(stored.settings, GroupIdElement);
        if (!id.isNull())
            txtGroupID->setText(XmlHelper::text(id));
    });
}

void ELGroupSearch::loadDefault(const QString &category, void (ELGroupSearch::*apply)(const QString &))
{
    std::optional<QString> stored;
    runReported(unableTo(QStringLiteral("load default settings")), [&] {
        BusyCursor busy;
        const OptionLookup lookup(optionOwner(), category, names::SearchClass);
        if (!lookup.loaded())
            throw Error(Error::Database, lookup.error());
        // A user without a default keeps the screen as it is.
        if (lookup.found())
            stored = lookup.option().property(OptionValue).toString();
    });
    if (stored)
        (this->*apply)(*stored);
}

void ELGroupSearch::LoadDefaultProperties()
{
    loadDefault(DefaultPropertiesCategory, &ELGroupSearch::ApplyPropertiesXml);
}

void ELGroupSearch::LoadDefaultCriteria()
{
    loadDefault(DefaultCriteriaCategory, &ELGroupSearch::ApplyStateXml);
}

void ELGroupSearch::saveDefault(const QString &category, const QString &document)
{
    const OptionOwner owner = optionOwner();
    const OptionLookup lookup(owner, category, names::SearchClass);
    if (!lookup.loaded())
        throw Error(Error::Database, lookup.error());
    if (lookup.found()) {
        lookup.option().setProperty(OptionValue, document);
        saveAll(lookup.collection());
    } else {
        addNewOption(owner, category, names::SearchClass, document);
    }
}

void ELGroupSearch::SaveDefaultProperties()
{
    // The check mark is a convenience; the user closing the screen is not troubled with it.
    runReported(
        [this] {
            BusyCursor busy;
            saveDefault(DefaultPropertiesCategory, BuildPropertiesXml());
        },
        [](const QString &) {});
}

void ELGroupSearch::SaveDefaultCriteria()
{
    runReported(unableTo(QStringLiteral("save default settings")), [this] {
        BusyCursor busy;
        saveDefault(DefaultCriteriaCategory, BuildStateXml());
    });
}

QString ELGroupSearch::PickUserSearch(const QString &category, qint32 mode)
{
    frmUserSearchSaveOpen dialog(this);
    dialog.setWindowIcon(parentWindow()->windowIcon());
    dialog.Init(category, mode, objAppManager);
    UiServices::current().execModal(dialog);
    return dialog.IsCanceled() ? QString() : dialog.GetSearchName();
}

void ELGroupSearch::OpenUserSearch()
{
    runReported(unableTo(QStringLiteral("load default settings")), [this] {
        const QString name = PickUserSearch(UserSearchCategory, frmUserSearchSaveOpen::OpenMode);
        if (name.isEmpty())
            return;
        strSearchName = name;
        BusyCursor busy;
        QString stored;
        {
            const OptionLookup lookup(optionOwner(), UserSearchCategory, DoubleQuotes(name));
            if (!lookup.loaded())
                throw Error(Error::Database, lookup.error());
            if (!lookup.found()) {
                busy.release();
                UiServices::current().messageBox(
                    QStringLiteral("Unable to load search criteria under the name: '%1'").arg(name), MsgButtons::OK);
                return;
            }
            stored = lookup.option().property(OptionValue).toString();
        }
        ApplyStateXml(stored);
        // The reset inside the apply forgot it; a following Save stores under this name.
        strSearchName = name;
    });
}

void ELGroupSearch::SaveUserSearch(bool saveAs)
{
    runReported(unableTo(QStringLiteral("save settings")), [&] {
        if (saveAs || strSearchName.isEmpty()) {
            const QString name = PickUserSearch(UserSearchCategory, frmUserSearchSaveOpen::SaveMode);
            if (name.isEmpty())
                return;
            strSearchName = name;
            // A name just picked may be one the user already has: ask before replacing it.
            saveAs = true;
        }
        BusyCursor busy;
        const OptionOwner owner = optionOwner();
        const OptionLookup lookup(owner, UserSearchCategory, DoubleQuotes(strSearchName));
        if (!lookup.loaded())
            throw Error(Error::Database, lookup.error());
        if (lookup.found()) {
            if (saveAs) {
                busy.release();
                // Enter keeps the stored search: overwriting it is the user's deliberate choice.
                if (UiServices::current().messageBox(
                        QStringLiteral("Search '%1' already exists. Overwrite?").arg(strSearchName), MsgButtons::YesNo,
                        MsgIcon::Question, {}, Answer::No) == Answer::No)
                    return;
            }
            lookup.option().setProperty(OptionValue, BuildStateXml());
            saveAll(lookup.collection());
        } else {
            addNewOption(owner, UserSearchCategory, strSearchName, BuildStateXml());
        }
    });
}

void ELGroupSearch::DeleteUserSearch()
{
    const FailureText failed{.prefix = QStringLiteral("An error occurred while deleting the saved search.\r\n\r\n")};
    runReported(failed, [this] {
        const QString name = PickUserSearch(UserSearchCategory, frmUserSearchSaveOpen::DeleteMode);
        if (name.isEmpty())
            return;
        BusyCursor busy;
        const OptionLookup lookup(optionOwner(), UserSearchCategory, DoubleQuotes(name));
        // Gone already (or out of reach): there is nothing to delete and nothing to say.
        if (!lookup.found())
            return;
        lookup.collection().RemoveAt(1);
        saveAll(lookup.collection());
        if (strSearchName == name)
            strSearchName.clear();
    });
}

} // namespace talv::search
