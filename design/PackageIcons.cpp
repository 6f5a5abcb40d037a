#include "design/PackageIcons.h"

#include "framework/core/ColorConsts.h"
#include "framework/design/DesignRegistry.h"
#include "framework/design/IconGrid.h"
#include "framework/gfx/Edges.h"
#include "samples/Ccalendr.h"
#include "samples/Cgauges.h"
#include "samples/Cgrid.h"
#include "samples/Perfgrap.h"

namespace folio {

namespace package_icons {

void Folio(TCanvas* C, const TRect& R) {
    const TIconGrid G{C, R};
    // A bar standing upright: two captions above the open group, whose
    // items are large pictures, and one caption below it.
    G.Fill(G.Box(3, 1, 21, 23), clBtnShadow);
    G.Edge(G.Box(3, 1, 21, 5), EDGE_RAISED, BF_RECT | BF_MIDDLE);
    G.Edge(G.Box(3, 5, 21, 9), EDGE_RAISED, BF_RECT | BF_MIDDLE);
    G.Fill(G.Box(9, 10, 15, 14), static_cast<TColor>(0x30B0E0));
    G.Line(8, 15, 16, 15, clWhite);
    G.Fill(G.Box(9, 16, 15, 18), static_cast<TColor>(0x3070E0));
    G.Edge(G.Box(3, 19, 21, 23), EDGE_RAISED, BF_RECT | BF_MIDDLE);
}

void Calendar(TCanvas* C, const TRect& R) {
    const TIconGrid G{C, R};
    // A month: a row of day names over a grid of days, one of them chosen.
    const TRect Page = G.Box(2, 3, 22, 22);
    G.Fill(Page, clWindow);
    G.Fill(G.Box(2, 3, 22, 8), static_cast<TColor>(0x2020C0));
    for (int X = 2; X <= 22; X += 5) G.Line(X, 8, X, 22, clBtnShadow);
    for (int Y = 8; Y <= 22; Y += 5) G.Line(2, Y, 22, Y, clBtnShadow);
    G.Fill(G.Box(13, 14, 17, 17), clHighlight);
    G.Frame(Page, clWindowText);
}

void ColorGrid(TCanvas* C, const TRect& R) {
    const TIconGrid G{C, R};
    // Four by four colours, the foreground and background marked.
    static const TColor Colors[16] = {clBlack, clMaroon,  clGreen,  clOlive, clNavy, clPurple,
                                      clTeal,  clGray,    clSilver, clRed,   clLime, clYellow,
                                      clBlue,  clFuchsia, clAqua,   clWhite};
    for (int I = 0; I < 16; ++I) {
        const int L = 2 + (I % 4) * 5, T = 2 + (I / 4) * 5;
        G.Fill(G.Box(L, T, L + 5, T + 5), Colors[I]);
    }
    G.Frame(G.Box(7, 2, 12, 7), clWhite);
    G.Frame(G.Box(17, 17, 22, 22), clBlack);
    G.Frame(G.Box(2, 2, 22, 22), clBtnShadow);
}

void Gauge(TCanvas* C, const TRect& R) {
    const TIconGrid G{C, R};
    // The pie look: a dial two thirds full, from the top round to eight
    // o'clock.
    const TRect Dial = G.Box(2, 2, 22, 22);
    C->GetPen()->SetColor(clBlack);
    C->GetPen()->SetWidth(1);
    C->GetBrush()->SetStyle(bsSolid);
    C->GetBrush()->SetColor(clWhite);
    C->Ellipse(Dial);
    C->GetBrush()->SetColor(clNavy);
    const int CX = (Dial.Left + Dial.Right) / 2, CY = (Dial.Top + Dial.Bottom) / 2;
    const int Radius = Dial.Width() / 2;
    C->Pie(Dial.Left, Dial.Top, Dial.Right, Dial.Bottom, CX - Radius * 866 / 1000, CY + Radius / 2,
           CX, Dial.Top);
}

void PerformanceGraph(TCanvas* C, const TRect& R) {
    const TIconGrid G{C, R};
    // A black panel with a green grid and a trace across it.
    G.Fill(G.Box(1, 3, 23, 21), clBlack);
    for (int X = 5; X < 23; X += 6) G.Line(X, 3, X, 21, clGreen);
    for (int Y = 9; Y < 21; Y += 6) G.Line(1, Y, 23, Y, clGreen);
    const int Trace[][2] = {{1, 17}, {5, 14}, {9, 15}, {13, 8}, {17, 11}, {22, 6}};
    for (size_t I = 1; I < std::size(Trace); ++I)
        G.Line(Trace[I - 1][0], Trace[I - 1][1], Trace[I][0], Trace[I][1], clLime);
}

} // namespace package_icons

namespace SampleIcons {

void Register() {
    RegisterComponentIcon(TCCalendar::StaticClassInfo(), &package_icons::Calendar);
    RegisterComponentIcon(TCColorGrid::StaticClassInfo(), &package_icons::ColorGrid);
    RegisterComponentIcon(TCGauge::StaticClassInfo(), &package_icons::Gauge);
    RegisterComponentIcon(TPerformanceGraph::StaticClassInfo(), &package_icons::PerformanceGraph);
}

} // namespace SampleIcons

} // namespace folio
