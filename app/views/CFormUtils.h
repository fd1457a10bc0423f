// CFormUtils: what every window of the program gets from its one instance -
// dragging by any background surface (EasyMove), snapping to the work area
// and to the program's other windows while dragged, a remembered position,
// size and state under "Window" in the settings, placement beside another
// window, foreground and always-on-top. Positions and sizes are in twips;
// left and top are the outer frame's, widths and heights the client area's.
#pragma once

#include <QObject>
#include <QPointer>

#include <cstdint>
#include <string>
#include <vector>

class QWidget;

namespace velloran {

class CFormUtils : public QObject {
public:
    CFormUtils() = default;
    ~CFormUtils() override;
    CFormUtils(const CFormUtils&) = delete;
    CFormUtils& operator=(const CFormUtils&) = delete;

    // The program-wide switches (the settings UseEasyMove, SnapToEdges and
    // SnapDistance, in pixels).
    static bool UseEasyMove();
    static void SetUseEasyMove(bool on);
    static bool SnapToEdges();
    static void SetSnapToEdges(bool on);
    static int32_t SnapDistance();
    static void SetSnapDistance(int32_t pixels);
    // The windows that called Init and not yet Terminate, in list order.
    static std::vector<QWidget*> Windows();

    // The remembered normal-state position and client size; the owner
    // refreshes them while its window is in the normal state.
    int32_t dLeft = 0, dTop = 0, dScaleWidth = 0, dScaleHeight = 0;

    // Keeps the window and appends it to the window list.
    void Init(QWidget* window);
    // Leaves the window list: the last entry takes this window's place.
    void Terminate();

    // A drag: left button down, moves with it held, release. x and y are in
    // twips, in the coordinates of the control that received the press.
    void MoveS(int32_t x, int32_t y);
    void Move(int32_t x, int32_t y);
    void MoveE();
    // Hands the surface's left-button press, move and release to MoveS,
    // Move and MoveE (other buttons are not forwarded).
    void AddDragSurface(QWidget* surface);

    // Restores the window from the settings under name (defaults given),
    // keeping at least 200 twips of it inside the work area.
    void ReadWindowSettings(const std::string& name, int32_t left, int32_t top, int32_t width, int32_t height);
    // Stores state and geometry; when the window is not in the normal state
    // (notNormal) the remembered normal geometry is stored instead.
    void SaveWindowSettings(bool notNormal);
    // While the window is in the normal state, dLeft, dTop, dScaleWidth and
    // dScaleHeight take its frame position and client size; owners call it
    // as their window moves and resizes.
    void TakeNormalGeometry();
    // Beside the parent: right of it if there is room, else left of it,
    // vertically centred on it, kept inside the work area.
    void SetLeftRightOfParent(QWidget* parent);
    void SetForeground();
    void ZOnTop(bool flag);
    // The file's attributes in the platform's bits (read-only 1, hidden 2,
    // directory 0x10, archive 0x20, normal 0x80, link 0x400); -1 when the
    // path does not exist.
    int32_t GetAttr(const std::string& path) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void TakeGeometry(const QWidget* w);

    QPointer<QWidget> m_window;
    std::string m_name;
    bool m_dragging = false;
    int32_t m_grabX = 0, m_grabY = 0;
};

}  // namespace velloran
