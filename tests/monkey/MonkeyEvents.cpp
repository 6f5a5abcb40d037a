#include "MonkeyEvents.h"

#include <array>
#include <cstdlib>
#include <sstream>

namespace monkey {

namespace {

struct TKindName {
    TKind Kind;
    const char* Word;
};

constexpr TKindName KindNames[] = {
    {TKind::Move, "move"},         {TKind::Click, "click"}, {TKind::DoubleClick, "dclick"},
    {TKind::RightClick, "rclick"}, {TKind::Drag, "drag"},   {TKind::Wheel, "wheel"},
    {TKind::Key, "key"},           {TKind::Type, "type"},   {TKind::Resize, "resize"},
    {TKind::Close, "close"},       {TKind::Wait, "wait"},   {TKind::Save, "save"},
    {TKind::Reopen, "reopen"},
};

const char* WordOf(TKind Kind) {
    for (const TKindName& Name : KindNames)
        if (Name.Kind == Kind) return Name.Word;
    return "wait";
}

// Sixty-four characters, so that six bits choose one.
constexpr char Alphabet[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 .";
static_assert(sizeof Alphabet - 1 == 64);

// The kinds that aim at a point in a window.
bool AimsAtPoint(TKind Kind) {
    return Kind == TKind::Move || Kind == TKind::Click || Kind == TKind::DoubleClick ||
           Kind == TKind::RightClick || Kind == TKind::Drag || Kind == TKind::Wheel;
}

std::string Quote(const std::string& Text) {
    std::string Out = "\"";
    for (const char C : Text) {
        if (C == '"' || C == '\\') Out += '\\';
        Out += C;
    }
    return Out + '"';
}

// Splits a line into words; a quoted word may hold spaces and escaped
// quotes. False for an unterminated quote.
bool SplitWords(const std::string& Line, std::vector<std::string>& Words) {
    size_t I = 0;
    while (I < Line.size()) {
        if (Line[I] == ' ') {
            ++I;
            continue;
        }
        std::string Word;
        if (Line[I] != '"') {
            while (I < Line.size() && Line[I] != ' ') Word += Line[I++];
            Words.push_back(Word);
            continue;
        }
        for (++I;; ++I) {
            if (I >= Line.size()) return false;
            if (Line[I] == '"') break;
            if (Line[I] == '\\' && ++I >= Line.size()) return false;
            Word += Line[I];
        }
        ++I;
        Words.push_back(Word);
    }
    return true;
}

std::optional<int> Number(const std::string& Word) {
    if (Word.empty()) return std::nullopt;
    char* End = nullptr;
    const long Value = std::strtol(Word.c_str(), &End, 10);
    if (*End || Value < -1000000 || Value > 1000000) return std::nullopt;
    return static_cast<int>(Value);
}

} // namespace

std::string WindowName(const TWindowView& View) {
    return View.Popup ? "[popup]" + View.Title : View.Title;
}

TProfile TProfile::Gallery() {
    TProfile Profile;
    Profile.Weights = {
        {TKind::Move, 24},  {TKind::Click, 18}, {TKind::DoubleClick, 5}, {TKind::RightClick, 3},
        {TKind::Drag, 10},  {TKind::Wheel, 6},  {TKind::Key, 16},        {TKind::Type, 6},
        {TKind::Resize, 3}, {TKind::Close, 1},  {TKind::Wait, 4},
    };
    Profile.Keys = {"F2",     "Escape",    "Return", "Tab",  "shift+Tab", "Up",   "Down",
                    "Left",   "Right",     "Home",   "End",  "Prior",     "Next", "space",
                    "Delete", "BackSpace", "ctrl+z", "Menu", "shift+F10"};
    return Profile;
}

TProfile TProfile::Designer() {
    TProfile Profile;
    Profile.Weights = {
        {TKind::Move, 20},  {TKind::Click, 20}, {TKind::DoubleClick, 6}, {TKind::RightClick, 4},
        {TKind::Drag, 10},  {TKind::Wheel, 3},  {TKind::Key, 18},        {TKind::Type, 7},
        {TKind::Resize, 2}, {TKind::Close, 2},  {TKind::Wait, 2},        {TKind::Save, 2},
        {TKind::Reopen, 1},
    };
    Profile.Keys = {"F2",          "Escape",   "Return", "Tab",      "shift+Tab",  "Up",
                    "Down",        "Left",     "Right",  "shift+Up", "shift+Down", "shift+Left",
                    "shift+Right", "Home",     "End",    "Delete",   "BackSpace",  "space",
                    "ctrl+z",      "ctrl+z",   "ctrl+c", "ctrl+x",   "ctrl+v",     "ctrl+n",
                    "Menu",        "shift+F10"};
    return Profile;
}

TEvent NextEvent(std::mt19937_64& Random, const std::vector<TWindowView>& Windows,
                 const TProfile& Profile) {
    std::array<std::uint64_t, 8> V;
    for (std::uint64_t& Value : V) Value = Random();

    TEvent Event;
    int Total = 0;
    for (const TProfile::TWeight& W : Profile.Weights) Total += W.Weight;
    if (Total <= 0) return Event;
    int Pick = static_cast<int>(V[0] % static_cast<std::uint64_t>(Total));
    for (const TProfile::TWeight& W : Profile.Weights) {
        if (Pick < W.Weight) {
            Event.Kind = W.Kind;
            break;
        }
        Pick -= W.Weight;
    }

    // Popups take most of the point events while they are open: they are
    // where a user's next click goes. Resizing and closing aim at framed
    // windows only.
    std::vector<const TWindowView*> Framed, Popups;
    for (const TWindowView& W : Windows) (W.Popup ? Popups : Framed).push_back(&W);
    const bool Framing = Event.Kind == TKind::Resize || Event.Kind == TKind::Close;
    const bool ToPopup =
        !Framing && !Popups.empty() && static_cast<int>(V[1] % 100) < Profile.PopupShare;
    const std::vector<const TWindowView*>& From = ToPopup ? Popups : Framed;
    const bool NeedsWindow = AimsAtPoint(Event.Kind) || Framing;
    if (NeedsWindow && From.empty()) {
        Event = TEvent{};
        Event.Kind = TKind::Wait;
        Event.Count = 20 + static_cast<int>(V[6] % 480);
        return Event;
    }
    if (NeedsWindow) {
        const TWindowView& W = *From[(V[1] / 100) % From.size()];
        Event.Window = WindowName(W);
        const auto Within = [](std::uint64_t Value, int Size) {
            return Size > 0 ? static_cast<int>(Value % static_cast<std::uint64_t>(Size)) : 0;
        };
        if (AimsAtPoint(Event.Kind)) {
            Event.X = Within(V[2], W.Width);
            Event.Y = Within(V[3], W.Height);
        }
        if (Event.Kind == TKind::Drag) {
            Event.X2 = Within(V[4], W.Width);
            Event.Y2 = Within(V[5], W.Height);
        }
    }
    switch (Event.Kind) {
    case TKind::Drag:
        Event.Count = 1 + static_cast<int>(V[6] % 8);
        break;
    case TKind::Wheel:
        Event.Count = (1 + static_cast<int>(V[6] % 3)) * ((V[6] >> 8) & 1 ? 1 : -1);
        break;
    case TKind::Wait:
        Event.Count = 20 + static_cast<int>(V[6] % 480);
        break;
    case TKind::Resize:
        Event.X2 = 200 + static_cast<int>(V[4] % 900);
        Event.Y2 = 150 + static_cast<int>(V[5] % 650);
        break;
    case TKind::Key:
        if (!Profile.Keys.empty()) Event.Text = Profile.Keys[V[7] % Profile.Keys.size()];
        break;
    case TKind::Type: {
        const int Length = 1 + static_cast<int>(V[7] & 7);
        for (int I = 0; I < Length; ++I) Event.Text += Alphabet[(V[7] >> (3 + 6 * I)) & 63];
        break;
    }
    default:
        break;
    }
    return Event;
}

std::string FormatEvent(const TEvent& Event) {
    std::ostringstream Out;
    Out << WordOf(Event.Kind);
    switch (Event.Kind) {
    case TKind::Move:
    case TKind::Click:
    case TKind::DoubleClick:
    case TKind::RightClick:
        Out << ' ' << Quote(Event.Window) << ' ' << Event.X << ' ' << Event.Y;
        break;
    case TKind::Drag:
        Out << ' ' << Quote(Event.Window) << ' ' << Event.X << ' ' << Event.Y << ' ' << Event.X2
            << ' ' << Event.Y2 << ' ' << Event.Count;
        break;
    case TKind::Wheel:
        Out << ' ' << Quote(Event.Window) << ' ' << Event.X << ' ' << Event.Y << ' ' << Event.Count;
        break;
    case TKind::Key:
        Out << ' ' << Event.Text;
        break;
    case TKind::Type:
        Out << ' ' << Quote(Event.Text);
        break;
    case TKind::Resize:
        Out << ' ' << Quote(Event.Window) << ' ' << Event.X2 << ' ' << Event.Y2;
        break;
    case TKind::Close:
        Out << ' ' << Quote(Event.Window);
        break;
    case TKind::Wait:
        Out << ' ' << Event.Count;
        break;
    case TKind::Save:
    case TKind::Reopen:
        break;
    }
    return Out.str();
}

std::optional<TEvent> ParseEvent(const std::string& Line) {
    std::vector<std::string> Words;
    if (!SplitWords(Line, Words) || Words.empty()) return std::nullopt;
    TEvent Event;
    bool Known = false;
    for (const TKindName& Name : KindNames)
        if (Words[0] == Name.Word) {
            Event.Kind = Name.Kind;
            Known = true;
        }
    if (!Known) return std::nullopt;
    // The numbers each kind takes after its window, and where they go.
    std::vector<int*> Numbers;
    bool HasWindow = false;
    switch (Event.Kind) {
    case TKind::Move:
    case TKind::Click:
    case TKind::DoubleClick:
    case TKind::RightClick:
        HasWindow = true;
        Numbers = {&Event.X, &Event.Y};
        break;
    case TKind::Drag:
        HasWindow = true;
        Numbers = {&Event.X, &Event.Y, &Event.X2, &Event.Y2, &Event.Count};
        break;
    case TKind::Wheel:
        HasWindow = true;
        Numbers = {&Event.X, &Event.Y, &Event.Count};
        break;
    case TKind::Resize:
        HasWindow = true;
        Numbers = {&Event.X2, &Event.Y2};
        break;
    case TKind::Close:
        HasWindow = true;
        break;
    case TKind::Wait:
        Numbers = {&Event.Count};
        break;
    case TKind::Key:
    case TKind::Type:
        if (Words.size() != 2 || Words[1].empty()) return std::nullopt;
        Event.Text = Words[1];
        return Event;
    case TKind::Save:
    case TKind::Reopen:
        break;
    }
    const size_t Expected = 1 + (HasWindow ? 1 : 0) + Numbers.size();
    if (Words.size() != Expected) return std::nullopt;
    size_t Next = 1;
    if (HasWindow) Event.Window = Words[Next++];
    for (int* Field : Numbers) {
        const std::optional<int> Value = Number(Words[Next++]);
        if (!Value) return std::nullopt;
        *Field = *Value;
    }
    return Event;
}

} // namespace monkey
