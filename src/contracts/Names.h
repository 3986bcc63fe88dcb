#pragma once

#include <QString>

// Names that cross layers: the library, the host and the clients each use them, and a host of
// someone else's must spell them the same way. Class names compare without regard to case.
namespace talv::names {

// Screens of this library.
inline const QString SearchClass = QStringLiteral("TALV_ELGroup.ELGroupSearch");
inline const QString DetailsClass = QStringLiteral("TALV_ELGroup.ELGroupDetails");

// Sibling screens that the record screen hosts in a modal search.
inline const QString ElementSearchClass = QStringLiteral("TALV_Element.ElementSearch");
inline const QString ReferenceSearchClass = QStringLiteral("TALV_Reference.ReferenceSearch");

// Business clients.
inline const QString CollectionClass = QStringLiteral("ClientFramework.ComponentCollection");
inline const QString UserOptClass = QStringLiteral("TALV_UserOptClient.UserOptClient");
inline const QString UserOpCatClass = QStringLiteral("TALV_UserOpCatClient.UserOpCatClient");
inline const QString AuditLogClass = QStringLiteral("TALV_AuditLogClient.cAuditLog");
inline const QString ElementGroupClass = QStringLiteral("TALV_ELGroupClient.CElementGroup");
inline const QString FieldManagerClass = QStringLiteral("TALV_FieldManager.FieldManager");
// The element clients that turn an element list's record id into its global element: an element
// tracking record refers to its global element; the global element is also the companion object
// of the record screen on an element list.
inline const QString ElementTrackingClass = QStringLiteral("TALV_ElementClient.CElementTracking");
inline const QString ElementGlobalClass = QStringLiteral("TALV_ElementClient.CElementGlobal");

// View codes: a view's "WORKING_LIST_TYPE".
namespace view {
inline const QString ElementGroups = QStringLiteral("EGP");
inline const QString Elements = QStringLiteral("ELE");
inline const QString ElementTracking = QStringLiteral("ETK");
inline const QString References = QStringLiteral("REF");
inline const QString ElementManagement = QStringLiteral("ELM");
inline const QString EoSpecs = QStringLiteral("EOS");
inline const QString EoRankSpecs = QStringLiteral("EOR");
} // namespace view

// The text WinMan.OpenDetails takes to show one record without a list to walk.
inline const QString SingleRecordView = QStringLiteral("SINGLE_RECORD_VIEW");

// Members that hosts call by name on hosted screens (LateBinding).
namespace member {
inline const QString InitSearch = QStringLiteral("InitSearch");
inline const QString InitModalSearch = QStringLiteral("InitModalSearch");
inline const QString InitDetails = QStringLiteral("InitDetails");
inline const QString InitModalDetails = QStringLiteral("InitModalDetails");
inline const QString LoadData = QStringLiteral("LoadData");
inline const QString NewData = QStringLiteral("NewData");
inline const QString GetID = QStringLiteral("GetID");
inline const QString CanClose = QStringLiteral("CanClose");
inline const QString Deactivate = QStringLiteral("Deactivate");
inline const QString NotifyListChanges = QStringLiteral("NotifyListChanges");
inline const QString ApplyRichText = QStringLiteral("ApplyRichText");
inline const QString SelectedItems = QStringLiteral("SelectedItems");
inline const QString SetSelectedItems = QStringLiteral("SetSelectedItems");
inline const QString UseSelectedRecordset = QStringLiteral("UseSelectedRecordset");
inline const QString SetSingleSelect = QStringLiteral("SetSingleSelect");
inline const QString ActiveControl = QStringLiteral("ActiveControl");
} // namespace member

// Events that hosts connect to by name, in any letter case.
namespace event {
inline const QString Quit = QStringLiteral("Quit");
inline const QString UpdateList = QStringLiteral("UpdateList");
inline const QString NewItem = QStringLiteral("NewItem");
inline const QString RemoveItem = QStringLiteral("RemoveItem");
} // namespace event

} // namespace talv::names
