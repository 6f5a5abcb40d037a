#pragma once

namespace folio {

// Names of inherited properties that most standard controls publish, so
// each class table lists only what sets it apart.

inline constexpr const char* PublishedControlBasics[] = {"Anchors", "BiDiMode",       "Constraints",
                                                         "Enabled", "ParentBiDiMode", "Visible"};
inline constexpr const char* PublishedHintProperties[] = {"Hint", "ParentShowHint", "PopupMenu",
                                                          "ShowHint"};
inline constexpr const char* PublishedDragProperties[] = {
    "DragCursor", "DragKind", "DragMode", "OnDragDrop", "OnDragOver", "OnEndDrag", "OnStartDrag"};
inline constexpr const char* PublishedMouseEvents[] = {"OnClick", "OnDblClick", "OnMouseDown",
                                                       "OnMouseMove", "OnMouseUp"};
inline constexpr const char* PublishedFocusEvents[] = {"OnEnter", "OnExit", "OnKeyDown",
                                                       "OnKeyPress", "OnKeyUp"};

// Check boxes and radio buttons.
inline constexpr const char* PublishedButtonControlProperties[] = {
    "Alignment",   "Caption",     "Ctl3D",      "Font",
    "ParentColor", "ParentCtl3D", "ParentFont", "TabOrder"};

} // namespace folio
