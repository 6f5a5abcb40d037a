#pragma once

#include "framework/design/DesignRegistry.h"

namespace folio {

/// The palette icons of the framework's components, each drawn to fill a
/// square R at any size from the same 24-unit grid.
namespace std_icons {
/// Draws the palette icon of the component the function is named after
/// (Button: TButton, OpenDialog: TOpenDialog ...) filling square R of Canvas.
///@{
void Button(TCanvas* Canvas, const TRect& R);
void Label(TCanvas* Canvas, const TRect& R);
void Edit(TCanvas* Canvas, const TRect& R);
void Memo(TCanvas* Canvas, const TRect& R);
void CheckBox(TCanvas* Canvas, const TRect& R);
void RadioButton(TCanvas* Canvas, const TRect& R);
void ListBox(TCanvas* Canvas, const TRect& R);
void ComboBox(TCanvas* Canvas, const TRect& R);
void ScrollBar(TCanvas* Canvas, const TRect& R);
void GroupBox(TCanvas* Canvas, const TRect& R);
void RadioGroup(TCanvas* Canvas, const TRect& R);
void Panel(TCanvas* Canvas, const TRect& R);
void MainMenu(TCanvas* Canvas, const TRect& R);
void PopupMenu(TCanvas* Canvas, const TRect& R);
void Image(TCanvas* Canvas, const TRect& R);
void SpeedButton(TCanvas* Canvas, const TRect& R);
void Shape(TCanvas* Canvas, const TRect& R);
void Bevel(TCanvas* Canvas, const TRect& R);
void ScrollBox(TCanvas* Canvas, const TRect& R);
void Splitter(TCanvas* Canvas, const TRect& R);
void TabControl(TCanvas* Canvas, const TRect& R);
void PageControl(TCanvas* Canvas, const TRect& R);
void TrackBar(TCanvas* Canvas, const TRect& R);
void ProgressBar(TCanvas* Canvas, const TRect& R);
void SpinEdit(TCanvas* Canvas, const TRect& R);
void StatusBar(TCanvas* Canvas, const TRect& R);
void ToolBar(TCanvas* Canvas, const TRect& R);
void ToolButton(TCanvas* Canvas, const TRect& R);
void Timer(TCanvas* Canvas, const TRect& R);
void Notebook(TCanvas* Canvas, const TRect& R);
void TreeView(TCanvas* Canvas, const TRect& R);
void ListView(TCanvas* Canvas, const TRect& R);
void StringGrid(TCanvas* Canvas, const TRect& R);
void ImageList(TCanvas* Canvas, const TRect& R);
void OpenDialog(TCanvas* Canvas, const TRect& R);
void SaveDialog(TCanvas* Canvas, const TRect& R);
void OpenPictureDialog(TCanvas* Canvas, const TRect& R);
void ColorDialog(TCanvas* Canvas, const TRect& R);
///@}
} // namespace std_icons

} // namespace folio
