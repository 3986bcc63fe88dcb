#pragma once

#include "Recordset.h"

#include <QComboBox>
#include <QVariant>

namespace talv {

// A drop-down list of a lookup's choices that shows their descriptions and is bound by their ids:
// the "bound value" of a data-bound combo box, as a Qt property that bindings can follow.
class LookupComboBox : public QComboBox
{
    Q_OBJECT
    Q_PROPERTY(QVariant BoundValue READ boundValue WRITE setBoundValue NOTIFY boundValueChanged USER true)
public:
    explicit LookupComboBox(QWidget *parent = nullptr);

    // The choices: rows with an id field and a description field, in the order to show. Keeps the
    // bound value when it is still among the choices.
    void setChoices(const RecordsetPtr &choices, const QString &idField = QStringLiteral("ID"),
                    const QString &textField = QStringLiteral("Description"));

    // The id of the chosen item; null when none is chosen.
    QVariant boundValue() const;
    // Chooses the item with that id; a null or unknown id leaves nothing chosen (empty text).
    void setBoundValue(const QVariant &value);

signals:
    void boundValueChanged(const QVariant &value);
};

} // namespace talv
