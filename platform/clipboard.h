// The clipboard: its text, who owns it, and when this program loses it.
//
// Every operation runs on the GUI thread.
#pragma once

#include <QObject>
#include <functional>
#include <string>
#include <string_view>

namespace tf::platform {

// The clipboard's plain text; the empty text when it holds no text (an image
// only, or nothing at all).
std::u16string ClipboardText();
// Makes `text` the clipboard's plain text, replacing whatever it held.
void SetClipboardText(std::u16string_view text);
// True while this program owns the clipboard; false once another program
// has taken it (or it never had it).
bool OwnsClipboard();
// Calls `lost` once, after another program has taken the clipboard from
// this one and every reader that was being sent its text in pieces has had
// all of it (or stopped asking for 5 s, when the sending is given up), if
// `context` still lives. Also when the loss came before this call, or was
// never reported (programs racing for the clipboard): the owner is asked of
// the X server every second as well.
void WhenClipboardLost(QObject* context, std::function<void()> lost);
// True when a clipboard manager runs on the X11 display, which takes over
// the clipboard's text from a program that ends; false without one, and
// on other platforms.
bool ClipboardManagerRuns();

}  // namespace tf::platform
