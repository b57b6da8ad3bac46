// A one-line edit whose typing limit only stops the user from making the text longer: text set
// by the program is shown whole, however long, and the user can always shorten it.
#pragma once

#include <QLineEdit>

class TLimitEdit : public QLineEdit
{
    Q_OBJECT

public:
    explicit TLimitEdit(QWidget *parent = nullptr);

    // Characters the user may bring the text to; 0 or less means no limit. Checked by the
    // edit's own validator: setting another validator removes the limit.
    int TypingLimit() const { return m_typingLimit; }
    void SetTypingLimit(int limit);

    // Whether the user may turn a text of currentLength characters into one of
    // proposedLength characters.
    static bool MayType(int limit, int currentLength, int proposedLength);

private:
    int m_typingLimit = 0;
    int m_length = 0;   // of the text as it stood before the change being checked
};
