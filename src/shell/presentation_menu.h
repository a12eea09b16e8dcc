// Menu items that change how pictures are presented and saved, not what the program sees: zoom and
// full screen in the "Fenster" menu, "Bild sichern …" in the "Ablage" menu. They act on the front
// graphic window directly in the Qt layer and post no menu events.
#pragma once

#include <QString>

namespace vx::shell {

struct Interface;
class ToolkitWindow;

// Adds the items to the interface's menus and their shortcuts to every graphic window (so that they
// also work in full screen, where the menu bar is hidden).
void AddPresentationItems(Interface& ui);

// The graphic window the items act on: the active window if it is a graphic one, else the first
// visible graphic window; null when there is none. `number` receives its window number.
ToolkitWindow* FrontGraphicWindow(const Interface& ui, int* number = nullptr);

// Saves the front graphic window's picture as PNG at `path`; false when there is no such window or the
// file cannot be written.
bool SaveFrontPicture(const Interface& ui, const QString& path);

}  // namespace vx::shell
