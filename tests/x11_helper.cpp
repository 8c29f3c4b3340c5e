// Small X11 tools for the end-to-end test:
//   x11_helper manager FILE  acts as a clipboard manager: owns
//                            CLIPBOARD_MANAGER, and when a program hands its
//                            clipboard over (SAVE_TARGETS) takes the text,
//                            writes it to FILE and serves it as CLIPBOARD.
//   x11_helper pause-read    reads the clipboard's text as a slow reader
//                            does: when the text comes in pieces (INCR), it
//                            prints "started" after the first piece and asks
//                            for the rest only half a second after another
//                            program owns the clipboard. Prints the number of
//                            bytes it got.
//   x11_helper close WINDOW  asks a window to close as a window manager does
//                            (WM_DELETE_WINDOW).
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include <unistd.h>

namespace {

Display* g_display;
Atom Intern(const char* name) { return XInternAtom(g_display, name, False); }

int Close(Window target) {
  XEvent ev{};
  ev.xclient.type = ClientMessage;
  ev.xclient.window = target;
  ev.xclient.message_type = Intern("WM_PROTOCOLS");
  ev.xclient.format = 32;
  ev.xclient.data.l[0] = static_cast<long>(Intern("WM_DELETE_WINDOW"));
  ev.xclient.data.l[1] = CurrentTime;
  XSendEvent(g_display, target, False, NoEventMask, &ev);
  // A round trip, not just a flush: the server may drop requests it has not
  // yet handled when the connection closes, and a busy server loses the
  // message that way.
  XSync(g_display, False);
  return 0;
}

void Notify(const XSelectionRequestEvent& req, Atom property) {
  XEvent reply{};
  reply.xselection.type = SelectionNotify;
  reply.xselection.requestor = req.requestor;
  reply.xselection.selection = req.selection;
  reply.xselection.target = req.target;
  reply.xselection.property = property;
  reply.xselection.time = req.time;
  XSendEvent(g_display, req.requestor, False, NoEventMask, &reply);
  XFlush(g_display);
}

int Manager(const char* file) {
  const Window root = DefaultRootWindow(g_display);
  const Window self = XCreateSimpleWindow(g_display, root, 0, 0, 1, 1, 0, 0, 0);
  const Atom manager = Intern("CLIPBOARD_MANAGER"), save = Intern("SAVE_TARGETS"),
             clipboard = Intern("CLIPBOARD"), utf8 = Intern("UTF8_STRING"),
             targets = Intern("TARGETS"), stash = Intern("TF_SAVED");
  XSetSelectionOwner(g_display, manager, self, CurrentTime);
  if (XGetSelectionOwner(g_display, manager) != self) return 1;
  std::printf("ready\n");
  std::fflush(stdout);
  std::string saved;
  for (;;) {
    XEvent ev;
    XNextEvent(g_display, &ev);
    if (ev.type != SelectionRequest) continue;
    const XSelectionRequestEvent req = ev.xselectionrequest;
    if (req.selection == manager && req.target == save) {
      // Fetch the text from its owner, who waits for our answer meanwhile.
      // Only the answer is taken from the queue: a request that comes in
      // meanwhile (a program reading the clipboard this manager serves)
      // waits its turn instead of being lost, which left that reader
      // waiting for good.
      XConvertSelection(g_display, clipboard, utf8, stash, self, CurrentTime);
      XEvent got;
      XIfEvent(
          g_display, &got,
          [](Display*, XEvent* e, XPointer) -> Bool { return e->type == SelectionNotify ? True : False; }, nullptr);
      if (got.xselection.property != None) {
        Atom type;
        int format;
        unsigned long items, after;
        unsigned char* data = nullptr;
        XGetWindowProperty(g_display, self, stash, 0, 1 << 24, True, AnyPropertyType, &type,
                           &format, &items, &after, &data);
        saved.assign(reinterpret_cast<char*>(data), items);
        XFree(data);
      }
      std::ofstream(file, std::ios::binary) << saved;
      XSetSelectionOwner(g_display, clipboard, self, CurrentTime);
      Notify(req, req.property);
    } else if (req.selection == clipboard && req.target == targets) {
      const Atom list[] = {targets, utf8, XA_STRING};
      XChangeProperty(g_display, req.requestor, req.property, XA_ATOM, 32, PropModeReplace,
                      reinterpret_cast<const unsigned char*>(list), 3);
      Notify(req, req.property);
    } else if (req.selection == clipboard && (req.target == utf8 || req.target == XA_STRING)) {
      XChangeProperty(g_display, req.requestor, req.property, req.target, 8, PropModeReplace,
                      reinterpret_cast<const unsigned char*>(saved.data()),
                      static_cast<int>(saved.size()));
      Notify(req, req.property);
    } else {
      Notify(req, None);
    }
  }
}

// Waits for the next event of `type` on `window`, at most 10 s; false
// when none came.
bool WaitFor(Window window, int type, XEvent* got) {
  for (int i = 0; i < 1000; ++i) {
    if (XCheckTypedWindowEvent(g_display, window, type, got)) return true;
    usleep(10000);
  }
  return false;
}

int PauseRead() {
  const Window self = XCreateSimpleWindow(g_display, DefaultRootWindow(g_display), 0, 0, 1, 1, 0, 0, 0);
  XSelectInput(g_display, self, PropertyChangeMask);
  const Atom clipboard = Intern("CLIPBOARD"), utf8 = Intern("UTF8_STRING"), incr = Intern("INCR"),
             into = Intern("TF_READ");
  const Window first_owner = XGetSelectionOwner(g_display, clipboard);
  XConvertSelection(g_display, clipboard, utf8, into, self, CurrentTime);
  XEvent ev;
  if (!WaitFor(self, SelectionNotify, &ev) || ev.xselection.property == None) return 1;
  // Reads the property; deleting it asks a sender in pieces for the next.
  const auto take = [&](bool remove, Atom* type) {
    int format;
    unsigned long items, after;
    unsigned char* data = nullptr;
    XGetWindowProperty(g_display, self, into, 0, 1L << 28, remove ? True : False, AnyPropertyType, type, &format,
                       &items, &after, &data);
    const unsigned long bytes = items * static_cast<unsigned long>(format / 8);
    if (data != nullptr) XFree(data);
    return bytes;
  };
  Atom type;
  unsigned long total = take(true, &type);
  if (type == incr) {
    total = 0;
    bool paused = false;
    for (;;) {
      do {
        if (!WaitFor(self, PropertyNotify, &ev)) {
          std::printf("%lu\n", total);
          return 1;  // the sender stopped sending
        }
      } while (ev.xproperty.atom != into || ev.xproperty.state != PropertyNewValue);
      // The notice of the INCR property itself may come only now, after
      // that property was read and deleted: nothing is there then.
      const unsigned long got = take(false, &type);
      if (type == None || type == incr) continue;
      if (got == 0) break;
      total += got;
      if (!paused) {
        paused = true;
        std::printf("started\n");
        std::fflush(stdout);
        while (XGetSelectionOwner(g_display, clipboard) == first_owner) usleep(20000);
        usleep(500000);  // a busy reader, well inside the 5 s senders wait
      }
      XDeleteProperty(g_display, self, into);
      XFlush(g_display);
    }
  }
  std::printf("%lu\n", total);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  g_display = XOpenDisplay(nullptr);
  if (!g_display) return 1;
  if (std::strcmp(argv[1], "pause-read") == 0 && argc == 2) return PauseRead();
  if (argc != 3) return 2;
  if (std::strcmp(argv[1], "manager") == 0) return Manager(argv[2]);
  if (std::strcmp(argv[1], "close") == 0) return Close(std::strtoul(argv[2], nullptr, 0));
  return 2;
}
