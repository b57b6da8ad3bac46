// An editable combo box whose item index follows its text.
#include "platform/ComboBox.h"

#include <QLineEdit>

TComboBox::TComboBox(QWidget *parent)
    : QComboBox(parent)
{
    setEditable(true);
    // typed text stays text: Enter must not add it to the items
    setInsertPolicy(QComboBox::NoInsert);
}

int TComboBox::ItemIndex() const
{
    // case-insensitive, as "rpm" still names the RPM item
    return findText(currentText(), Qt::MatchFixedString);
}
