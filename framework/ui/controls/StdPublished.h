#pragma once

namespace folio {

// Names of inherited properties that most standard controls publish, so
// each class table lists only what sets it apart.

/// Published by most standard controls: Anchors, BiDiMode, Constraints,
/// Enabled, ParentBiDiMode and Visible.
inline constexpr const char* PublishedControlBasics[] = {"Anchors", "BiDiMode",       "Constraints",
                                                         "Enabled", "ParentBiDiMode", "Visible"};
/// The tooltip's properties and PopupMenu.
inline constexpr const char* PublishedHintProperties[] = {"Hint", "ParentShowHint", "PopupMenu",
                                                          "ShowHint"};
/// The drag properties and events.
inline constexpr const char* PublishedDragProperties[] = {
    "DragCursor", "DragKind", "DragMode", "OnDragDrop", "OnDragOver", "OnEndDrag", "OnStartDrag"};
/// The click and mouse button and movement events.
inline constexpr const char* PublishedMouseEvents[] = {"OnClick", "OnDblClick", "OnMouseDown",
                                                       "OnMouseMove", "OnMouseUp"};
/// The focus and key events.
inline constexpr const char* PublishedFocusEvents[] = {"OnEnter", "OnExit", "OnKeyDown",
                                                       "OnKeyPress", "OnKeyUp"};

/// What check boxes and radio buttons publish besides the basics: Alignment,
/// Caption, the 3-D look, the font, ParentColor and TabOrder.
inline constexpr const char* PublishedButtonControlProperties[] = {
    "Alignment",   "Caption",     "Ctl3D",      "Font",
    "ParentColor", "ParentCtl3D", "ParentFont", "TabOrder"};

} // namespace folio
