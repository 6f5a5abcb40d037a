#include "framework/gfx/Raster.h"

#include "framework/gfx/PixelKernels.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace folio::raster {

namespace {

constexpr TPixel AlphaMask = 0xFF000000u;

// The one span kernel: a plain fill when the operation ignores the
// destination, otherwise the and/xor form. Short spans (shape rows) stay
// inline; long ones go to the vector kernels.
inline void ApplyRun(TPixel* P, int N, TPixelOp Op) {
    if (N >= 64) {
        if (Op.And == 0)
            FillPixels(P, N, Op.Xor);
        else
            AndXorPixels(P, N, Op.And, Op.Xor);
        return;
    }
    if (Op.And == 0) {
        std::fill_n(P, N, Op.Xor);
        return;
    }
    const TPixel A = Op.And;
    const TPixel X = Op.Xor;
    for (int I = 0; I < N; ++I) P[I] = (P[I] & A) ^ X;
}

// Floor and ceiling without a library call (the baseline target has no
// rounding instruction), clamped to a safe int range.
inline int FastFloor(double V) {
    if (!(V > -1e9)) return -1000000000;
    if (V > 1e9) return 1000000000;
    const int I = static_cast<int>(V);
    return I - (V < I);
}
inline int FastCeil(double V) {
    if (!(V > -1e9)) return -1000000000;
    if (V > 1e9) return 1000000000;
    const int I = static_cast<int>(V);
    return I + (V > I);
}

std::int64_t FloorDiv(std::int64_t A, std::int64_t B) {
    std::int64_t Q = A / B;
    if ((A % B != 0) && ((A < 0) != (B < 0))) --Q;
    return Q;
}

std::int64_t CeilDiv(std::int64_t A, std::int64_t B) {
    return -FloorDiv(-A, B);
}

} // namespace

void FillSpan(const TPixelSurface& S, const TRect& Clip, int Y, int X0, int X1, TPixelOp Op) {
    if (Y < Clip.Top || Y >= Clip.Bottom) return;
    X0 = std::max(X0, Clip.Left);
    X1 = std::min(X1, Clip.Right);
    if (X0 >= X1) return;
    ApplyRun(S.Row(Y) + X0, X1 - X0, Op);
}

void FillRect(const TPixelSurface& S, const TRect& Clip, const TRect& R, TPixelOp Op) {
    const int L = std::max(R.Left, Clip.Left);
    const int T = std::max(R.Top, Clip.Top);
    const int Rt = std::min(R.Right, Clip.Right);
    const int B = std::min(R.Bottom, Clip.Bottom);
    if (L >= Rt || T >= B || Op.IsNop()) return;
    if (L == 0 && Rt == S.Width && S.Stride == S.Width) {
        // Whole rows of a packed surface are one run.
        const std::int64_t N = static_cast<std::int64_t>(B - T) * S.Width;
        TPixel* P = S.Row(T);
        if (Op.And == 0)
            FillPixels(P, N, Op.Xor);
        else
            AndXorPixels(P, N, Op.And, Op.Xor);
        return;
    }
    if (Rt - L == 1) {
        // A column (the side of an outline): one store per row.
        TPixel* P = S.Row(T) + L;
        const std::ptrdiff_t Stride = S.Stride;
        if (Op.And == 0)
            for (int Y = T; Y < B; ++Y, P += Stride) *P = Op.Xor;
        else
            for (int Y = T; Y < B; ++Y, P += Stride) *P = (*P & Op.And) ^ Op.Xor;
        return;
    }
    for (int Y = T; Y < B; ++Y) ApplyRun(S.Row(Y) + L, Rt - L, Op);
}

void Line(const TPixelSurface& S, const TRect& Clip, int X0, int Y0, int X1, int Y1, TPixelOp Op,
          bool IncludeEnd, TLinePattern* Pattern) {
    const int DX = X1 - X0;
    const int DY = Y1 - Y0;
    const int ADX = std::abs(DX);
    const int ADY = std::abs(DY);
    const int Major = std::max(ADX, ADY);
    const int Steps = Major + (IncludeEnd ? 1 : 0);
    if (Steps <= 0) return;
    const bool Patterned = Pattern && Pattern->Length > 0;
    const int Phase = Patterned ? Pattern->Phase : 0;
    if (Patterned) Pattern->Phase = (Pattern->Phase + Steps) % Pattern->Length;

    // Straight lines are spans or columns.
    if (!Patterned && DY == 0) {
        if (DX >= 0)
            FillSpan(S, Clip, Y0, X0, X0 + Steps, Op);
        else
            FillSpan(S, Clip, Y0, X0 - Steps + 1, X0 + 1, Op);
        return;
    }
    if (!Patterned && DX == 0) {
        int T = DY >= 0 ? Y0 : Y0 - Steps + 1;
        int B = T + Steps;
        if (X0 < Clip.Left || X0 >= Clip.Right) return;
        T = std::max(T, Clip.Top);
        B = std::min(B, Clip.Bottom);
        TPixel* P = S.Row(T) + X0;
        const std::ptrdiff_t Stride = S.Stride;
        if (Op.And == 0)
            for (int Y = T; Y < B; ++Y, P += Stride) *P = Op.Xor;
        else
            for (int Y = T; Y < B; ++Y, P += Stride) *P = (*P & Op.And) ^ Op.Xor;
        return;
    }

    // Step I moves one pixel along the major axis; the minor offset is
    // I * Minor / Major rounded half up, so it has a closed form and the
    // visible steps can be computed from the clip without walking the rest.
    const bool XMajor = ADX >= ADY;
    const std::int64_t M = Major;
    const std::int64_t Mn = XMajor ? ADY : ADX;
    const int SX = DX >= 0 ? 1 : -1;
    const int SY = DY >= 0 ? 1 : -1;
    const int MajorStart = XMajor ? X0 : Y0;
    const int MinorStart = XMajor ? Y0 : X0;
    const int MajorSign = XMajor ? SX : SY;
    const int MinorSign = XMajor ? SY : SX;
    const int MajorLo = XMajor ? Clip.Left : Clip.Top;
    const int MajorHi = (XMajor ? Clip.Right : Clip.Bottom) - 1;
    const int MinorLo = XMajor ? Clip.Top : Clip.Left;
    const int MinorHi = (XMajor ? Clip.Bottom : Clip.Right) - 1;

    std::int64_t First = 0;
    std::int64_t Last = Steps - 1;
    if (MajorSign > 0) {
        First = std::max<std::int64_t>(First, MajorLo - MajorStart);
        Last = std::min<std::int64_t>(Last, MajorHi - MajorStart);
    } else {
        First = std::max<std::int64_t>(First, MajorStart - MajorHi);
        Last = std::min<std::int64_t>(Last, MajorStart - MajorLo);
    }
    const std::int64_t KLo = MinorSign > 0 ? MinorLo - MinorStart : MinorStart - MinorHi;
    const std::int64_t KHi = MinorSign > 0 ? MinorHi - MinorStart : MinorStart - MinorLo;
    if (Mn == 0) {
        if (KLo > 0 || KHi < 0) return;
    } else {
        // minor(I) >= KLo  <=>  I >= (2*M*KLo - M) / (2*Mn), rounded up;
        // minor(I) <= KHi  <=>  I <  (2*M*KHi + M) / (2*Mn).
        First = std::max(First, CeilDiv(2 * M * KLo - M, 2 * Mn));
        Last = std::min(Last, CeilDiv(2 * M * KHi + M, 2 * Mn) - 1);
    }
    if (First > Last) return;

    const std::int64_t Num = 2 * First * Mn + M;
    const std::int64_t Minor = Num / (2 * M);
    std::int64_t Err = Num - Minor * 2 * M;
    const int X = static_cast<int>(XMajor ? X0 + SX * First : X0 + SX * Minor);
    const int Y = static_cast<int>(XMajor ? Y0 + SY * Minor : Y0 + SY * First);
    TPixel* P = S.Row(Y) + X;
    const std::ptrdiff_t MajorStep = XMajor ? SX : SY * static_cast<std::ptrdiff_t>(S.Stride);
    const std::ptrdiff_t MinorStep = XMajor ? SY * static_cast<std::ptrdiff_t>(S.Stride) : SX;
    const std::int64_t TwoMn = 2 * Mn;
    const std::int64_t TwoM = 2 * M;
    std::int64_t Count = Last - First + 1;

    if (Patterned) {
        const int Len = Pattern->Length;
        int Bit = static_cast<int>((Phase + First) % Len);
        for (; Count > 0; --Count) {
            if ((Pattern->Bits >> Bit) & 1u) *P = (*P & Op.And) ^ Op.Xor;
            if (++Bit == Len) Bit = 0;
            P += MajorStep;
            Err += TwoMn;
            if (Err >= TwoM) {
                Err -= TwoM;
                P += MinorStep;
            }
        }
        return;
    }
    if (Op.And == 0) {
        const TPixel C = Op.Xor;
        for (; Count > 0; --Count) {
            *P = C;
            P += MajorStep;
            Err += TwoMn;
            if (Err >= TwoM) {
                Err -= TwoM;
                P += MinorStep;
            }
        }
        return;
    }
    for (; Count > 0; --Count) {
        *P = (*P & Op.And) ^ Op.Xor;
        P += MajorStep;
        Err += TwoMn;
        if (Err >= TwoM) {
            Err -= TwoM;
            P += MinorStep;
        }
    }
}

namespace {

// A slanted wide line with round ends: the pixels whose point lies closer to
// the segment between the two end pixels than half the width, that is the
// band along the path and a disc around each end pixel. The shape is convex,
// so each row is one span, the hull of the band's and the discs' spans on
// that row; filling each row once also keeps inverting pen modes from
// touching a pixel twice. Spans are half open like the polygon filler's.
void RoundEndedLine(const TPixelSurface& S, const TRect& Clip, int X0, int Y0, int X1, int Y1,
                    int Width, TPixelOp Op) {
    const double DX = static_cast<double>(X1) - X0;
    const double DY = static_cast<double>(Y1) - Y0;
    const double Len2 = DX * DX + DY * DY;
    const double Len = std::sqrt(Len2);
    const double R = Width / 2.0;
    const int RowFirst = std::max(Clip.Top, FastCeil(std::min(Y0, Y1) - R));
    const int RowLast = std::min(Clip.Bottom - 1, FastCeil(std::max(Y0, Y1) + R) - 1);
    // The band: |N . (P - P0)| < R across the path and 0 <= D . (P - P0) <=
    // Len^2 along it; the caller sends only lines with DX and DY non-zero.
    const double NX = -DY / Len, NY = DX / Len;
    for (int Y = RowFirst; Y <= RowLast; ++Y) {
        double Lo = 0, Hi = 0;
        bool Any = false;
        const auto Take = [&](double A, double B) {
            if (!(A < B)) return;
            Lo = Any ? std::min(Lo, A) : A;
            Hi = Any ? std::max(Hi, B) : B;
            Any = true;
        };
        const double RY = static_cast<double>(Y) - Y0;
        double A = (-R - NY * RY) / NX, B = (R - NY * RY) / NX;
        if (A > B) std::swap(A, B);
        double C = -DY * RY / DX, D = (Len2 - DY * RY) / DX;
        if (C > D) std::swap(C, D);
        Take(X0 + std::max(A, C), X0 + std::min(B, D));
        for (int End = 0; End < 2; ++End) {
            const double EY = static_cast<double>(Y) - (End == 0 ? Y0 : Y1);
            const double Room = R * R - EY * EY;
            if (Room <= 0) continue;
            const double Half = std::sqrt(Room);
            const double EX = End == 0 ? X0 : X1;
            Take(EX - Half, EX + Half);
        }
        if (Any) FillSpan(S, Clip, Y, FastCeil(Lo), FastCeil(Hi), Op);
    }
}

} // namespace

void WideLine(const TPixelSurface& S, const TRect& Clip, int X0, int Y0, int X1, int Y1, int Width,
              TPixelOp Op, bool RoundEnds) {
    if (X0 == X1 && Y0 == Y1) return;
    const int Lo = -(Width / 2);
    const int Hi = Lo + Width; // exclusive
    if (Y0 == Y1) {
        // The pixels a thin line would draw, widened across.
        const int A = X1 > X0 ? X0 : X1 + 1;
        const int B = X1 > X0 ? X1 : X0 + 1;
        FillRect(S, Clip, TRect{A, Y0 + Lo, B, Y0 + Hi}, Op);
        return;
    }
    if (X0 == X1) {
        const int A = Y1 > Y0 ? Y0 : Y1 + 1;
        const int B = Y1 > Y0 ? Y1 : Y0 + 1;
        FillRect(S, Clip, TRect{X0 + Lo, A, X0 + Hi, B}, Op);
        return;
    }
    if (RoundEnds) {
        RoundEndedLine(S, Clip, X0, Y0, X1, Y1, Width, Op);
        return;
    }
    const double DX = X1 - X0;
    const double DY = Y1 - Y0;
    const double Len = std::sqrt(DX * DX + DY * DY);
    // Sample points sit on pixel corners in the polygon filler; shift the
    // band by half a pixel so it is centred on the pixels of the thin line.
    const double CX0 = X0 + 0.5, CY0 = Y0 + 0.5, CX1 = X1 + 0.5, CY1 = Y1 + 0.5;
    const double NX = -DY / Len * Width / 2.0;
    const double NY = DX / Len * Width / 2.0;
    const TPointF Quad[4] = {
        {CX0 + NX, CY0 + NY}, {CX1 + NX, CY1 + NY}, {CX1 - NX, CY1 - NY}, {CX0 - NX, CY0 - NY}};
    FillPolygon(S, Clip, Quad, 4, Op, true);
}

void FillPolygon(const TPixelSurface& S, const TRect& Clip, const TPointF* Points, int Count,
                 TPixelOp Op, bool Winding) {
    if (Count < 3 || Clip.IsEmpty()) return;
    double YMin = Points[0].Y;
    double YMax = Points[0].Y;
    for (int I = 1; I < Count; ++I) {
        YMin = std::min(YMin, Points[I].Y);
        YMax = std::max(YMax, Points[I].Y);
    }
    // Rows whose integer y lies in [YMin, YMax).
    const int RowFirst = std::max(Clip.Top, FastCeil(YMin));
    const int RowLast = std::min(Clip.Bottom - 1, FastCeil(YMax) - 1);
    if (RowFirst > RowLast) return;

    // Crossings of one row: a fixed buffer for ordinary polygons, the heap
    // only for polygons with many edges.
    constexpr int StackEdges = 64;
    double XsBuf[StackEdges];
    signed char DirBuf[StackEdges];
    std::vector<double> XsHeap;
    std::vector<signed char> DirHeap;
    double* Xs = XsBuf;
    signed char* Dirs = DirBuf;
    if (Count > StackEdges) {
        XsHeap.resize(static_cast<size_t>(Count));
        DirHeap.resize(static_cast<size_t>(Count));
        Xs = XsHeap.data();
        Dirs = DirHeap.data();
    }
    const double XLo = Clip.Left - 1.0;
    const double XHi = Clip.Right + 1.0;

    for (int Y = RowFirst; Y <= RowLast; ++Y) {
        int N = 0;
        for (int I = 0; I < Count; ++I) {
            const TPointF& A = Points[I];
            const TPointF& B = Points[I + 1 == Count ? 0 : I + 1];
            if (A.Y == B.Y) continue;
            const bool Down = B.Y > A.Y;
            const double Lo = Down ? A.Y : B.Y;
            const double Hi = Down ? B.Y : A.Y;
            if (Y < Lo || Y >= Hi) continue;
            double X = A.X + (Y - A.Y) * (B.X - A.X) / (B.Y - A.Y);
            X = std::clamp(X, XLo, XHi);
            // Insertion keeps the crossings sorted; rows cross few edges.
            int J = N++;
            while (J > 0 && Xs[J - 1] > X) {
                Xs[J] = Xs[J - 1];
                Dirs[J] = Dirs[J - 1];
                --J;
            }
            Xs[J] = X;
            Dirs[J] = Down ? 1 : -1;
        }
        if (!Winding) {
            for (int K = 0; K + 1 < N; K += 2)
                FillSpan(S, Clip, Y, FastCeil(Xs[K]), FastCeil(Xs[K + 1]), Op);
        } else {
            int Wind = 0;
            double Start = 0;
            for (int K = 0; K < N; ++K) {
                const int Before = Wind;
                Wind += Dirs[K];
                if (Before == 0 && Wind != 0)
                    Start = Xs[K];
                else if (Before != 0 && Wind == 0)
                    FillSpan(S, Clip, Y, FastCeil(Start), FastCeil(Xs[K]), Op);
            }
        }
    }
}

namespace {

// The rows of an ellipse inscribed in a W x H box: a pixel belongs to it
// when its centre lies inside, decided in exact integer arithmetic. Rows are
// symmetric by construction, and every row keeps at least its centre pixel,
// so the ellipse touches all four sides of its box. Consecutive rows move
// the edge by a few pixels, so each row starts from the previous answer
// instead of taking a square root.
struct TEllipseRows {
    using TWide = __int128;
    int W = 0;
    int H = 0;
    int MaxL = 0;
    TWide W2 = 0;
    TWide H2 = 0;
    TWide W2H2 = 0;
    int L = 0;

    TEllipseRows(int AW, int AH)
        : W(AW), H(AH), MaxL((AW - 1) / 2), W2(TWide{AW} * AW), H2(TWide{AH} * AH), W2H2(W2 * H2),
          L(MaxL) {}

    // Starts the walk near row J's answer, so that a huge ellipse clipped to
    // a few rows does not walk across its whole width first.
    void Seed(int J) {
        const double T = static_cast<double>(2 * static_cast<long long>(J) + 1 - H) / H;
        const double Half = W / 2.0 * std::sqrt(std::max(0.0, 1.0 - T * T));
        L = std::clamp(FastCeil(W / 2.0 - Half - 0.5), 0, MaxL);
    }

    // The first pixel of row J (0 .. H-1); the last is W - 1 - Left(J).
    int Left(int J) {
        // Pixel X is inside when (2X+1-W)^2 H^2 + (2J+1-H)^2 W^2 <= W^2 H^2.
        const TWide B = 2 * TWide{J} + 1 - H;
        const TWide Room = W2H2 - B * B * W2;
        auto Inside = [&](int X) {
            const TWide A = 2 * TWide{X} + 1 - W;
            return A * A * H2 <= Room;
        };
        // Near the top and bottom of a wide ellipse the edge jumps far from
        // one row to the next: start those rows from the estimate instead.
        constexpr int Far = 16;
        if ((L >= Far && Inside(L - Far)) || (L + Far <= MaxL && !Inside(L + Far))) Seed(J);
        while (L > 0 && Inside(L - 1)) --L;
        while (L < MaxL && !Inside(L)) ++L;
        return L;
    }
};

// Up to two column intervals of one row, for the wedge of a pie.
struct TIntervals {
    int Lo[2];
    int Hi[2];
    int Count = 0;
};

constexpr int IntervalInf = 1 << 30;

// Columns x whose pixel centre satisfies A * u >= B (Greater) or A * u <= B,
// with u = x + 0.5 - CX.
void HalfLine(double A, double B, double CX, bool Greater, int& Lo, int& Hi) {
    Lo = -IntervalInf;
    Hi = IntervalInf;
    if (A == 0) {
        const bool Ok = Greater ? 0 >= B : 0 <= B;
        if (!Ok) Lo = IntervalInf, Hi = -IntervalInf;
        return;
    }
    const double Bound = B / A + CX - 0.5;
    const bool XAtLeast = Greater == (A > 0);
    if (XAtLeast)
        Lo = FastCeil(Bound);
    else
        Hi = FastFloor(Bound);
}

// The ellipse and pie rasteriser state shared by the row loop.
struct TEllipseJob {
    const TPixelSurface* S;
    TRect Clip;
    int Left = 0;
    int Top = 0;
    const TWedge* Wedge = nullptr;
    bool Intersect = true;
    double CX = 0;
    double CY = 0;

    // Intervals of the row at device Y kept by the wedge.
    void RowIntervals(int Y, TIntervals& Out) const {
        const double VD = Y + 0.5 - CY;
        int L1, H1, L2, H2;
        // Counter-clockwise on the screen from Start: Sy*u >= Sx*v.
        HalfLine(Wedge->StartY, Wedge->StartX * VD, CX, true, L1, H1);
        // Clockwise from End: Ey*u <= Ex*v.
        HalfLine(Wedge->EndY, Wedge->EndX * VD, CX, false, L2, H2);
        Out.Count = 0;
        if (Intersect) {
            const int L = std::max(L1, L2);
            const int H = std::min(H1, H2);
            if (L <= H) Out.Lo[0] = L, Out.Hi[0] = H, Out.Count = 1;
        } else {
            if (L1 <= H1) Out.Lo[Out.Count] = L1, Out.Hi[Out.Count] = H1, ++Out.Count;
            if (L2 <= H2) Out.Lo[Out.Count] = L2, Out.Hi[Out.Count] = H2, ++Out.Count;
        }
    }

    // Box-relative columns A..B (inclusive) of row Y.
    void Run(int Y, int A, int B, const TPixelOp& Op, const TIntervals* K) const {
        const int XA = Left + A;
        const int XB = Left + B;
        if (!K) {
            FillSpan(*S, Clip, Y, XA, XB + 1, Op);
            return;
        }
        for (int I = 0; I < K->Count; ++I) {
            const int L = std::max(XA, K->Lo[I]);
            const int H = std::min(XB, K->Hi[I]);
            if (L <= H) FillSpan(*S, Clip, Y, L, H + 1, Op);
        }
    }
};

} // namespace

void Ellipse(const TPixelSurface& S, const TRect& Clip, const TRect& Box, int PenWidth,
             const TPixelOp* Pen, const TPixelOp* Brush, const TWedge* Wedge) {
    const int W = Box.Width();
    const int H = Box.Height();
    if (W <= 0 || H <= 0 || (!Pen && !Brush)) return;
    if (Box.Right <= Clip.Left || Box.Left >= Clip.Right || Box.Bottom <= Clip.Top ||
        Box.Top >= Clip.Bottom)
        return;
    if (PenWidth < 1) PenWidth = 1;

    TEllipseJob Job;
    Job.S = &S;
    Job.Clip = Clip;
    Job.Left = Box.Left;
    Job.Top = Box.Top;
    Job.CX = Box.Left + W / 2.0;
    Job.CY = Box.Top + H / 2.0;
    if (Wedge) {
        const double Cross = Wedge->StartY * Wedge->EndX - Wedge->StartX * Wedge->EndY;
        const double Dot = Wedge->StartX * Wedge->EndX + Wedge->StartY * Wedge->EndY;
        const bool Degenerate =
            (Wedge->StartX == 0 && Wedge->StartY == 0) || (Wedge->EndX == 0 && Wedge->EndY == 0);
        // Equal directions sweep the whole turn: a full ellipse.
        if (!Degenerate && !(Cross == 0 && Dot > 0)) {
            Job.Wedge = Wedge;
            // Cross > 0: End is less than half a turn counter-clockwise from Start.
            Job.Intersect = Cross >= 0;
        }
    }

    TEllipseRows Outer(W, H);
    const bool Ring = Pen && PenWidth > 1;
    const int IW = W - 2 * PenWidth;
    const int IH = H - 2 * PenWidth;
    TEllipseRows Inner(std::max(IW, 1), std::max(IH, 1));

    const int JFirst = std::max(0, Clip.Top - Box.Top);
    const int JLast = std::min(H, Clip.Bottom - Box.Top) - 1;
    Outer.Seed(JFirst);
    if (Ring) Inner.Seed(std::max(0, JFirst - PenWidth));
    int Prev = JFirst > 0 ? Outer.Left(JFirst - 1) : W;
    int Cur = Outer.Left(JFirst);
    TIntervals K;
    for (int J = JFirst; J <= JLast; ++J) {
        const int Next = J + 1 < H ? Outer.Left(J + 1) : W;
        const int Y = Box.Top + J;
        const TIntervals* KP = nullptr;
        if (Job.Wedge) {
            Job.RowIntervals(Y, K);
            if (K.Count == 0) {
                Prev = Cur;
                Cur = Next;
                continue;
            }
            KP = &K;
        }
        const int XL = Cur;
        const int XR = W - 1 - Cur;
        if (!Pen) {
            Job.Run(Y, XL, XR, *Brush, KP);
        } else if (!Ring) {
            // The outline reaches towards the wider neighbour rows so that it
            // stays connected; the first and last rows are all outline.
            int LE = XL;
            LE = std::max(LE, (Prev >= W ? XR + 1 : Prev) - 1);
            LE = std::max(LE, (Next >= W ? XR + 1 : Next) - 1);
            LE = std::min(LE, XR);
            const int RS = W - 1 - LE;
            if (LE + 1 >= RS) {
                Job.Run(Y, XL, XR, *Pen, KP);
            } else {
                Job.Run(Y, XL, LE, *Pen, KP);
                if (Brush) Job.Run(Y, LE + 1, RS - 1, *Brush, KP);
                Job.Run(Y, RS, XR, *Pen, KP);
            }
        } else {
            const int JI = J - PenWidth;
            if (IW <= 0 || IH <= 0 || JI < 0 || JI >= IH) {
                Job.Run(Y, XL, XR, *Pen, KP);
            } else {
                const int InnerLeft = Inner.Left(JI);
                const int IL = PenWidth + InnerLeft;
                const int IR = PenWidth + IW - 1 - InnerLeft;
                Job.Run(Y, XL, IL - 1, *Pen, KP);
                if (Brush) Job.Run(Y, IL, IR, *Brush, KP);
                Job.Run(Y, IR + 1, XR, *Pen, KP);
            }
        }
        Prev = Cur;
        Cur = Next;
    }

    if (Job.Wedge && Pen && W > 1 && H > 1) {
        // The two radii, from the centre pixel to where each ray leaves the
        // ellipse through the pixel centres of its rim.
        const double RX = W / 2.0 - 0.5;
        const double RY = H / 2.0 - 0.5;
        const int PX = FastFloor(Job.CX);
        const int PY = FastFloor(Job.CY);
        for (int Ray = 0; Ray < 2; ++Ray) {
            const double DX = Ray == 0 ? Wedge->StartX : Wedge->EndX;
            const double DY = Ray == 0 ? Wedge->StartY : Wedge->EndY;
            const double Scale = 1.0 / std::sqrt((DX / RX) * (DX / RX) + (DY / RY) * (DY / RY));
            const int EX = std::clamp(FastFloor(Job.CX + Scale * DX), Box.Left, Box.Right - 1);
            const int EY = std::clamp(FastFloor(Job.CY + Scale * DY), Box.Top, Box.Bottom - 1);
            if (PenWidth <= 1)
                Line(S, Clip, PX, PY, EX, EY, *Pen, true);
            else
                WideLine(S, Clip, PX, PY, EX, EY, PenWidth, *Pen);
        }
    }
}

void FocusRect(const TPixelSurface& S, const TRect& Clip, const TRect& R) {
    if (R.IsEmpty()) return;
    const TPixel Inv = 0x00FFFFFFu;
    // Inverts every second pixel of row Y from X0 to X1 (inclusive), keeping
    // the checkerboard anchored at R's top-left corner.
    auto Row = [&](int Y, int X0, int X1) {
        if (Y < Clip.Top || Y >= Clip.Bottom) return;
        X0 = std::max(X0, Clip.Left);
        X1 = std::min(X1, Clip.Right - 1);
        if (((X0 - R.Left) + (Y - R.Top)) & 1) ++X0;
        TPixel* P = S.Row(Y);
        for (int X = X0; X <= X1; X += 2) P[X] ^= Inv;
    };
    auto Column = [&](int X, int Y0, int Y1) {
        if (X < Clip.Left || X >= Clip.Right) return;
        Y0 = std::max(Y0, Clip.Top);
        Y1 = std::min(Y1, Clip.Bottom - 1);
        if (((X - R.Left) + (Y0 - R.Top)) & 1) ++Y0;
        for (int Y = Y0; Y <= Y1; Y += 2) S.Row(Y)[X] ^= Inv;
    };
    const int Bottom = R.Bottom - 1;
    const int Right = R.Right - 1;
    Row(R.Top, R.Left, Right);
    if (Bottom > R.Top) Row(Bottom, R.Left, Right);
    Column(R.Left, R.Top + 1, Bottom - 1);
    if (Right > R.Left) Column(Right, R.Top + 1, Bottom - 1);
}

namespace {

template <class F>
void BlitRows(TPixel* D, std::ptrdiff_t DStride, const TPixel* Src, std::ptrdiff_t SStride, int W,
              int H, bool BottomUp, F Fn) {
    for (int R = 0; R < H; ++R) {
        const int Y = BottomUp ? H - 1 - R : R;
        TPixel* DR = D + Y * DStride;
        const TPixel* SR = Src + Y * SStride;
        // A row that overlaps its own source further left runs backwards.
        if (DR > SR && DR < SR + W) {
            for (int X = W - 1; X >= 0; --X) DR[X] = Fn(SR[X], DR[X]) | AlphaMask;
        } else {
            for (int X = 0; X < W; ++X) DR[X] = Fn(SR[X], DR[X]) | AlphaMask;
        }
    }
}

inline TPixel BlitPixel(TBlitOp Op, TPixel S, TPixel D, TPixel Pat) {
    switch (Op) {
    case TBlitOp::Copy:
        return S;
    case TBlitOp::Invert:
        return S ^ D;
    case TBlitOp::And:
        return S & D;
    case TBlitOp::Paint:
        return S | D;
    case TBlitOp::NotCopy:
        return ~S;
    case TBlitOp::Erase:
        return S & ~D;
    case TBlitOp::NotErase:
        return ~(S | D);
    case TBlitOp::MergePaint:
        return ~S | D;
    case TBlitOp::MergeCopy:
        return S & Pat;
    }
    return S;
}

} // namespace

void Blit(const TPixelSurface& Dst, const TRect& Clip, int DestX, int DestY,
          const TPixelSurface& Src, const TRect& Source, TBlitOp Op, TPixel Pattern) {
    // Keep the source inside its surface, moving the destination along.
    int SL = std::max(Source.Left, 0);
    int ST = std::max(Source.Top, 0);
    const int SR = std::min(Source.Right, Src.Width);
    const int SB = std::min(Source.Bottom, Src.Height);
    DestX += SL - Source.Left;
    DestY += ST - Source.Top;
    // Then the destination inside the clip, moving the source along.
    int DL = DestX, DT = DestY;
    int DR = DestX + (SR - SL), DB = DestY + (SB - ST);
    if (DL < Clip.Left) SL += Clip.Left - DL, DL = Clip.Left;
    if (DT < Clip.Top) ST += Clip.Top - DT, DT = Clip.Top;
    DR = std::min(DR, Clip.Right);
    DB = std::min(DB, Clip.Bottom);
    const int W = DR - DL;
    const int H = DB - DT;
    if (W <= 0 || H <= 0) return;

    TPixel* D = Dst.Row(DT) + DL;
    const TPixel* S = Src.Row(ST) + SL;
    const std::ptrdiff_t DS = Dst.Stride;
    const std::ptrdiff_t SS = Src.Stride;
    const bool BottomUp = Dst.Pixels == Src.Pixels && D > S;
    const bool SameSurface = Dst.Pixels == Src.Pixels;
    // Whole rows of two packed surfaces of one width are one run.
    const bool OneRun = W == Dst.Width && W == Src.Width && DS == W && SS == W;
    if (!SameSurface && (Op == TBlitOp::Copy || Op == TBlitOp::Invert || Op == TBlitOp::And ||
                         Op == TBlitOp::Paint)) {
        const int Rows = OneRun ? 1 : H;
        const std::int64_t N = OneRun ? static_cast<std::int64_t>(W) * H : W;
        for (int R = 0; R < Rows; ++R) {
            TPixel* DR = D + R * DS;
            const TPixel* SR = S + R * SS;
            switch (Op) {
            case TBlitOp::Copy:
                std::memcpy(DR, SR, static_cast<size_t>(N) * sizeof(TPixel));
                break;
            case TBlitOp::Invert:
                XorPixels(DR, SR, N);
                break;
            case TBlitOp::And:
                AndPixels(DR, SR, N);
                break;
            default:
                OrPixels(DR, SR, N);
                break;
            }
        }
        return;
    }
    switch (Op) {
    case TBlitOp::Copy:
        for (int R = 0; R < H; ++R) {
            const int Y = BottomUp ? H - 1 - R : R;
            std::memmove(D + Y * DS, S + Y * SS, static_cast<size_t>(W) * sizeof(TPixel));
        }
        break;
    case TBlitOp::Invert:
        BlitRows(D, DS, S, SS, W, H, BottomUp, [](TPixel A, TPixel B) { return A ^ B; });
        break;
    case TBlitOp::And:
        BlitRows(D, DS, S, SS, W, H, BottomUp, [](TPixel A, TPixel B) { return A & B; });
        break;
    case TBlitOp::Paint:
        BlitRows(D, DS, S, SS, W, H, BottomUp, [](TPixel A, TPixel B) { return A | B; });
        break;
    default:
        BlitRows(D, DS, S, SS, W, H, BottomUp,
                 [Op, Pattern](TPixel A, TPixel B) { return BlitPixel(Op, A, B, Pattern); });
        break;
    }
}

void StretchBlit(const TPixelSurface& Dst, const TRect& Clip, const TRect& Dest,
                 const TPixelSurface& Src, const TRect& Source, TBlitOp Op, TPixel Pattern) {
    int DL = std::min(Dest.Left, Dest.Right), DR = std::max(Dest.Left, Dest.Right);
    int DT = std::min(Dest.Top, Dest.Bottom), DB = std::max(Dest.Top, Dest.Bottom);
    const bool FlipX = (Dest.Right < Dest.Left) != (Source.Right < Source.Left);
    const bool FlipY = (Dest.Bottom < Dest.Top) != (Source.Bottom < Source.Top);
    const int SL = std::min(Source.Left, Source.Right);
    const int ST = std::min(Source.Top, Source.Bottom);
    const std::int64_t SW = std::abs(Source.Width());
    const std::int64_t SH = std::abs(Source.Height());
    const std::int64_t DW = DR - DL;
    const std::int64_t DH = DB - DT;
    if (SW == 0 || SH == 0 || DW == 0 || DH == 0) return;
    if (SW == DW && SH == DH && !FlipX && !FlipY) {
        Blit(Dst, Clip, DL, DT, Src,
             TRect{SL, ST, SL + static_cast<int>(SW), ST + static_cast<int>(SH)}, Op, Pattern);
        return;
    }
    const int CL = std::max(DL, Clip.Left), CR = std::min(DR, Clip.Right);
    const int CT = std::max(DT, Clip.Top), CB = std::min(DB, Clip.Bottom);
    for (int Y = CT; Y < CB; ++Y) {
        std::int64_t J = (2 * (Y - DT) + 1) * SH / (2 * DH);
        if (FlipY) J = SH - 1 - J;
        const int SY = ST + static_cast<int>(J);
        if (SY < 0 || SY >= Src.Height) continue;
        const TPixel* SRow = Src.Row(SY);
        TPixel* DRow = Dst.Row(Y);
        for (int X = CL; X < CR; ++X) {
            std::int64_t I = (2 * (X - DL) + 1) * SW / (2 * DW);
            if (FlipX) I = SW - 1 - I;
            const int SX = SL + static_cast<int>(I);
            if (SX < 0 || SX >= Src.Width) continue;
            DRow[X] = BlitPixel(Op, SRow[SX], DRow[X], Pattern) | AlphaMask;
        }
    }
}

} // namespace folio::raster
