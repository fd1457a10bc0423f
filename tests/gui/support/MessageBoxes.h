// Message boxes answered by a test: the boxes that come up are answered in
// order with the given buttons (then "OK"), and their texts are kept.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <vector>

namespace velloran::test {

class Boxes : public QObject {
public:
    explicit Boxes(std::vector<QMessageBox::StandardButton> answers) : m_answers(std::move(answers))
    {
        m_timer.setInterval(10);
        connect(&m_timer, &QTimer::timeout, this, &Boxes::Look);
        m_timer.start();
    }
    std::vector<QString> texts;

private:
    void Look()
    {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr || box->property("answered").toBool())
            return;
        box->setProperty("answered", true);
        texts.push_back(box->text());
        const QMessageBox::StandardButton answer = m_answers.empty() ? QMessageBox::Ok : m_answers.front();
        if (!m_answers.empty())
            m_answers.erase(m_answers.begin());
        QAbstractButton* button = box->button(answer);
        QTimer::singleShot(0, box, [box, button, answer] {
            if (button != nullptr)
                button->click();
            else
                box->done(answer);
        });
    }

    std::vector<QMessageBox::StandardButton> m_answers;
    QTimer m_timer;
};

}  // namespace velloran::test
