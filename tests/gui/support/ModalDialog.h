// Driving a modal dialog from a test: the action runs once the dialog of the
// wanted type is the active modal widget (the call that opened it is then
// still waiting in its own event loop). A dialog the action leaves open (a
// failed check returns early) is cancelled, so the test never hangs.
#pragma once

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace velloran::test {

template <typename Dialog>
void WhenModal(std::function<void(Dialog*)> action)
{
    auto* timer = new QTimer(qApp);  // freed with the application if no loop deletes it first
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, action] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr)
            return;
        timer->stop();
        timer->deleteLater();
        action(dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
    timer->start();
}

}  // namespace velloran::test
