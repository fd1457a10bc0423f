// CControls on Qt widgets.
#include "classlib/misc/CControls.h"

#include "classlib/misc/EditStyleValidator.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QScreen>

#include <algorithm>
#include <cmath>

namespace quorvantell {

namespace {

constexpr int kDefaultMaxLength = 32767;  // QLineEdit's own default

QLineEdit* EditOf(QWidget* hWnd)
{
    if (auto* combo = qobject_cast<QComboBox*>(hWnd))
        return combo->lineEdit();
    return qobject_cast<QLineEdit*>(hWnd);
}

// Whole twips per pixel of the widget's screen (15 at 96 dpi).
int TwipsPerPixel(const QWidget* widget)
{
    const QScreen* screen = widget->screen() != nullptr ? widget->screen() : QGuiApplication::primaryScreen();
    const double dpi = screen != nullptr && screen->logicalDotsPerInchX() > 0 ? screen->logicalDotsPerInchX() : 96.0;
    return std::max(1, static_cast<int>(std::lround(1440.0 / dpi)));
}

}  // namespace

void CControls::ComboDropDown(QWidget* hWnd) const
{
    auto* combo = qobject_cast<QComboBox*>(hWnd);
    if (combo != nullptr && !combo->view()->isVisible())
        combo->showPopup();
}

QWidget* CControls::ComboGetEditHWnd(QWidget* hWnd) const
{
    auto* combo = qobject_cast<QComboBox*>(hWnd);
    return combo != nullptr ? combo->lineEdit() : nullptr;
}

void CControls::ComboSetMaxLength(QWidget* hWnd, int32_t maxLength) const
{
    if (QLineEdit* edit = EditOf(qobject_cast<QComboBox*>(hWnd)))
        edit->setMaxLength(maxLength > 0 ? maxLength : kDefaultMaxLength);
}

void CControls::ComboSetWidth(QWidget* hWnd, int32_t width) const
{
    if (auto* combo = qobject_cast<QComboBox*>(hWnd))
        combo->view()->setMinimumWidth(width / TwipsPerPixel(combo));
}

void CControls::TextSetLowerOnly(QWidget* hWnd) const
{
    EditStyleValidator::AddStyle(EditOf(hWnd), EditStyleValidator::LowerCase);
}

void CControls::TextSetNumberOnly(QWidget* hWnd) const
{
    EditStyleValidator::AddStyle(EditOf(hWnd), EditStyleValidator::Number);
}

void CControls::TextSetUpperOnly(QWidget* hWnd) const
{
    EditStyleValidator::AddStyle(EditOf(hWnd), EditStyleValidator::UpperCase);
}

}  // namespace quorvantell
