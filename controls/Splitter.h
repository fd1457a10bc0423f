// Splitter: a draggable bar inside a rectangular area. The host lays out its
// panes around the bar whenever Moved reports a new position. All positions
// and sizes are twips; the bar is a child area whose long side spans the
// control and whose thickness is SplitterWidth.
#pragma once

#include <QWidget>

#include <cstdint>

class QFrame;
class QMouseEvent;

namespace quorvantell {

class PropertyBag;

class Splitter : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int BorderStyle READ BorderStyle WRITE SetBorderStyle)
    Q_PROPERTY(int Position READ Position WRITE SetPosition)
    Q_PROPERTY(bool Horizontal READ Horizontal WRITE SetHorizontal)
    Q_PROPERTY(int SplitterWidth READ SplitterWidth WRITE SetSplitterWidth)
    Q_PROPERTY(int MinMargin READ MinMargin WRITE SetMinMargin)
    Q_PROPERTY(int MaxMargin READ MaxMargin WRITE SetMaxMargin)
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)

public:
    // Across the axis the mouse may stray this far from the bar while
    // dragging before the bar snaps back to where the drag started.
    static constexpr double kDragCorridor = 2000.0;

    explicit Splitter(QWidget* parent = nullptr);

    int32_t BorderStyle() const;          // 0 none, 1 fixed single
    void SetBorderStyle(int32_t value);
    int32_t Position() const;             // the bar's offset, rounded to a whole twip
    void SetPosition(int32_t value);      // clamps, moves, raises Moved
    bool Horizontal() const;
    void SetHorizontal(bool value);       // turns the bar, then the resize step
    int32_t SplitterWidth() const;
    void SetSplitterWidth(int32_t value);
    int32_t MinMargin() const;
    void SetMinMargin(int32_t value);     // takes effect at the next move or resize
    int32_t MaxMargin() const;
    void SetMaxMargin(int32_t value);
    bool Enabled() const;
    void SetEnabled(bool value);

    // The host form's saved properties.
    void ReadProperties(const PropertyBag& bag);
    void WriteProperties(PropertyBag& bag) const;

    // The bar itself, for hosts that style it and for tests.
    QWidget* Bar() const;
    bool Dragging() const;

signals:
    void Moved(int32_t Position, int32_t RightPos, int32_t RightSize);
    void PropertyChanged(const QString& name);

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    double Extent() const;                // along the axis
    double Limit() const;                 // largest allowed offset
    double Clamp(double candidate) const;
    void MoveBar(double offset);
    void PlaceBar();
    void ResizeStep();
    void RaiseMoved();
    void ColourBar(bool dragged);

    double AlongTwips(const QPoint& barPoint) const;   // relative to the bar
    double AcrossTwips(const QPoint& barPoint) const;  // in the control
    void BarPressed(QMouseEvent* event);
    void BarMoved(QMouseEvent* event);
    void BarReleased();

    QFrame* m_bar;
    double m_offset = 1000;
    int32_t m_borderStyle = 0;
    bool m_horizontal = false;
    int32_t m_splitterWidth = 120;
    int32_t m_minMargin = 700;
    int32_t m_maxMargin = 700;

    // Drag state.
    bool m_dragging = false;
    double m_grabOffset = 0;
    double m_lastCandidate = 0;
    double m_pressOffset = 0;
    double m_corridorStart = 0;
    double m_corridorEnd = 0;
};

}  // namespace quorvantell
