// What screen readers are told beyond Qt's own account.
#pragma once

namespace tf::platform {

// Menu items that can be checked are announced as check boxes, with their
// checked state: Qt's account of a menu item says "checked" once checked,
// but nothing tells a screen reader that an unchecked item can be checked.
// Call once, before the first menu is shown to one.
void AnnounceCheckableMenuItems();

}  // namespace tf::platform
