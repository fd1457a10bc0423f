// The small adapters through which the engine sets a window's status line
// and progress bars.
#pragma once

#include "app/engine/ISyncHost.h"
#include "app/views/UiText.h"

#include <QLabel>
#include <QProgressBar>

#include <string>

namespace velloran {

class LabelCaption : public IStatusLabel {
public:
    explicit LabelCaption(QLabel* label) : m_label(label) {}
    void SetCaption(const std::string& caption) override
    {
        m_label->setText(Text(caption));
    }

private:
    QLabel* m_label;
};

class BarValue : public IProgressControl {
public:
    explicit BarValue(QProgressBar* bar) : m_bar(bar) {}
    void SetValue(int32_t value) override { m_bar->setValue(value); }
    int32_t Value() const override { return m_bar->value(); }

private:
    QProgressBar* m_bar;
};

}  // namespace velloran
