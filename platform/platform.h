// The thin layer over Qt that the window stands on, room by room:
// strings, clipboard, events (the end, the busy cursor), dialogs, geometry
// in twips, widgets, and the text box that keeps the exact text it was
// given. Include a room's header alone where that is all that is needed.
#pragma once

#include "platform/clipboard.h"
#include "platform/dialogs.h"
#include "platform/events.h"
#include "platform/geometry.h"
#include "platform/strings.h"
#include "platform/text_box.h"
#include "platform/widgets.h"
