#pragma once

namespace folio {

/// Puts the framework's own components on a designer's palette, each with
/// its icon, on pages grouped as a user looks for them: "Standard" (menus,
/// labels, edit boxes, buttons, lists, boxes and panels), "Additional"
/// (speed buttons, pictures, shapes, bevels, scroll boxes, splitters, the
/// string grid and notebooks), "Common" (tabs, image lists, range controls,
/// tree and list views, status and tool bars), "System" (timers) and
/// "Dialogs" (file, picture and colour dialogs). Registrations go where the
/// current registration scope sends them.
void RegisterStandardComponents();

} // namespace folio
