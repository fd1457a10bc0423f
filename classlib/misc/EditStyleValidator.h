// The edit-box styles of CControls on a QLineEdit: typed letters turned to
// lower or upper case, only digits accepted. Styles add up; a validator the
// edit box had before keeps judging what passes these styles.
#pragma once

#include <QPointer>
#include <QValidator>

class QLineEdit;

namespace quorvantell {

class EditStyleValidator : public QValidator {
    Q_OBJECT

public:
    enum Style { LowerCase = 0x1, UpperCase = 0x2, Number = 0x4 };

    // Adds the style to the edit box's styles.
    static void AddStyle(QLineEdit* edit, Style style);

    State validate(QString& input, int& pos) const override;
    void fixup(QString& input) const override;

private:
    EditStyleValidator(QLineEdit* edit, const QValidator* previous);

    int m_styles = 0;
    QPointer<const QValidator> m_previous;
};

}  // namespace quorvantell
