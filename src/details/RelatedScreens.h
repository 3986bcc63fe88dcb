#pragma once

#include "DetailsState.h"

#include <QObject>
#include <QString>

class QWidget;

namespace talv::details {

class RecordForm;
class RecordNavigator;
class RecordObjects;
class RecordWriter;
class WaitPanel;

// The record screen's ways out to other screens about the group on display: the host's related
// screens (File > Open), the audit trail of the record or of the focused field, a search whose
// picks replace the list being browsed (Tools > Find), and filling the group with another group's
// data through the host's copy service (Tools > Copy Data From). Each command reports its own
// failures.
class RelatedScreens : public QObject
{
    Q_OBJECT

public:
    // The captions handed to the host with each related screen.
    static const QString ElementManagementCaption;
    static const QString EoSpecsCaption;
    static const QString EoRankSpecsCaption;
    static const QString ElementTrackingCaption;
    static const QString ReferencesCaption;

    RelatedScreens(DetailsState &state, RecordObjects &objects, RecordWriter &writer, RecordNavigator &navigator,
                   RecordForm &form, WaitPanel &wait, QWidget *screen);

    void elementManagement();
    void eoSpecs();
    void eoRankSpecs();
    void elementGlobalTracking();
    void references();
    void recordMaintenance();
    void attributeMaintenance();
    void find();
    void copyDataFrom();

    // The column an Attribute Maintenance opens on: the part of the component-properties entry of
    // `tag` after the first "." (the whole entry without one); empty when the tag names no entry.
    static QString auditedColumn(const QString &componentPropertiesXml, const QString &tag);

signals:
    void UpdateList(qint32 id);

private:
    // Opens a host screen of this group through the window manager, without any test of the answer.
    void openThroughWindowManager(const QString &targetCode, const QString &caption);
    // Asks the host for a related screen of the current record; `what` names it in messages.
    void openRelatedDetail(const QString &targetCode, const QString &caption, const QString &what);
    void showAuditTrail(const QString &caption, const QString &columnName);
    // The tag of the control that has the focus in the screen (or of the control it belongs to).
    QString focusedTag() const;
    QWidget *holder() const;

    DetailsState &m_state;
    RecordObjects &m_objects;
    RecordWriter &m_writer;
    RecordNavigator &m_navigator;
    RecordForm &m_form;
    WaitPanel &m_wait;
    QWidget *m_screen;
};

} // namespace talv::details
