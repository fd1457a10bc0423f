// Case conversion and digits-only input as a validator, so typing, pasting
// and dropping all pass through it.
#include "classlib/misc/EditStyleValidator.h"

#include <QLineEdit>

#include <algorithm>

namespace quorvantell {

EditStyleValidator::EditStyleValidator(QLineEdit* edit, const QValidator* previous)
    : QValidator(edit), m_previous(previous)
{
}

void EditStyleValidator::AddStyle(QLineEdit* edit, Style style)
{
    if (edit == nullptr)
        return;
    auto* own = qobject_cast<EditStyleValidator*>(const_cast<QValidator*>(edit->validator()));
    if (own == nullptr) {
        own = new EditStyleValidator(edit, edit->validator());
        edit->setValidator(own);
    }
    own->m_styles |= style;
}

QValidator::State EditStyleValidator::validate(QString& input, int& pos) const
{
    if ((m_styles & LowerCase) != 0)
        input = input.toLower();
    if ((m_styles & UpperCase) != 0)
        input = input.toUpper();
    pos = std::min(pos, static_cast<int>(input.size()));
    if ((m_styles & Number) != 0 &&
        std::any_of(input.cbegin(), input.cend(), [](QChar c) { return c < u'0' || c > u'9'; }))
        return Invalid;
    return m_previous ? m_previous->validate(input, pos) : Acceptable;
}

void EditStyleValidator::fixup(QString& input) const
{
    if (m_previous)
        m_previous->fixup(input);
}

}  // namespace quorvantell
