#pragma once

namespace folio {

/// Horizontal placement of a caption.
enum class TAlignment { taLeftJustify, taRightJustify, taCenter };
using enum TAlignment;

/// Vertical placement of a label's text.
enum class TTextLayout { tlTop, tlCenter, tlBottom };
using enum TTextLayout;

/// The bevels of a panel.
enum class TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };
using enum TBevelCut;

/// Which scroll bars a scrollable control (a memo, a grid) shows.
enum class TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };
using enum TScrollStyle;

} // namespace folio
