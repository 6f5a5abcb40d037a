#include "framework/core/ColorIdents.h"

#include "framework/core/ColorConsts.h"

namespace folio {

namespace {

struct TColorIdent {
    TColor Color;
    const char* Name;
};

// No two names share a value, so a colour read by name is written back
// under the same name.
constexpr TColorIdent ColorIdents[] = {
    {clBlack, "clBlack"},
    {clMaroon, "clMaroon"},
    {clGreen, "clGreen"},
    {clOlive, "clOlive"},
    {clNavy, "clNavy"},
    {clPurple, "clPurple"},
    {clTeal, "clTeal"},
    {clGray, "clGray"},
    {clSilver, "clSilver"},
    {clRed, "clRed"},
    {clLime, "clLime"},
    {clYellow, "clYellow"},
    {clBlue, "clBlue"},
    {clFuchsia, "clFuchsia"},
    {clAqua, "clAqua"},
    {clWhite, "clWhite"},
    {clNone, "clNone"},
    {clDefault, "clDefault"},
    {clScrollBar, "clScrollBar"},
    {clBackground, "clBackground"},
    {clActiveCaption, "clActiveCaption"},
    {clInactiveCaption, "clInactiveCaption"},
    {clMenu, "clMenu"},
    {clWindow, "clWindow"},
    {clWindowFrame, "clWindowFrame"},
    {clMenuText, "clMenuText"},
    {clWindowText, "clWindowText"},
    {clCaptionText, "clCaptionText"},
    {clActiveBorder, "clActiveBorder"},
    {clInactiveBorder, "clInactiveBorder"},
    {clAppWorkSpace, "clAppWorkSpace"},
    {clHighlight, "clHighlight"},
    {clHighlightText, "clHighlightText"},
    {clBtnFace, "clBtnFace"},
    {clBtnShadow, "clBtnShadow"},
    {clGrayText, "clGrayText"},
    {clBtnText, "clBtnText"},
    {clInactiveCaptionText, "clInactiveCaptionText"},
    {clBtnHighlight, "clBtnHighlight"},
    {cl3DDkShadow, "cl3DDkShadow"},
    {cl3DLight, "cl3DLight"},
    {clInfoText, "clInfoText"},
    {clInfoBk, "clInfoBk"},
};

} // namespace

bool ColorToIdent(TColor Color, String& Ident) {
    for (const TColorIdent& C : ColorIdents)
        if (C.Color == Color) {
            Ident = C.Name;
            return true;
        }
    return false;
}

bool IdentToColor(const String& Ident, TColor& Color) {
    for (const TColorIdent& C : ColorIdents)
        if (Ident == C.Name) {
            Color = C.Color;
            return true;
        }
    return false;
}

void GetColorValues(const std::function<void(const String&)>& Proc) {
    for (const TColorIdent& C : ColorIdents) Proc(C.Name);
}

} // namespace folio
