// MinMaxSize: an invisible control that limits how small (and optionally how
// large) the user can make the window it sits on. Sizes are client-area sizes
// in twips; a maximum of 0 means none. The limits act while the control is
// subclassed (SubClass .. UnSubClass or destruction).
#pragma once

#include <QPointer>
#include <QSize>
#include <QWidget>

#include <cstdint>

namespace quorvantell {

class MinMaxSize : public QWidget {
    Q_OBJECT

public:
    explicit MinMaxSize(QWidget* parent = nullptr);
    ~MinMaxSize() override;

    // Stores the limits and brings the window inside them at once; does
    // nothing when the control sits on no window.
    void SetMinMaxSize(int32_t minX, int32_t minY, int32_t maxX, int32_t maxY);
    // Starts (and UnSubClass stops) answering the window's size limits.
    void SubClass();
    void UnSubClass();
    bool SubClassed() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Limits {
        QSize minimum;
        QSize maximum;
    };

    QWidget* Form() const;
    Limits ClientLimits(const QWidget* form) const;
    void ApplyLimits();

    int32_t m_minX = 0;
    int32_t m_minY = 0;
    int32_t m_maxX = 0;
    int32_t m_maxY = 0;
    bool m_limitsSet = false;
    QPointer<QWidget> m_form;
    Limits m_formOwn;   // the window's limits before SubClass
};

}  // namespace quorvantell
