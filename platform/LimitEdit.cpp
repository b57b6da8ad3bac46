// A one-line edit whose typing limit never cuts text that the program sets.
#include "platform/LimitEdit.h"

#include <QValidator>

namespace {

// QLineEdit's maxLength would cut a longer text handed to setText; this refuses only growth
// past the limit. It tells the user's changes from the program's by the undo stack, which
// QLineEdit updates before it validates: typing, paste, drop and input go on the stack with
// nothing left to redo; setText clears the stack; an undo leaves something to redo. So a change
// that cannot be undone is the program's (or an undo back to the text it set) and one that can
// be redone is an undo back to a text already shown: neither is refused. That matters beyond
// politeness: after a refused program text QLineEdit would stop reverting refused edits.
class TypingLimitValidator : public QValidator
{
public:
    TypingLimitValidator(TLimitEdit *edit, const int *limit, const int *length)
        : QValidator(edit), m_edit(edit), m_limit(limit), m_length(length)
    {
    }

    State validate(QString &input, int &) const override
    {
        const bool usersEdit = m_edit->isUndoAvailable() && !m_edit->isRedoAvailable();
        if (!usersEdit)
            return Acceptable;
        return TLimitEdit::MayType(*m_limit, *m_length, int(input.size())) ? Acceptable : Invalid;
    }

private:
    TLimitEdit *m_edit;
    const int *m_limit;
    const int *m_length;
};

} // namespace

TLimitEdit::TLimitEdit(QWidget *parent)
    : QLineEdit(parent)
{
    setValidator(new TypingLimitValidator(this, &m_typingLimit, &m_length));
    // a refused change never gets here, so this is the length the next change starts from
    connect(this, &QLineEdit::textChanged, this, [this](const QString &text) { m_length = int(text.size()); });
}

void TLimitEdit::SetTypingLimit(int limit)
{
    m_typingLimit = limit;   // nothing to repaint: the text stands as it is
}

bool TLimitEdit::MayType(int limit, int currentLength, int proposedLength)
{
    return limit <= 0 || proposedLength <= limit || proposedLength <= currentLength;
}
