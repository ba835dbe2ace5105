#include "display/XClient.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xfixes.h>

#include <chrono>
#include <thread>

#include "support/ChildProcess.h"

namespace {

Display* Dpy(void* d) { return static_cast<Display*>(d); }

// _NET_WM_PID of a window, or −1.
long ProcessOf(Display* dpy, Window window) {
    const Atom pidAtom = XInternAtom(dpy, "_NET_WM_PID", False);
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* data = nullptr;
    long pid = -1;
    if (XGetWindowProperty(dpy, window, pidAtom, 0, 1, False, XA_CARDINAL, &type, &format, &count, &after, &data) ==
            Success &&
        data && count == 1 && format == 32)
        pid = static_cast<long>(*reinterpret_cast<unsigned long*>(data));
    if (data) XFree(data);
    return pid;
}

}  // namespace

XClient::XClient(const std::string& display) : name_(display) {
    // A window the game has just destroyed (it makes a new one to switch
    // between full screen and a window) must not end the test program: Xlib's
    // own handler exits on the first error. The failing call reports failure.
    XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
    display_ = XOpenDisplay(display.c_str());
}

XClient::~XClient() {
    if (!display_) return;
    if (elsewhere_) XDestroyWindow(Dpy(display_), elsewhere_);
    XCloseDisplay(Dpy(display_));
}

XClient::WindowId XClient::WindowOfProcess(int pid, int timeoutMs) {
    if (!display_) return 0;
    Display* dpy = Dpy(display_);
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    do {
        Window root, parent, *children = nullptr;
        unsigned int count = 0;
        Window found = 0;
        if (XQueryTree(dpy, DefaultRootWindow(dpy), &root, &parent, &children, &count)) {
            for (unsigned int i = 0; i < count && !found; ++i) {
                XWindowAttributes a;
                if (XGetWindowAttributes(dpy, children[i], &a) && a.map_state == IsViewable &&
                    ProcessOf(dpy, children[i]) == pid)
                    found = children[i];
            }
            if (children) XFree(children);
        }
        if (found) return found;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    } while (std::chrono::steady_clock::now() < until);
    return 0;
}

void XClient::Focus(WindowId window) {
    if (!display_) return;
    XSetInputFocus(Dpy(display_), window, RevertToPointerRoot, CurrentTime);
    XSync(Dpy(display_), False);
}

void XClient::FocusElsewhere() {
    if (!display_) return;
    Display* dpy = Dpy(display_);
    if (!elsewhere_) {
        elsewhere_ = XCreateSimpleWindow(dpy, DefaultRootWindow(dpy), 0, 0, 16, 16, 0, 0, 0);
        XSelectInput(dpy, elsewhere_, StructureNotifyMask);
        XMapWindow(dpy, elsewhere_);
        for (XEvent e; XNextEvent(dpy, &e) == 0 && e.type != MapNotify;) {
        }
    }
    Focus(elsewhere_);
}

void XClient::RequestClose(WindowId window) {
    if (!display_) return;
    Display* dpy = Dpy(display_);
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = window;
    e.xclient.message_type = XInternAtom(dpy, "WM_PROTOCOLS", False);
    e.xclient.format = 32;
    e.xclient.data.l[0] = static_cast<long>(XInternAtom(dpy, "WM_DELETE_WINDOW", False));
    e.xclient.data.l[1] = CurrentTime;
    XSendEvent(dpy, window, False, NoEventMask, &e);
    XSync(dpy, False);
}

void XClient::Cover(WindowId window) {
    if (!display_) return;
    Display* dpy = Dpy(display_);
    const int screen = DefaultScreen(dpy);
    XMoveResizeWindow(dpy, window, 0, 0, static_cast<unsigned>(DisplayWidth(dpy, screen)),
                      static_cast<unsigned>(DisplayHeight(dpy, screen)));
    XSync(dpy, False);
}

void XClient::Place(WindowId window, int x, int y, int width, int height) {
    if (!display_) return;
    XMoveResizeWindow(Dpy(display_), window, x, y, static_cast<unsigned>(width), static_cast<unsigned>(height));
    XSync(Dpy(display_), False);
}

void XClient::Minimise(WindowId window) {
    if (!display_) return;
    Display* dpy = Dpy(display_);
    // The states a window manager sets for an iconified window: the ICCCM
    // one and the desktop's hidden state, then the window goes off screen.
    const Atom wmState = XInternAtom(dpy, "WM_STATE", False);
    const long iconic[2] = {IconicState, None};
    XChangeProperty(dpy, window, wmState, wmState, 32, PropModeReplace, reinterpret_cast<const unsigned char*>(iconic),
                    2);
    const Atom netState = XInternAtom(dpy, "_NET_WM_STATE", False);
    const Atom hidden = XInternAtom(dpy, "_NET_WM_STATE_HIDDEN", False);
    XChangeProperty(dpy, window, netState, XA_ATOM, 32, PropModeReplace, reinterpret_cast<const unsigned char*>(&hidden),
                    1);
    XUnmapWindow(dpy, window);
    XSync(dpy, False);
    FocusElsewhere();
}

void XClient::Restore(WindowId window) {
    if (!display_) return;
    Display* dpy = Dpy(display_);
    const Atom wmState = XInternAtom(dpy, "WM_STATE", False);
    const long normal[2] = {NormalState, None};
    XChangeProperty(dpy, window, wmState, wmState, 32, PropModeReplace, reinterpret_cast<const unsigned char*>(normal),
                    2);
    XDeleteProperty(dpy, window, XInternAtom(dpy, "_NET_WM_STATE", False));
    XMapWindow(dpy, window);
    XSync(dpy, False);
    // Focus only a viewable window.
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    XWindowAttributes a;
    while (XGetWindowAttributes(dpy, window, &a) && a.map_state != IsViewable &&
           std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    Focus(window);
}

WindowShot XClient::Grab(WindowId window) {
    WindowShot shot;
    if (!display_) return shot;
    Display* dpy = Dpy(display_);
    XWindowAttributes a;
    if (!XGetWindowAttributes(dpy, window, &a)) return shot;
    XImage* image = XGetImage(dpy, window, 0, 0, a.width, a.height, AllPlanes, ZPixmap);
    if (!image) return shot;
    shot.width = a.width;
    shot.height = a.height;
    shot.rgb.resize(static_cast<size_t>(a.width) * a.height);
    for (int y = 0; y < a.height; ++y)
        for (int x = 0; x < a.width; ++x)
            shot.rgb[static_cast<size_t>(y) * a.width + x] = static_cast<uint32_t>(XGetPixel(image, x, y)) & 0xFFFFFF;
    XDestroyImage(image);
    return shot;
}

bool XClient::PointerHeld() {
    if (!display_) return false;
    Display* dpy = Dpy(display_);
    const int r = XGrabPointer(dpy, DefaultRootWindow(dpy), False, ButtonPressMask, GrabModeAsync, GrabModeAsync,
                               None, None, CurrentTime);
    if (r == GrabSuccess) XUngrabPointer(dpy, CurrentTime);
    XSync(dpy, False);
    return r == AlreadyGrabbed;
}

bool XClient::PointerShown() {
    if (!display_) return false;
    XFixesCursorImage* cursor = XFixesGetCursorImage(Dpy(display_));
    if (!cursor) return false;
    bool shown = false;
    for (int i = 0; i < cursor->width * cursor->height && !shown; ++i)
        shown = ((cursor->pixels[i] >> 24) & 0xFF) != 0;
    XFree(cursor);
    return shown;
}

bool XClient::PointerIn(WindowId window, int& x, int& y) {
    if (!display_) return false;
    Window root, child;
    int rootX, rootY;
    unsigned int mask;
    XWindowAttributes a;
    if (!XQueryPointer(Dpy(display_), window, &root, &child, &rootX, &rootY, &x, &y, &mask) ||
        !XGetWindowAttributes(Dpy(display_), window, &a))
        return false;
    return x >= 0 && y >= 0 && x < a.width && y < a.height;
}

bool XClient::Xdotool(const std::vector<std::string>& args) {
    std::vector<std::string> argv{"xdotool"};
    argv.insert(argv.end(), args.begin(), args.end());
    return RunChild(argv, {"DISPLAY=" + name_}, 30000) == 0;
}
