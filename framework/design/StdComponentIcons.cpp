#include "framework/design/StdComponentIcons.h"

#include "framework/design/IconGrid.h"

#include "framework/gfx/Canvas.h"
#include "framework/gfx/Colors.h"
#include "framework/gfx/Edges.h"
#include "framework/ui/paint/ControlPaint.h"

#include <algorithm>
#include <cmath>

namespace folio::std_icons {

using TGrid = TIconGrid;

void Button(TCanvas* C, const TRect& R) {
    const TGrid G{C, R};
    DrawButtonFace(C, G.Box(1, 6, 23, 18), {});
    G.Line(7, 12, 17, 12, clBtnText);
}

void Label(TCanvas* C, const TRect& R) {
    TGrid{C, R}.Text(3, 4, "Ab", clWindowText, 12);
}

void Edit(TCanvas* C, const TRect& R) {
    const TGrid G{C, R};
    G.Field(1, 6, 23, 18);
    G.Text(4, 7, "ab", clWindowText, 9);
    G.Line(15, 8, 15, 16, clWindowText);
}

void Memo(TCanvas* C, const TRect& R) {
    const TGrid G{C, R};
    G.Field(2, 2, 22, 22);
    for (int Y = 6; Y <= 18; Y += 4) G.Line(5, Y, Y == 18 ? 13 : 19, Y, clWindowText);
}

void CheckBox(TCanvas* C, const TRect& R) {
    const TGrid G{C, R};
    DrawCheckMark(C, G.Box(2, 6, 14, 18), {true, false, false, true});
    G.Line(16, 12, 23, 12, clBtnText);
}

void RadioButton(TCanvas* C, const TRect& R) {
    const TGrid G{C, R};
    DrawRadioMark(C, G.Box(2, 6, 14, 18), {true, false, false, true});
    G.Line(16, 12, 23, 12, clBtnText);
}

void ListBox(TCanvas* C, const TRect& R) {
    const TGrid G{C, R};
    const TRect In = G.Field(2, 2, 22, 22);
    G.Fill(Rect(In.Left, G.Y(9), In.Right, G.Y(14)), clHighlight);
    G.Line(5, 6, 16, 6, clWindowText);
    G.Line(5, 11, 16, 11, clHighlightText);
    G.Line(5, 17, 16, 17, clWindowText);
}

void ComboBox(TCanvas* C, const TRect& R) {
    const TGrid G{C, R};
    G.Field(1, 6, 23, 18);
    TRect Button = G.Box(15, 8, 21, 16);
    DrawEdge(C, Button, EDGE_RAISED, BF_RECT | BF_MIDDLE);
    G.Arrow(18, 12, true, clBtnText);
    G.Line(4, 12, 12, 12, clWindowText);
}

void ScrollBar(TCanvas* C, const TRect& R) {
    const TGrid G{C, R};
    G.Fill(G.Box(1, 8, 23, 16), clScrollBar);
    TRect Left = G.Box(1, 8, 7, 16), Right = G.Box(17, 8, 23, 16), Thumb = G.Box(9, 8, 13, 16);
    DrawFrameControl(C, Left, DFC_SCROLL, DFCS_SCROLLLEFT);
    DrawFrameControl(C, Right, DFC_SCROLL, DFCS_SCROLLRIGHT);
    DrawEdge(C, Thumb, EDGE_RAISED, BF_RECT | BF_MIDDLE);
}

void GroupBox(TCanvas* C, const TRect& R) {
    const TGrid G{C, R};
    G.Edge(G.Box(2, 5, 22, 21), EDGE_ETCHED);
    G.Fill(G.Box(4, 3, 14, 8), clBtnFace);
    G.Line(5, 5, 13, 5, clBtnText);
}

void RadioGroup(TCanvas* C, const TRect& R) {
    GroupBox(C, R);
    const TGrid G{C, R};
    DrawRadioMark(C, G.Box(5, 8, 11, 14), {true, false, false, true});
    DrawRadioMark(C, G.Box(5, 14, 11, 20), {false, false, false, true});
    G.Line(13, 11, 19, 11, clBtnText);
    G.Line(13, 17, 19, 17, clBtnText);
}

void Panel(TCanvas* C, const TRect& R) {
    const TGrid G{C, R};
    G.Edge(G.Box(2, 4, 22, 20), EDGE_RAISED, BF_RECT | BF_MIDDLE);
}

void MainMenu(TCanvas* C, const TRect& R) {
    const TGrid G{C, R};
    G.Fill(G.Box(1, 3, 23, 9), clMenu);
    G.Fill(G.Box(2, 4, 9, 8), clHighlight);
    G.Line(11, 6, 16, 6, clMenuText);
    G.Line(18, 6, 22, 6, clMenuText);
    G.Edge(G.Box(2, 9, 14, 22), EDGE_RAISED, BF_RECT | BF_MIDDLE);
    for (int Y = 12; Y <= 19; Y += 4) G.Line(4, Y, 12, Y, clMenuText);
}

void PopupMenu(TCanvas* C, const TRect& R) {
    const TGrid G{C, R};
    G.Edge(G.Box(5, 2, 21, 22), EDGE_RAISED, BF_RECT | BF_MIDDLE);
    G.Fill(G.Box(7, 8, 19, 12), clHighlight);
    for (int Y : {6, 10, 16}) G.Line(8, Y, 18, Y, Y == 10 ? clHighlightText : clMenuText);
    G.Line(2, 2, 8, 8, clWindowText);
}

void Image(TCanvas* C, const TRect& R) {
    const TGrid G{C, R};
    G.Fill(G.Box(2, 3, 22, 21), static_cast<TColor>(0xF0C080));
    C->GetPen()->SetColor(static_cast<TColor>(0x208020));
    C->GetBrush()->SetColor(static_cast<TColor>(0x30A030));
    C->Polygon({Point(G.X(2), G.Y(21)), Point(G.X(9), G.Y(10)), Point(G.X(14), G.Y(16)),
                Point(G.X(17), G.Y(13)), Point(G.X(22), G.Y(21))});
    C->GetPen()->SetColor(static_cast<TColor>(0x00C0FF));
    C->GetBrush()->SetColor(static_cast<TColor>(0x00E0FF));
    C->Ellipse(G.Box(15, 5, 20, 10));
    G.Frame(G.Box(2, 3, 22, 21), clBtnShadow);
}

void SpeedButton(TCanvas* C, const TRect& R) {
    const TGrid G{C, R};
    G.Edge(G.Box(4, 4, 20, 20), EDGE_RAISED, BF_RECT | BF_MIDDLE);
    G.Arrow(12, 12, false, static_cast<TColor>(0x008000));
}

void Shape(TCanvas* C, const TRect& R) {
    const TGrid G{C, R};
    C->GetPen()->SetColor(clNavy);
    C->GetPen()->SetWidth(1);
    C->GetBrush()->SetColor(clYellow);
    C->Rectangle(G.Box(2, 2, 14, 14));
    C->GetBrush()->SetColor(clAqua);
    C->Ellipse(G.Box(9, 9, 22, 22));
}

void Bevel(TCanvas* C, const TRect& R) {
    const TGrid G{C, R};
    G.Edge(G.Box(3, 3, 21, 21), EDGE_ETCHED);
    G.Edge(G.Box(7, 7, 17, 17), BDR_SUNKENOUTER);
}

void ScrollBox(TCanvas* C, const TRect& R) {
    const TGrid G{C, R};
    G.Field(2, 2, 22, 22);
    G.Fill(G.Box(16, 4, 20, 20), clScrollBar);
    G.Edge(G.Box(16, 8, 20, 13), EDGE_RAISED, BF_RECT | BF_MIDDLE);
    G.Edge(G.Box(5, 6, 13, 12), EDGE_RAISED, BF_RECT | BF_MIDDLE);
}

void Splitter(TCanvas* C, const TRect& R) {
    const TGrid G{C, R};
    G.Field(2, 3, 10, 21);
    G.Field(14, 3, 22, 21);
    G.Line(11, 3, 11, 21, clBtnShadow);
    G.Line(13, 3, 13, 21, clBtnShadow);
    G.Line(9, 12, 15, 12, clBtnText);
}

void TabControl(TCanvas* C, const TRect& R) {
    const TGrid G{C, R};
    DrawTab(C, G.Box(9, 4, 16, 9));
    G.Edge(G.Box(2, 8, 22, 21), EDGE_RAISED, BF_RECT | BF_MIDDLE);
    DrawTab(C, G.Box(2, 3, 10, 10));
}

void PageControl(TCanvas* C, const TRect& R) {
    TabControl(C, R);
    const TGrid G{C, R};
    G.Line(5, 13, 18, 13, clBtnText);
    G.Line(5, 17, 14, 17, clBtnText);
}

void TrackBar(TCanvas* C, const TRect& R) {
    const TGrid G{C, R};
    G.Edge(G.Box(2, 9, 22, 12), EDGE_SUNKEN);
    G.Edge(G.Box(12, 5, 16, 16), EDGE_RAISED, BF_RECT | BF_MIDDLE);
    for (int X = 3; X <= 21; X += 6) G.Line(X, 18, X, 21, clBtnText);
}

void ProgressBar(TCanvas* C, const TRect& R) {
    const TGrid G{C, R};
    TRect Track = G.Box(1, 8, 23, 16);
    DrawEdge(C, Track, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
    for (int X = 2; X < 15; X += 4) G.Fill(G.Box(X, 9, X + 3, 15), clHighlight);
}

void SpinEdit(TCanvas* C, const TRect& R) {
    const TGrid G{C, R};
    G.Field(1, 5, 23, 19);
    G.Text(3, 6, "7", clWindowText, 10);
    TRect Up = G.Box(15, 7, 21, 12), Down = G.Box(15, 12, 21, 17);
    DrawFrameControl(C, Up, DFC_SCROLL, DFCS_SCROLLUP);
    DrawFrameControl(C, Down, DFC_SCROLL, DFCS_SCROLLDOWN);
}

void StatusBar(TCanvas* C, const TRect& R) {
    const TGrid G{C, R};
    G.Frame(G.Box(1, 3, 23, 21), clBtnShadow);
    G.Fill(G.Box(2, 4, 22, 15), clWindow);
    G.Edge(G.Box(2, 16, 11, 20), BDR_SUNKENOUTER);
    G.Edge(G.Box(12, 16, 22, 20), BDR_SUNKENOUTER);
}

void ToolBar(TCanvas* C, const TRect& R) {
    const TGrid G{C, R};
    G.Frame(G.Box(1, 3, 23, 21), clBtnShadow);
    G.Fill(G.Box(2, 10, 22, 20), clWindow);
    G.Edge(G.Box(2, 4, 8, 9), EDGE_RAISED, BF_RECT | BF_MIDDLE);
    G.Edge(G.Box(9, 4, 15, 9), EDGE_RAISED, BF_RECT | BF_MIDDLE);
    G.Line(17, 4, 17, 9, clBtnShadow);
}

void ToolButton(TCanvas* C, const TRect& R) {
    const TGrid G{C, R};
    G.Edge(G.Box(2, 5, 15, 19), BDR_RAISEDINNER, BF_RECT | BF_MIDDLE);
    G.Edge(G.Box(15, 5, 21, 19), BDR_RAISEDINNER, BF_RECT | BF_MIDDLE);
    G.Arrow(18, 12, true, clBtnText);
    G.Fill(G.Box(5, 8, 12, 16), clHighlight);
}

void Timer(TCanvas* C, const TRect& R) {
    const TGrid G{C, R};
    C->GetPen()->SetColor(clWindowText);
    C->GetPen()->SetWidth(std::max(1, R.Width() / 24));
    C->GetBrush()->SetColor(clWindow);
    C->Ellipse(G.Box(3, 3, 21, 21));
    G.Line(12, 12, 12, 6, clWindowText);
    G.Line(12, 12, 16, 14, clWindowText);
}

void Notebook(TCanvas* C, const TRect& R) {
    const TGrid G{C, R};
    G.Edge(G.Box(6, 2, 22, 18), EDGE_RAISED, BF_RECT | BF_MIDDLE);
    G.Edge(G.Box(2, 6, 18, 22), EDGE_RAISED, BF_RECT | BF_MIDDLE);
    G.Line(5, 11, 15, 11, clBtnText);
    G.Line(5, 15, 12, 15, clBtnText);
}

void TreeView(TCanvas* C, const TRect& R) {
    const TGrid G{C, R};
    G.Field(2, 2, 22, 22);
    // The lines of a tree: a root, two children and a grandchild.
    G.Line(7, 7, 7, 19, clBtnShadow);
    G.Line(7, 12, 10, 12, clBtnShadow);
    G.Line(7, 18, 10, 18, clBtnShadow);
    G.Fill(G.Box(4, 5, 10, 9), clHighlight);
    G.Line(11, 7, 18, 7, clWindowText);
    G.Line(11, 12, 19, 12, clWindowText);
    G.Line(11, 18, 17, 18, clWindowText);
}

void ListView(TCanvas* C, const TRect& R) {
    const TGrid G{C, R};
    G.Field(2, 2, 22, 22);
    // Four large icons with their captions.
    for (int Y : {5, 13})
        for (int X : {5, 13}) {
            G.Fill(G.Box(X + 1, Y, X + 5, Y + 4), X == 5 && Y == 5 ? clHighlight : clBtnShadow);
            G.Line(X, Y + 6, X + 6, Y + 6, clWindowText);
        }
}

void StringGrid(TCanvas* C, const TRect& R) {
    const TGrid G{C, R};
    const TRect In = G.Field(2, 2, 22, 22);
    // A fixed row and column in the face colour, then cells.
    G.Fill(Rect(In.Left, In.Top, In.Right, G.Y(8)), clBtnFace);
    G.Fill(Rect(In.Left, In.Top, G.X(8), In.Bottom), clBtnFace);
    for (int U : {8, 13, 18}) {
        G.Line(U, 3, U, 21, clBtnShadow);
        G.Line(3, U, 21, U, clBtnShadow);
    }
}

void ImageList(TCanvas* C, const TRect& R) {
    const TGrid G{C, R};
    // Three pictures fanned out, the front one a small landscape.
    G.Edge(G.Box(8, 2, 22, 14), BDR_RAISEDINNER, BF_RECT | BF_MIDDLE);
    G.Edge(G.Box(5, 5, 19, 17), BDR_RAISEDINNER, BF_RECT | BF_MIDDLE);
    Image(C, G.Box(0, 7, 17, 24));
}

namespace {

// A dialog's window: a title bar over a face, what the dialog shows drawn
// into the face by the caller.
TRect DialogWindow(const TGrid& G) {
    G.Edge(G.Box(1, 2, 23, 22), EDGE_RAISED, BF_RECT | BF_MIDDLE);
    G.Fill(G.Box(2, 3, 22, 7), clActiveCaption);
    return G.Box(3, 8, 21, 21);
}

void Folder(const TGrid& G, int L, int T) {
    G.Fill(G.Box(L, T, L + 4, T + 2), static_cast<TColor>(0x30B0E0));
    G.Fill(G.Box(L, T + 1, L + 9, T + 7), static_cast<TColor>(0x50D0F8));
    G.Frame(G.Box(L, T + 1, L + 9, T + 7), static_cast<TColor>(0x2080B0));
}

} // namespace

void OpenDialog(TCanvas* C, const TRect& R) {
    const TGrid G{C, R};
    DialogWindow(G);
    Folder(G, 4, 10);
    G.Line(15, 11, 20, 11, clBtnText);
    G.Line(15, 15, 20, 15, clBtnText);
    G.Arrow(18, 18, false, static_cast<TColor>(0x008000));
}

void SaveDialog(TCanvas* C, const TRect& R) {
    const TGrid G{C, R};
    DialogWindow(G);
    Folder(G, 4, 10);
    // A disk beside the folder.
    G.Fill(G.Box(14, 10, 21, 19), clNavy);
    G.Fill(G.Box(15, 11, 20, 14), clWindow);
}

void OpenPictureDialog(TCanvas* C, const TRect& R) {
    const TGrid G{C, R};
    DialogWindow(G);
    Folder(G, 4, 10);
    Image(C, G.Box(12, 8, 23, 19));
}

void ColorDialog(TCanvas* C, const TRect& R) {
    const TGrid G{C, R};
    const TRect Face = DialogWindow(G);
    static const TColor Swatches[] = {clRed, clYellow, clLime, clAqua, clBlue, clFuchsia};
    const int W = Face.Width() / 3, H = Face.Height() / 2;
    for (int I = 0; I < 6; ++I)
        G.Fill(Bounds(Face.Left + (I % 3) * W, Face.Top + (I / 3) * H, W - 1, H - 1), Swatches[I]);
}

} // namespace folio::std_icons
