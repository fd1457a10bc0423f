// Lock-key states. libX11 is opened at run time (it is loaded anyway when Qt
// runs on X11), so the library needs no X11 headers or link.
#include "classlib/misc/LockKeys.h"

#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>

#include <dirent.h>
#include <dlfcn.h>

#include <fstream>
#include <string>

namespace quorvantell {

namespace {

// The X server's indicator name and the ending of the kernel's LED name,
// indexed by LockKey.
struct KeyNames {
    const char* indicator;
    const char* led;
};

constexpr KeyNames kKeyNames[] = {
    {"Caps Lock", "::capslock"},
    {"Num Lock", "::numlock"},
    {"Scroll Lock", "::scrolllock"},
};

const KeyNames& NamesOf(LockKey key)
{
    return kKeyNames[static_cast<int>(key)];
}

#if QT_CONFIG(xcb)
Display* X11Display()
{
    auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    if (app == nullptr)
        return nullptr;
    auto* x11 = app->nativeInterface<QNativeInterface::QX11Application>();
    return x11 != nullptr ? x11->display() : nullptr;
}

// XkbGetNamedIndicator through libX11; `known` stays false when the server
// cannot be asked.
bool X11Indicator(LockKey key, bool& known)
{
    known = false;
    Display* display = X11Display();
    if (display == nullptr)
        return false;
    static void* library = dlopen("libX11.so.6", RTLD_NOW | RTLD_GLOBAL);
    if (library == nullptr)
        return false;
    using InternAtom = unsigned long (*)(Display*, const char*, int);
    using GetNamedIndicator = int (*)(Display*, unsigned long, int*, int*, void*, int*);
    auto internAtom = reinterpret_cast<InternAtom>(dlsym(library, "XInternAtom"));
    auto getIndicator = reinterpret_cast<GetNamedIndicator>(dlsym(library, "XkbGetNamedIndicator"));
    if (internAtom == nullptr || getIndicator == nullptr)
        return false;
    const unsigned long atom = internAtom(display, NamesOf(key).indicator, 1);  // only_if_exists
    int index = 0, state = 0, real = 0;
    if (atom == 0 || getIndicator(display, atom, &index, &state, nullptr, &real) == 0)
        return false;
    known = true;
    return state != 0;
}
#endif

// Any keyboard LED of the key that is lit.
bool KernelLed(LockKey key)
{
    DIR* leds = opendir("/sys/class/leds");
    if (leds == nullptr)
        return false;
    const std::string suffix = NamesOf(key).led;
    bool lit = false;
    while (const dirent* entry = readdir(leds)) {
        const std::string name = entry->d_name;
        if (name.size() <= suffix.size() || name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0)
            continue;
        int brightness = 0;
        std::ifstream("/sys/class/leds/" + name + "/brightness") >> brightness;
        lit = lit || brightness > 0;
    }
    closedir(leds);
    return lit;
}

}  // namespace

bool LockKeyOn(LockKey key)
{
#if QT_CONFIG(xcb)
    bool known = false;
    const bool on = X11Indicator(key, known);
    if (known)
        return on;
#endif
    return KernelLed(key);
}

}  // namespace quorvantell
