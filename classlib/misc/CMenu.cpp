// CMenu on QMenu/QMenuBar. Qt draws a bullet for the checkable items of an
// exclusive action group; the group lets the program uncheck all of them,
// as a radio-check item allows.
#include "classlib/misc/CMenu.h"

#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>
#include <QWidget>

namespace quorvantell {

namespace {

constexpr const char* kRadioGroupName = "radioMenuChecks";

QAction* ActionAt(const QWidget* container, int32_t position)
{
    if (container == nullptr || position < 0)
        return nullptr;
    const QList<QAction*> actions = container->actions();
    return position < actions.size() ? actions[position] : nullptr;
}

QActionGroup* RadioGroup(QMenu* menu)
{
    auto* group = menu->findChild<QActionGroup*>(QString::fromLatin1(kRadioGroupName), Qt::FindDirectChildrenOnly);
    if (group == nullptr) {
        group = new QActionGroup(menu);
        group->setObjectName(QString::fromLatin1(kRadioGroupName));
        group->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    }
    return group;
}

}  // namespace

void CMenu::SetRadioMenuChecks(QMenu* hMenu, const std::string& mnuCaption, int32_t Y) const
{
    QAction* action = ActionAt(hMenu, Y);
    if (action == nullptr)
        return;
    action->setText(QString::fromStdString(mnuCaption));
    action->setCheckable(true);
    RadioGroup(hMenu)->addAction(action);
}

QMenu* CMenu::GetMenuHWnd(QWidget* hWndOwner, int32_t X) const
{
    if (hWndOwner == nullptr)
        return nullptr;
    const auto* bar = hWndOwner->findChild<QMenuBar*>(QString(), Qt::FindDirectChildrenOnly);
    const QAction* action = ActionAt(bar, X);
    return action != nullptr ? action->menu() : nullptr;
}

QMenu* CMenu::GetSubMenuHWnd(QMenu* hWndOwner, int32_t X) const
{
    const QAction* action = ActionAt(hWndOwner, X);
    return action != nullptr ? action->menu() : nullptr;
}

}  // namespace quorvantell
