#include "LookupComboBox.h"

namespace talv {

LookupComboBox::LookupComboBox(QWidget *parent) : QComboBox(parent)
{
    connect(this, &QComboBox::currentIndexChanged, this, [this] { emit boundValueChanged(boundValue()); });
}

void LookupComboBox::setChoices(const RecordsetPtr &choices, const QString &idField, const QString &textField)
{
    const QVariant kept = boundValue();
    const QSignalBlocker quiet(this);
    clear();
    if (choices && choices->RecordCount() > 0) {
        choices->MoveFirst();
        while (!choices->IsEOF()) {
            addItem(choices->Value(textField).toString(), choices->Value(idField));
            choices->MoveNext();
        }
    }
    setBoundValue(kept);
}

QVariant LookupComboBox::boundValue() const
{
    return currentIndex() < 0 ? QVariant() : currentData();
}

void LookupComboBox::setBoundValue(const QVariant &value)
{
    int index = -1;
    if (!value.isNull()) {
        // Ids arrive as numbers or texts; compare them as the lookup holds them.
        for (int i = 0; i < count() && index < 0; ++i)
            if (itemData(i).toString() == value.toString())
                index = i;
    }
    setCurrentIndex(index);
}

} // namespace talv
