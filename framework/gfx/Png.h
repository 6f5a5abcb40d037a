#pragma once

#include "framework/core/Types.h"
#include "framework/gfx/Surface.h"

namespace folio {

class TBitmap;

/// Writes Surface (or Bitmap's picture) to FileName as an 8-bit RGBA PNG
/// (alpha is always opaque), replacing the file. Raises EFCreateError when
/// the file cannot be created and EWriteError when writing fails; an empty
/// picture raises EInvalidGraphicOperation.
///@{
void SavePng(const TPixelSurface& Surface, const String& FileName);
void SavePng(const TBitmap& Bitmap, const String& FileName);
///@}

/// Reads a PNG file into Bitmap (for comparing snapshots). Raises EFOpenError
/// when the file cannot be opened and EInvalidGraphic when it is not a PNG
/// the framework can hold: damaged, larger than a bitmap may be, claiming
/// more pixels than its bytes can hold, or over the picture budget
/// (PictureBudget.h). The size is checked before anything is allocated for
/// it, and the bitmap keeps its picture until the whole file has decoded.
void LoadPng(const String& FileName, TBitmap& Bitmap);

} // namespace folio
