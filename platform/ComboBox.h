// An editable combo box whose item index follows its text: the index of the item the text
// matches, or -1 when it matches none.
#pragma once

#include <QComboBox>

class TComboBox : public QComboBox
{
    Q_OBJECT

public:
    explicit TComboBox(QWidget *parent = nullptr);

    int ItemIndex() const;
};
