// CFormUtils. Geometry is handled in twips as stored; the rectangle
// arithmetic is the native utility library's. On Wayland a client cannot
// place its own windows, so a drag is handed to the compositor instead.
#include "app/views/CFormUtils.h"

#include "app/views/WindowSettings.h"
#include "classlib/files/CFile.h"
#include "classlib/general/CGeneral.h"
#include "classlib/general/CRegistry.h"
#include "classlib/general/ClassLibrary.h"
#include "controls/Twips.h"
#include "utils/UtilsImport.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

#include <sys/stat.h>

#include <algorithm>
#include <cmath>

namespace velloran {

using quorvantell::AreaRect;
using quorvantell::ClassLibrary;
using quorvantell::eRegBaseKey;
using quorvantell::Twips;
using quorvantell::WindowBox;

namespace {

constexpr int32_t kKeepVisible = 200;  // twips of a restored window kept inside the work area
constexpr int32_t kStateNormal = 0, kStateMinimised = 1, kStateMaximised = 2;

bool g_useEasyMove = true;
bool g_snapToEdges = true;
int32_t g_snapDistance = 12;
std::vector<QPointer<QWidget>> g_windows;

int32_t TwX(double pixels, const QWidget* w) { return static_cast<int32_t>(std::lround(Twips::FromPixelsX(pixels, w))); }
int32_t TwY(double pixels, const QWidget* w) { return static_cast<int32_t>(std::lround(Twips::FromPixelsY(pixels, w))); }

// The outer frame of a window, in twips.
WindowBox FrameBox(const QWidget* w)
{
    const QRect r = w->frameGeometry();
    return {TwX(r.x(), w), TwY(r.y(), w), TwX(r.width(), w), TwY(r.height(), w)};
}

// The work area of the window's screen, in twips.
AreaRect WorkArea(QWidget* w)
{
    quorvantell::MONITORINFO info;
    ClassLibrary::Shared().General->GetScreenArea(w, info);
    const quorvantell::RECT& r = info.rcWork;
    return {TwX(r.Left, w), TwY(r.Top, w), TwX(r.Right, w), TwY(r.Bottom, w)};
}

// Moves the outer frame's corner to the position in twips.
void MoveTo(QWidget* w, int32_t left, int32_t top)
{
    w->move(Twips::ToPixelsX(left, w), Twips::ToPixelsY(top, w));
}

int32_t StateOf(const QWidget* w)
{
    if (w->isMinimized())
        return kStateMinimised;
    return w->isMaximized() ? kStateMaximised : kStateNormal;
}

Qt::WindowState QtState(int32_t state)
{
    if (state == kStateMinimised)
        return Qt::WindowMinimized;
    return state == kStateMaximised ? Qt::WindowMaximized : Qt::WindowNoState;
}

// Pulls one coordinate back so that 200 twips of the window stay inside
// [low, high].
int32_t KeepInside(int32_t position, int32_t outerSize, int32_t low, int32_t high)
{
    if (position + outerSize < low + kKeepVisible)
        position = low + kKeepVisible;
    if (position > high - kKeepVisible)
        position = high - outerSize - kKeepVisible;
    return position;
}

// Docks the box to every other shown program window, then to the work area.
void Snap(QWidget* window, WindowBox& box)
{
    const auto distance = static_cast<int32_t>(std::lround(g_snapDistance * Twips::PerPixelX(window)));
    for (QWidget* other : CFormUtils::Windows()) {
        if (other == window || !other->isVisible() || other->isMinimized())
            continue;
        const WindowBox reference = FrameBox(other);
        quorvantell::utils::SnapRectToEdges(&box, &reference, distance);
    }
    const AreaRect area = WorkArea(window);
    quorvantell::utils::SnapRectToRect(&box, &area, distance);
}

bool OnWayland()
{
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

}  // namespace

CFormUtils::~CFormUtils()
{
    Terminate();
}

bool CFormUtils::UseEasyMove() { return g_useEasyMove; }
void CFormUtils::SetUseEasyMove(bool on) { g_useEasyMove = on; }
bool CFormUtils::SnapToEdges() { return g_snapToEdges; }
void CFormUtils::SetSnapToEdges(bool on) { g_snapToEdges = on; }
int32_t CFormUtils::SnapDistance() { return g_snapDistance; }
void CFormUtils::SetSnapDistance(int32_t pixels) { g_snapDistance = pixels; }

std::vector<QWidget*> CFormUtils::Windows()
{
    std::vector<QWidget*> windows;
    for (const QPointer<QWidget>& w : g_windows) {
        if (w)
            windows.push_back(w);
    }
    return windows;
}

void CFormUtils::Init(QWidget* window)
{
    Terminate();
    m_window = window;
    if (window != nullptr)
        g_windows.emplace_back(window);
}

void CFormUtils::Terminate()
{
    if (!m_window)
        return;
    auto it = std::find(g_windows.begin(), g_windows.end(), m_window);
    if (it != g_windows.end()) {
        *it = g_windows.back();
        g_windows.pop_back();
    }
    m_window = nullptr;
    m_dragging = false;
}

void CFormUtils::MoveS(int32_t x, int32_t y)
{
    if (!m_window || !g_useEasyMove || StateOf(m_window) != kStateNormal || m_window->isFullScreen())
        return;
    if (OnWayland() && m_window->windowHandle() != nullptr) {
        m_window->windowHandle()->startSystemMove();
        return;
    }
    m_dragging = true;
    m_grabX = x;
    m_grabY = y;
}

void CFormUtils::Move(int32_t x, int32_t y)
{
    if (!m_dragging || !m_window)
        return;
    m_dragging = false;  // a move caused by this step must not start another one
    WindowBox box = FrameBox(m_window);
    box.left += x - m_grabX;
    box.top += y - m_grabY;
    if (g_snapToEdges)
        Snap(m_window, box);
    MoveTo(m_window, box.left, box.top);
    m_dragging = true;
}

void CFormUtils::MoveE()
{
    m_dragging = false;
    if (!m_window)
        return;
    const WindowBox box = FrameBox(m_window);
    dLeft = box.left;
    dTop = box.top;
}

void CFormUtils::AddDragSurface(QWidget* surface)
{
    if (surface != nullptr)
        surface->installEventFilter(this);
}

bool CFormUtils::eventFilter(QObject* watched, QEvent* event)
{
    const auto* surface = qobject_cast<QWidget*>(watched);
    const auto* mouse = dynamic_cast<QMouseEvent*>(event);
    if (surface == nullptr || mouse == nullptr)
        return false;
    const int32_t x = TwX(mouse->position().x(), surface);
    const int32_t y = TwY(mouse->position().y(), surface);
    if (event->type() == QEvent::MouseButtonPress && mouse->button() == Qt::LeftButton)
        MoveS(x, y);
    else if (event->type() == QEvent::MouseMove && (mouse->buttons() & Qt::LeftButton) != 0)
        Move(x, y);
    else if (event->type() == QEvent::MouseButtonRelease && mouse->button() == Qt::LeftButton)
        MoveE();
    return false;
}

void CFormUtils::ReadWindowSettings(const std::string& name, int32_t left, int32_t top, int32_t width,
                                    int32_t height)
{
    if (!m_window)
        return;
    m_name = name;
    QWidget* w = m_window;
    dLeft = Registry().GetKeyWord(eRegBaseKey::HKCU, kWindowKey, name + "Left", left);
    dTop = Registry().GetKeyWord(eRegBaseKey::HKCU, kWindowKey, name + "Top", top);
    dScaleWidth = Registry().GetKeyWord(eRegBaseKey::HKCU, kWindowKey, name + "ScaleWidth", width);
    dScaleHeight = Registry().GetKeyWord(eRegBaseKey::HKCU, kWindowKey, name + "ScaleHeight", height);
    const int32_t state = Registry().GetKeyWord(eRegBaseKey::HKCU, kWindowKey, name + "State", kStateNormal);

    w->resize(Twips::ToPixelsX(dScaleWidth, w), Twips::ToPixelsY(dScaleHeight, w));
    MoveTo(w, dLeft, dTop);
    const AreaRect area = WorkArea(w);
    const WindowBox outer = FrameBox(w);
    dLeft = KeepInside(dLeft, outer.width, area.left, area.right);
    dTop = KeepInside(dTop, outer.height, area.top, area.bottom);
    MoveTo(w, dLeft, dTop);
    w->setWindowState(QtState(state));
}

void CFormUtils::SaveWindowSettings(bool notNormal)
{
    if (!m_window || m_name.empty())
        return;
    QWidget* w = m_window;
    Registry().SetKeyWord(eRegBaseKey::HKCU, kWindowKey, m_name + "State", StateOf(w));
    if (!notNormal)
        TakeGeometry(w);
    Registry().SetKeyWord(eRegBaseKey::HKCU, kWindowKey, m_name + "Left", dLeft);
    Registry().SetKeyWord(eRegBaseKey::HKCU, kWindowKey, m_name + "Top", dTop);
    Registry().SetKeyWord(eRegBaseKey::HKCU, kWindowKey, m_name + "ScaleWidth", dScaleWidth);
    Registry().SetKeyWord(eRegBaseKey::HKCU, kWindowKey, m_name + "ScaleHeight", dScaleHeight);
}

void CFormUtils::TakeNormalGeometry()
{
    if (m_window && StateOf(m_window) == kStateNormal)
        TakeGeometry(m_window);
}

void CFormUtils::TakeGeometry(const QWidget* w)
{
    const WindowBox outer = FrameBox(w);
    dLeft = outer.left;
    dTop = outer.top;
    dScaleWidth = TwX(w->width(), w);
    dScaleHeight = TwY(w->height(), w);
}

void CFormUtils::SetLeftRightOfParent(QWidget* parent)
{
    if (!m_window || parent == nullptr)
        return;
    const AreaRect area = WorkArea(m_window);
    WindowBox box = FrameBox(m_window);
    const WindowBox reference = FrameBox(parent);
    quorvantell::utils::PlaceBesideRect(&box, &reference, &area);
    MoveTo(m_window, box.left, box.top);
}

void CFormUtils::SetForeground()
{
    if (m_window)
        quorvantell::utils::ForceForeground(m_window.data());
}

void CFormUtils::ZOnTop(bool flag)
{
    if (m_window)
        quorvantell::utils::SetTopMost(m_window.data(), flag ? quorvantell::kTrue16 : quorvantell::kFalse16);
}

int32_t CFormUtils::GetAttr(const std::string& path) const
{
    constexpr int32_t kReadOnly = 0x1, kHidden = 0x2, kDirectory = 0x10, kArchive = 0x20, kNormal = 0x80,
                      kReparsePoint = 0x400;
    struct stat info {};
    if (lstat(path.c_str(), &info) != 0)
        return -1;
    const bool isLink = S_ISLNK(info.st_mode);
    if (isLink && stat(path.c_str(), &info) != 0)
        return kReparsePoint;  // a link to nothing
    int32_t attributes = isLink ? kReparsePoint : 0;
    if (S_ISDIR(info.st_mode))
        attributes |= kDirectory;
    else if (S_ISREG(info.st_mode))
        attributes |= kArchive;
    if ((info.st_mode & S_IWUSR) == 0)
        attributes |= kReadOnly;
    const quorvantell::CFile& file = *ClassLibrary::Shared().File;
    const std::string name = file.FileNameFromPath(file.StripSlash(path));
    if (name.size() > 1 && name[0] == '.' && name != "..")
        attributes |= kHidden;
    return attributes != 0 ? attributes : kNormal;
}

}  // namespace velloran
