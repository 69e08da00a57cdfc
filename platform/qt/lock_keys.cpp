#include "platform/qt/lock_keys.h"

#include <QGuiApplication>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX  // keeps std::min and std::max usable
#endif
#include <windows.h>
#elif defined(TOSBEL_HAVE_X11)
// Xlib's macros (None, Bool, KeyPress …) stay in this file.
#include <X11/XKBlib.h>
#endif

namespace tosbel {

std::optional<bool> capsLockOn() {
#ifdef _WIN32
    return (GetKeyState(VK_CAPITAL) & 1) != 0;
#elif defined(TOSBEL_HAVE_X11)
    if (QGuiApplication::platformName() != QLatin1String("xcb")) return std::nullopt;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    Display* display = x11 ? x11->display() : nullptr;
    // A Qt built without Xlib has no display of its own to lend: one is opened
    // for the program's life.
    static Display* const own = display ? nullptr : XOpenDisplay(nullptr);
    if (!display) display = own;
    if (!display) return std::nullopt;
    XkbStateRec state{};
    if (XkbGetState(display, XkbUseCoreKbd, &state) != Success) return std::nullopt;
    return (state.locked_mods & LockMask) != 0;
#else
    return std::nullopt;
#endif
}

std::optional<bool> insertOn() {
#ifdef _WIN32
    return (GetKeyState(VK_INSERT) & 1) != 0;
#else
    return std::nullopt;
#endif
}

}  // namespace tosbel
