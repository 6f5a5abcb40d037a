#pragma once

namespace folio {

/// The indexes GetSystemMetrics answers: CX is a width, CY a height, in
/// pixels. DOUBLECLK is the box a second click must land in for a double
/// click, DRAG how far a press must move before a drag starts.
enum : int {
    SM_CXSCREEN = 0,
    SM_CYSCREEN = 1,
    SM_CXVSCROLL = 2,
    SM_CYHSCROLL = 3,
    SM_CYCAPTION = 4,
    SM_CXBORDER = 5,
    SM_CYBORDER = 6,
    SM_CXDLGFRAME = 7,
    SM_CYDLGFRAME = 8,
    SM_CYVTHUMB = 9,
    SM_CXHTHUMB = 10,
    SM_CXICON = 11,
    SM_CYICON = 12,
    SM_CXCURSOR = 13,
    SM_CYCURSOR = 14,
    SM_CYMENU = 15,
    SM_CYVSCROLL = 20,
    SM_CXHSCROLL = 21,
    SM_CXDOUBLECLK = 36,
    SM_CYDOUBLECLK = 37,
    SM_CXEDGE = 45,
    SM_CYEDGE = 46,
    SM_CXSMICON = 49,
    SM_CYSMICON = 50,
    SM_CXDRAG = 68,
    SM_CYDRAG = 69,
};

/// The fixed metrics of the framework's look, in pixels: scroll bars, thumbs
/// and small icons 16, captions and menus 19, borders 1, dialog frames 3,
/// 3-D edges 2, icons and cursors 32, double-click and drag boxes 4; an
/// unknown index answers 0. The screen size answered is the headless default
/// (1024 by 768); hosts that know better keep their own.
int GetSystemMetrics(int Index);

} // namespace folio
