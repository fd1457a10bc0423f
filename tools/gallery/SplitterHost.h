// SplitterHost: a small window-like area divided by a Splitter, laying out
// its two panes from the Moved values the way the program's windows do.
#pragma once

#include "controls/Splitter.h"

#include <QLabel>
#include <QWidget>

#include <cstdint>

namespace velloran::gallery {

class SplitterHost : public QWidget {
    Q_OBJECT

public:
    SplitterHost(bool horizontal, const QString& nearText, const QString& farText, QWidget* parent = nullptr);

    quorvantell::Splitter& splitter();
    // Once shown, press the bar and move it by that many pixels without
    // letting go, to show the bar being dragged.
    void HoldDragged(int pixels);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void Layout(int32_t Position, int32_t RightPos, int32_t RightSize);
    void Drag();

    quorvantell::Splitter* m_splitter;
    QLabel* m_near;
    QLabel* m_far;
    int m_dragPixels = 0;
};

}  // namespace velloran::gallery
